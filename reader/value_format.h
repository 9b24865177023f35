// WMI values as the program shows them: one text per value, chosen by the
// value's type and, for numbers and dates, by the item's filt (a unit KB, MB,
// GB, TB or a date layout Date, DateTime, any letter case).
//
// The text itself is a pure function of filt and value (value_text); the
// show_ functions append it to the item's texts and write the log line.
#pragma once

#include "config/query_list.h"
#include "reader/wmi_service.h"

#include <string>
#include <vector>

// The text of a value that is not an array, before the filt is applied.
std::string scalar_text(const WmiValue& value);

// The text of one fetched element of an array of the given type (the
// VARIANT type with its array bit), its trailing blank included; empty for
// element types that are not shown.
std::string element_text(uint16_t array_type, const WmiArrayElement& element);

// The elements' texts one after the other; the result codes of the elements
// that could not be fetched (and are left out) go to failed_elements.
std::string array_text(const WmiValue& value, std::vector<HResult>* failed_elements);

// Unit scaling and date layouts, on a scalar text. An empty text, no filt
// or another filt leaves the text as it is.
std::string apply_filt(const Text& filt, std::string text);

// The text show_value appends: arrays as array_text, scalars as scalar_text
// with the filt applied.
std::string value_text(const Text& filt, const WmiValue& value, std::vector<HResult>* failed_elements = nullptr);

// The log line of one value text: "    name = text".
std::string entry_log_line(const Text& name, const std::string& entry);
// The log line of an array element that could not be fetched.
std::string element_error_line(HResult code);

// Appends one value text to the item's values (the next row's) and logs it
// as "name = text". Every reader adds its texts this way.
void append_entry(QueryItem& item, std::string entry);

// Appends the value's text to the item's values and logs "name = text".
// Both return 0.
int show_value(QueryItem& item, const WmiValue& value);
// The same for an array value; its failed elements are logged one by one.
int show_arry(QueryItem& item, const WmiValue& value);
