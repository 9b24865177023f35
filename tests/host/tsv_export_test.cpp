// The tab-separated export: chains built by hand, filled as the readers
// would, and the exact bytes written for them.
#include "output/tsv_export.h"
#include "tests/support/chain_builder.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kHeader = "Page\tList\tGroup\tItem\tValue\n";

class TsvExport : public ::testing::Test {
protected:
    std::string exported()
    {
        EXPECT_TRUE(write_export(path, chain_.get()));
        return read_file_bytes(path);
    }
    std::unique_ptr<QueryList>& chain() { return chain_; }

    TestFolder folder;
    std::string path = folder.path("polrix.txt");

private:
    std::unique_ptr<QueryList> chain_;
};

TEST_F(TsvExport, HeaderOnlyWithoutRowsAndReplacesAnOldFile)
{
    write_file_bytes(path, "old content that is longer than the header line\r\n");
    add_item(add_list(chain(), "NoRows", 17, 0, 1), "Name", {"v"});
    add_item(add_list(chain(), nullptr, 0, 1, 1), "Name", {"unnamed list"});

    EXPECT_EQ(exported(), crlf(kHeader));
}

TEST_F(TsvExport, OneRowListPlaceholderOnlyAtPositionOne)
{
    QueryList& os = add_list(chain(), "Win32_OperatingSystem", 15, 1, 7);
    add_item(os, "Caption", {"Windows"});
    add_item(os, "Locale", {""});              // position 1, empty: placeholder
    add_item(os, "Organization", {""});        // position 2, empty: nothing
    add_item(os, "Cleared", {"x"}).valid = 0;  // never written
    add_item(os, nullptr, {"nameless"});       // never written
    QueryItem& unticked = add_item(os, "BuildNumber", {"7601"});
    unticked.checked = 0;     // check boxes play no part
    unticked.disp = "Build";  // nor do display names
    add_item(os, "Version", {"6.1"});
    add_item(os, "BeyondItemCount", {"no"});

    EXPECT_EQ(exported(), crlf(kHeader + "WMI\tWin32_OperatingSystem\t\tCaption\tWindows\n"
                                         "WMI\tWin32_OperatingSystem\t\tLocale\t-\n"
                                         "WMI\tWin32_OperatingSystem\t\tBuildNumber\t7601\n"
                                         "WMI\tWin32_OperatingSystem\t\tVersion\t6.1\n"));
}

TEST_F(TsvExport, OneRowListWithEmptyFirstValueWritesNothingForIt)
{
    QueryList& bios = add_list(chain(), "Win32_Bios", 2, 1, 2);
    add_item(bios, "Manufacturer", {""});
    add_item(bios, "Version", {"1.0"});
    EXPECT_EQ(exported(), crlf(kHeader + "WMI\tWin32_Bios\t\tVersion\t1.0\n"));
}

TEST_F(TsvExport, MultiRowListGroupsByTheFirstItem)
{
    QueryList& disks = add_list(chain(), "Win32_LogicalDisk", 7, 2, 2);
    add_item(disks, "DeviceID", {"C:", "D:"});
    add_item(disks, "FreeSpace", {"1000", "2000"});

    EXPECT_EQ(exported(), crlf(kHeader + "WMI\tWin32_LogicalDisk\tC:\tFreeSpace\t1000\n"
                                         "WMI\tWin32_LogicalDisk\tD:\tFreeSpace\t2000\n"));
}

TEST_F(TsvExport, MultiRowListRowByRowWithPlaceholderAtPositionOneOnly)
{
    QueryList& keys = add_list(chain(), "SOFTWARE\\Uninstall", 17, 3, 4, false, true);
    keys.enum_keys = 1;
    add_item(keys, "(KeyName)", {"App1", "", "App3"});
    add_item(keys, "DisplayName", {"One", "", ""});
    add_item(keys, "DisplayVersion", {"1.0", "", "3.0"});
    add_item(keys, "Publisher", {"", "", "Maker"});

    EXPECT_EQ(exported(), crlf(kHeader + "REG\tSOFTWARE\\Uninstall\tApp1\tDisplayName\tOne\n"
                                         "REG\tSOFTWARE\\Uninstall\tApp1\tDisplayVersion\t1.0\n"
                                         "REG\tSOFTWARE\\Uninstall\t\t-\t-\n"
                                         "REG\tSOFTWARE\\Uninstall\tApp3\t-\t-\n"
                                         "REG\tSOFTWARE\\Uninstall\tApp3\tDisplayVersion\t3.0\n"
                                         "REG\tSOFTWARE\\Uninstall\tApp3\tPublisher\tMaker\n"));
}

TEST_F(TsvExport, ListOfBothTypesIsRegistry)
{
    add_item(add_list(chain(), "Both", 17, 1, 1, true, true), "Value", {"v"});
    add_item(add_list(chain(), "Wmi", 18, 1, 1, true, false), "Value", {"w"});
    EXPECT_EQ(exported(), crlf(kHeader + "REG\tBoth\t\tValue\tv\nWMI\tWmi\t\tValue\tw\n"));
}

TEST_F(TsvExport, TabsAndLineBreaksInFieldsBecomeBlanks)
{
    QueryList& list = add_list(chain(), "Odd\tList", 17, 2, 2);
    add_item(list, "Group", {"g\t1", "g\r\n2"});
    add_item(list, "Item\nName", {"a\tb", "line1\r\nline2"});

    EXPECT_EQ(exported(), crlf(kHeader + "WMI\tOdd List\tg 1\tItem Name\ta b\n"
                                         "WMI\tOdd List\tg  2\tItem Name\tline1  line2\n"));
}

TEST_F(TsvExport, RowWithoutUsableFirstItemHasAnEmptyGroup)
{
    QueryList& first = add_list(chain(), "First", 17, 2, 2);
    add_item(first, "Key", {"G1", "G2"});
    add_item(first, "Value", {"a", "b"});
    QueryList& invalid = add_list(chain(), "InvalidFirst", 18, 2, 2);
    add_item(invalid, "Key", {"X1", "X2"}).valid = 0;
    add_item(invalid, "Value", {"c", "d"});
    QueryList& nameless = add_list(chain(), "NamelessFirst", 19, 2, 2);
    add_item(nameless, nullptr, {"Y1", "Y2"});
    add_item(nameless, "Value", {"e", ""});

    EXPECT_EQ(exported(), crlf(kHeader + "WMI\tFirst\tG1\tValue\ta\n"
                                         "WMI\tFirst\tG2\tValue\tb\n"
                                         "WMI\tInvalidFirst\t\tValue\tc\n"
                                         "WMI\tInvalidFirst\t\tValue\td\n"
                                         "WMI\tNamelessFirst\t\tValue\te\n"
                                         "WMI\tNamelessFirst\t\t-\t-\n"));
}

TEST_F(TsvExport, UnopenablePathIsAFailureThatWritesNothing)
{
    path = folder.dir() + "/no such folder/polrix.txt";
    add_item(add_list(chain(), "L", 17, 1, 1), "Name", {"v"});
    EXPECT_FALSE(write_export(path, chain().get()));
    EXPECT_TRUE(read_file_bytes(path).empty());
}

}  // namespace
