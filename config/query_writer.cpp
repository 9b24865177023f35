#include "config/query_writer.h"

#include "base/text_file.h"

namespace {

// One tag line: indentation, the tag, the value, the closing tag. A text
// that is none gives no line (an empty one gives an empty value).
void write_tag(TextFile& out, const char* indent, const char* tag, const Text& value)
{
    if (value)
        out.write(std::string(indent) + "<" + tag + ">" + *value + "</" + tag + ">\n");
}

void write_saved_item(TextFile& out, const Text& name, const Text& disp, const Text& filt)
{
    out.write("    <item>\n");
    write_tag(out, "      ", "name", name);
    write_tag(out, "      ", "disp", disp);
    write_tag(out, "      ", "filt", filt);
    out.write("    </item>\n", true);
}

void write_saved_list(TextFile& out, QueryList& list)
{
    const char* in = "     ";
    out.write("  <list>\n");
    if (list.is_wmi)
        out.write("     <typ>WMI</typ>\n");
    if (list.is_reg)
        out.write("     <typ>REG</typ>\n");
    if (list.enum_keys)
        out.write("     <cmd>EnumKey</cmd>\n");
    if (list.enum_values)
        out.write("     <cmd>EnumVal</cmd>\n");
    write_tag(out, in, "path", list.path);
    write_tag(out, in, "name", list.name);
    write_tag(out, in, "disp", list.disp);
    write_tag(out, in, "filt", list.filt);
    write_tag(out, in, "var", list.var_as_written);
    out.flush();
    if (list.selection_made) {
        // The user's choice: the ticked items, a list with none ticked
        // gets no item.
        for_each_item(list, [&](QueryItem& item) {
            if (item.checked)
                write_saved_item(out, item.name, item.disp, item.filt);
        });
    } else {
        // No choice made: what the query file asked for, so that reading
        // the saved file reads the same ("*" stays "*", named values stay
        // named).
        for (const ItemAsWritten& item : list.items_as_written)
            write_saved_item(out, item.name, item.disp, item.filt);
    }
    out.write("  </list>\n\n", true);
}

}  // namespace

bool write_default_queries(const std::string& path, const std::vector<std::string>& class_names)
{
    TextFile out;
    if (out.open(path, 'r'))
        return false;  // never overwrites a query file, whatever it holds
    if (!out.open(path, 'w'))
        return false;
    out.write("<config>\n");
    for (const std::string& name : class_names) {
        out.write(
            "  <list>\n"
            "     <typ>WMI</typ>\n"
            "     <path>root\\CIMV2</path>\n"
            "     <name>" +
                name +
                "</name>\n"
                "     <item>\n"
                "        <name>*</name>\n"
                "     </item>\n"
                "  </list>\n\n",
            true);
    }
    // The installed software: the first item of a key list holds the
    // subkey's name, so "Entry" stands for the entry's key and the program's
    // name and version follow it as values of that key.
    out.write(
        "  <list>\n"
        "     <typ>REG</typ>\n"
        "     <cmd>EnumKey</cmd>\n"
        "     <path>HKLM</path>\n"
        "     <name>SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall</name>\n"
        "     <item>\n"
        "        <name>Entry</name>\n"
        "     </item>\n"
        "     <item>\n"
        "        <name>DisplayName</name>\n"
        "     </item>\n"
        "     <item>\n"
        "        <name>DisplayVersion</name>\n"
        "     </item>\n"
        "  </list>\n\n",
        true);
    out.write("</config>\n");
    return true;
}

bool save_queries(const std::string& path, QueryList* first)
{
    TextFile out;
    if (!out.open(path, 'w'))
        return false;
    out.write("<config>\n");
    for_each_list(first, [&](QueryList& list) { write_saved_list(out, list); });
    out.write("</config>\n");
    return true;
}
