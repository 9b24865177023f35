// The query file reader: turns a query file into the chain of query lists.
//
// The file is line-oriented text with XML-like tags, one tag per line; it is
// not parsed as XML. A line starting with ";" is a comment, a "<list>" line
// starts a list, an "<item>" line an item of the current list, and the tags
// <typ> <cmd> <path> <name> <disp> <filt> <var> (list section) and
// <name> <disp> <filt> (items) give their values.
//
// Reading ends nothing: on an error the caller shows the message (the batch
// run and the window end the process with exit code 100).
#pragma once

#include "config/query_list.h"

#include <memory>
#include <optional>
#include <string>

// Takes the value of a tag line: the text from after the line's first ">" to
// before its last "<". The closing tag that the line must hold is derived from
// its first tag ("<name>" gives "</name>"). On success the line itself is cut
// at its last "<" (the later searches of the same line see the shorter line)
// and the value is returned. On a malformed line the line is left alone,
// error receives the message to show and none is returned.
std::optional<std::string> tag_value(std::string& line, std::string& error);

// Reads the query file at path and appends its lists to the chain that begins
// at first (numbering them is the caller's business). Returns true when the
// whole file was read; otherwise error holds the message to show, and the
// lists read so far stay in the chain.
bool read_query_file(const std::string& path, std::unique_ptr<QueryList>& first, std::string& error);
