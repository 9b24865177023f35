// The HTML system report: chains built by hand, filled as the readers would,
// and the exact bytes of the report written for them.
#include "output/html_escape.h"
#include "output/html_report.h"
#include "tests/support/chain_builder.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kStyle =
    "<style>\n"
    "<!--\n"
    "  h2  {font-size:100%; font-family: Verdana, Arial, Helvetica; font-weight: bold}\n"
    "  h3  {font-size: 80%; font-family: Verdana, Arial, Helvetica; font-weight: bold}\n"
    "  td  {font-size: 60%; font-family: Verdana, Arial, Helvetica;}\n"
    "  img {margin-top: 5px;}\n"
    "-->\n"
    "</style>\n"
    "\n";
const std::string kTitle = "<h2>System Report <img src='img_00.bmp'></h2>\n\n";
const std::string kTable =
    "<table border=1 cellspacing=0 cellpadding=3 style='border-collapse: collapse' bordercolor='#808080' "
    "width='100%'>\n";
const std::string kEnd = "</table>\n\n";

// The report for the test's chain, naming the computer when given one.
class HtmlReport : public ::testing::Test {
protected:
    std::string report(const Text& computer = {})
    {
        write_report(path, chain_.get(), computer);
        return read_file_bytes(path);
    }
    std::unique_ptr<QueryList>& chain() { return chain_; }

    TestFolder folder;
    std::string path = folder.path("polrix.htm");

private:
    std::unique_ptr<QueryList> chain_;
};

TEST_F(HtmlReport, WithoutDataHoldsStyleAndTitleOnly)
{
    add_item(add_list(chain(), nullptr, 0, 1, 1), "NoListName", {"v"});
    add_list(chain(), "NoItems", 17, 1, 0);
    QueryList& empty_first = add_list(chain(), "Win32_Bios", 2, 3, 2);  // rows say 3, first item has none
    add_item(empty_first, "Manufacturer", {});
    add_item(empty_first, "Version", {"1", "2", "3"});

    EXPECT_EQ(report(), crlf(kStyle + kTitle));
}

TEST_F(HtmlReport, TitleNamesTheComputerWhenKnown)
{
    EXPECT_EQ(report("PC-17"), crlf(kStyle + "<h2>System Report for PC-17 <img src='img_00.bmp'></h2>\n\n"));
}

TEST_F(HtmlReport, HeadingsCarryAnchorsAndIconsOfKnownWmiClassesOnly)
{
    add_item(add_list(chain(), "Win32_Processor", 3, 1, 1), "Name", {"cpu"});
    add_item(add_list(chain(), "Win32_Bios", 2, 1, 1, false, true), "Version", {"reg"});  // registry list, ID 2
    add_item(add_list(chain(), "Other", 17, 1, 1), "Name", {"other"});                    // WMI, ID 17
    QueryList& product = add_list(chain(), "Win32_Product", 16, 1, 1);
    product.disp = "Installed software";
    add_item(product, "Name", {"p"});

    const std::string row = "  <tr>\n    <td bgcolor='#f0f0f0' width='20%'>";
    EXPECT_EQ(report(),
              crlf(kStyle + kTitle + "<h3><a name='003'></a>Win32_Processor <img src='img_03.bmp'></h3>\n\n" +
                   kTable + row + "Name</td>\n    <td>cpu</td>\n  </tr>\n" + kEnd +
                   "<h3><a name='002'></a>Win32_Bios</h3>\n\n" + kTable + row +
                   "Version</td>\n    <td>reg</td>\n  </tr>\n" + kEnd + "<h3><a name='017'></a>Other</h3>\n\n" +
                   kTable + row + "Name</td>\n    <td>other</td>\n  </tr>\n" + kEnd +
                   "<h3><a name='016'></a>Installed software <img src='img_16.bmp'></h3>\n\n" + kTable + row +
                   "Name</td>\n    <td>p</td>\n  </tr>\n" + kEnd));
}

TEST_F(HtmlReport, AttributeLayoutForOneRowOrNone)
{
    for (int rows : {1, 0}) {
        SCOPED_TRACE(rows);
        free_lists(chain());
        QueryList& list = add_list(chain(), "Win32_OperatingSystem", 15, rows, 6);
        add_item(list, "Caption", {"Windows"});
        add_item(list, "Cleared", {"x"}).valid = 0;        // empty value cell
        add_item(list, "Unticked", {"y"}).checked = 0;     // no row
        add_item(list, nullptr, {"z"}).disp = "Nameless";  // no row
        add_item(list, "Empty", {""});
        add_item(list, "BuildNumber", {"7601"}).disp = "Build";

        const std::string title = "    <td bgcolor='#f0f0f0' width='20%'>";
        EXPECT_EQ(report(), crlf(kStyle + kTitle +
                                 "<h3><a name='015'></a>Win32_OperatingSystem <img src='img_15.bmp'></h3>\n\n" +
                                 kTable + "  <tr>\n" + title +
                                 "Caption</td>\n    <td>Windows</td>\n  </tr>\n"
                                 "  <tr>\n" +
                                 title +
                                 "Cleared</td>\n    <td></td>\n  </tr>\n"
                                 "  <tr>\n" +
                                 title +
                                 "Empty</td>\n    <td></td>\n  </tr>\n"
                                 "  <tr>\n" +
                                 title + "Build</td>\n    <td>7601</td>\n  </tr>\n" + kEnd));
    }
}

TEST_F(HtmlReport, TableLayoutDropsUncheckedColumnsInHeaderAndEveryRow)
{
    QueryList& disks = add_list(chain(), "Win32_LogicalDisk", 7, 2, 5);
    add_item(disks, "DeviceID", {"C:", "D:"});
    add_item(disks, "Size", {"100", "200"}).checked = 0;
    add_item(disks, "FreeSpace", {"10", "20"}).disp = "Free";
    add_item(disks, "VolumeName", {"sys", "data"}).valid = 0;
    add_item(disks, nullptr, {"n1", "n2"});
    add_item(disks, "BeyondItemCount", {"b1", "b2"});

    EXPECT_EQ(report(),
              crlf(kStyle + kTitle + "<h3><a name='007'></a>Win32_LogicalDisk <img src='img_07.bmp'></h3>\n\n" +
                   kTable +
                   "  <tr>\n"
                   "    <td bgcolor='#f0f0f0'>DeviceID</td>\n"
                   "    <td bgcolor='#f0f0f0'>Free</td>\n"
                   "    <td bgcolor='#f0f0f0'>VolumeName</td>\n"
                   "    <td bgcolor='#f0f0f0'></td>\n"
                   "  </tr>\n"
                   "  <tr>\n    <td>C:</td>\n    <td>10</td>\n    <td></td>\n    <td>n1</td>\n  </tr>\n"
                   "  <tr>\n    <td>D:</td>\n    <td>20</td>\n    <td></td>\n    <td>n2</td>\n  </tr>\n" +
                   kEnd));
}

TEST_F(HtmlReport, TableLayoutWithNamelessFirstItemIsAnEmptyTable)
{
    QueryList& list = add_list(chain(), "Key", 17, 2, 2, false, true);
    add_item(list, nullptr, {"a", "b"});
    add_item(list, "Value", {"1", "2"});
    EXPECT_EQ(report(), crlf(kStyle + kTitle + "<h3><a name='017'></a>Key</h3>\n\n" + kTable + kEnd));
}

TEST_F(HtmlReport, TextsFromTheMachineAreEscapedAndTheMarkupIsNot)
{
    QueryList& attr = add_list(chain(), "Win32_Bios", 2, 1, 1);
    attr.disp = "<i>Bios</i>";
    add_item(attr, "Name", {"<script>alert('x')</script>"}).disp = "\"Name\"";
    QueryList& table = add_list(chain(), "Win32_LogicalDisk", 7, 2, 2);
    add_item(table, "DeviceID", {"C:", "D:"});
    add_item(table, "Vol&Name", {"it's", "<b>"});

    EXPECT_EQ(report("A&B<x>"),
              crlf(kStyle + "<h2>System Report for A&amp;B&lt;x&gt; <img src='img_00.bmp'></h2>\n\n" +
                   "<h3><a name='002'></a>&lt;i&gt;Bios&lt;/i&gt; <img src='img_02.bmp'></h3>\n\n" + kTable +
                   "  <tr>\n    <td bgcolor='#f0f0f0' width='20%'>&quot;Name&quot;</td>\n"
                   "    <td>&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;</td>\n  </tr>\n" +
                   kEnd + "<h3><a name='007'></a>Win32_LogicalDisk <img src='img_07.bmp'></h3>\n\n" + kTable +
                   "  <tr>\n    <td bgcolor='#f0f0f0'>DeviceID</td>\n"
                   "    <td bgcolor='#f0f0f0'>Vol&amp;Name</td>\n  </tr>\n"
                   "  <tr>\n    <td>C:</td>\n    <td>it&#39;s</td>\n  </tr>\n"
                   "  <tr>\n    <td>D:</td>\n    <td>&lt;b&gt;</td>\n  </tr>\n" +
                   kEnd));
}

TEST(HtmlEscape, WritesTheFiveCharactersAsReferences)
{
    EXPECT_EQ(html_escape("a&b<c>d\"e'f"), "a&amp;b&lt;c&gt;d&quot;e&#39;f");
    EXPECT_EQ(html_escape("&amp;"), "&amp;amp;");
    EXPECT_EQ(html_escape(std::string("x\0y\xe4", 4)), std::string("x\0y\xe4", 4));
}

TEST_F(HtmlReport, UnopenableReportWritesNothing)
{
    path = folder.dir() + "/no such folder/polrix.htm";
    EXPECT_TRUE(report().empty());
}

}  // namespace
