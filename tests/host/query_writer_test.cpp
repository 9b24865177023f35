// The query file writers: the default file byte for byte and as the reader
// reads it back, the never-overwrite rule, and saved queries with and
// without a selection, read back by the reader.
#include "inventory/inventory.h"
#include "config/query_reader.h"
#include "config/query_writer.h"
#include "tests/support/chain_builder.h"
#include "tests/support/chain_dump.h"
#include "tests/support/test_inventory.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> kClasses(std::begin(KNOWN_CLASS_NAMES), std::end(KNOWN_CLASS_NAMES));

std::unique_ptr<QueryList> read_back(const std::string& path)
{
    std::unique_ptr<QueryList> chain;
    std::string error;
    EXPECT_TRUE(read_query_file(path, chain, error)) << error;
    number_lists(chain.get(), kClasses);
    return chain;
}

TEST(DefaultQueries, AreTheExampleFileByteForByte)
{
    TestFolder folder;
    std::string path = folder.path("polrix.xml");
    ASSERT_TRUE(write_default_queries(path, kClasses));
    EXPECT_EQ(read_file_bytes(path), read_file_bytes(POLRIX_SOURCE_DIR "/examples/polrix.xml"));

    std::unique_ptr<QueryList> chain = read_back(path);
    std::string expected;
    for (size_t k = 0; k < kClasses.size(); ++k)
        expected += "list " + std::to_string(k + 1) + " WMI path=[root\\CIMV2] name=[" + kClasses[k] +
                    "]\n  item name=[*]\n";
    expected +=
        "list 17 REG EnumKey path=[HKLM] name=[SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall]\n"
        "  item name=[Entry]\n  item name=[DisplayName]\n  item name=[DisplayVersion]\n";
    for_each_list(chain.get(), [](QueryList& l) { l.pending = 1; });
    EXPECT_EQ(dump(chain.get()), expected);
}

TEST(DefaultQueries, NeverReplaceAFileThatExists)
{
    TestFolder folder;
    for (const std::string& old : {std::string(), std::string("<config>\r\n</config>\r\n")}) {
        std::string path = folder.path("polrix.xml");
        write_file_bytes(path, old);
        EXPECT_FALSE(write_default_queries(path, kClasses));
        EXPECT_EQ(read_file_bytes(path), old);
    }
    EXPECT_FALSE(write_default_queries(folder.dir() + "/no such folder/polrix.xml", kClasses));
}

// A query file with every list and item text, read as the window reads it.
class SavedQueries : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("QFO_WRITER_DRIVE", "3", 1);
        write_file_bytes(folder.path("in.xml"),
                         crlf("<config>\n"
                              "  <list>\n     <typ>WMI</typ>\n     <path>root\\CIMV2</path>\n"
                              "     <name>Win32_LogicalDisk</name>\n     <disp>Disks</disp>\n"
                              "     <filt>WHERE DriveType=</filt>\n     <var>%QFO_WRITER_DRIVE%</var>\n"
                              "     <item>\n        <name>*</name>\n        <disp>All</disp>\n"
                              "        <filt>GB</filt>\n     </item>\n  </list>\n"
                              "  <list>\n     <typ>REG</typ>\n     <cmd>EnumKey</cmd>\n     <path>HKLM</path>\n"
                              "     <name>SOFTWARE\\Apps</name>\n"
                              "     <item>\n        <name>DisplayName</name>\n     </item>\n"
                              "     <item>\n        <name>DisplayVersion</name>\n        <disp>Version</disp>\n"
                              "     </item>\n  </list>\n"
                              "</config>\n"));
        chain = read_back(folder.path("in.xml"));
    }
    void TearDown() override { unsetenv("QFO_WRITER_DRIVE"); }

    // What reading the WMI list does to its "*" item: the first property
    // takes its place, the others follow.
    void expand_disk_list()
    {
        QueryList& disks = *chain;
        disks.first_item->name = "DeviceID";
        for (const char* name : {"Size", "FreeSpace", "VolumeName", "FileSystem"})
            add_item(disks, name, {});
        disks.pending = 0;
    }

    std::string saved()
    {
        EXPECT_TRUE(save_queries(folder.path("out.xml"), chain.get()));
        return read_file_bytes(folder.path("out.xml"));
    }

    TestFolder folder;
    std::unique_ptr<QueryList> chain;
};

TEST_F(SavedQueries, WithoutASelectionKeepWhatTheFileAskedFor)
{
    const std::string before = dump(chain.get());
    expand_disk_list();
    EXPECT_EQ(saved(), crlf("<config>\n"
                            "  <list>\n     <typ>WMI</typ>\n     <path>root\\CIMV2</path>\n"
                            "     <name>Win32_LogicalDisk</name>\n     <disp>Disks</disp>\n"
                            "     <filt>WHERE DriveType=</filt>\n     <var>%QFO_WRITER_DRIVE%</var>\n"
                            "    <item>\n      <name>*</name>\n      <disp>All</disp>\n      <filt>GB</filt>\n"
                            "    </item>\n  </list>\n\n"
                            "  <list>\n     <typ>REG</typ>\n     <cmd>EnumKey</cmd>\n     <path>HKLM</path>\n"
                            "     <name>SOFTWARE\\Apps</name>\n"
                            "    <item>\n      <name>DisplayName</name>\n    </item>\n"
                            "    <item>\n      <name>DisplayVersion</name>\n      <disp>Version</disp>\n"
                            "    </item>\n  </list>\n\n"
                            "</config>\n"));
    // Read back, the saved file gives the chain the first file gave.
    EXPECT_EQ(dump(read_back(folder.path("out.xml")).get()), before);
}

TEST_F(SavedQueries, WithASelectionHoldTheTickedItemsInListOrder)
{
    expand_disk_list();
    QueryList& disks = *chain;
    disks.selection_made = 1;
    int k = 0;
    for_each_item(disks, [&](QueryItem& item) {
        item.checked = (k == 1 || k == 3);
        ++k;
    });
    QueryList& apps = *disks.next;
    apps.selection_made = 1;
    for_each_item(apps, [](QueryItem& item) { item.checked = 0; });

    std::unique_ptr<QueryList> back = (saved(), read_back(folder.path("out.xml")));
    EXPECT_EQ(
        dump(back.get()),
        "list 7 WMI path=[root\\CIMV2] name=[Win32_LogicalDisk] disp=[Disks] filt=[WHERE DriveType=] var=[3] "
        "written=[%QFO_WRITER_DRIVE%]\n"
        "  item name=[Size]\n  item name=[VolumeName]\n"
        "list 17 REG EnumKey path=[HKLM] name=[SOFTWARE\\Apps]\n");
}

TEST(SavedQueriesOf, HandMadeListsWriteOnlyTheTextsTheyHave)
{
    TestFolder folder;
    std::unique_ptr<QueryList> chain;
    QueryList& both = add_list(chain, nullptr, 0, 0, 0, true, true);
    both.enum_values = 1;
    both.selection_made = 1;
    add_item(both, nullptr, {});
    ASSERT_TRUE(save_queries(folder.path("out.xml"), chain.get()));
    EXPECT_EQ(read_file_bytes(folder.path("out.xml")),
              crlf("<config>\n  <list>\n     <typ>WMI</typ>\n     <typ>REG</typ>\n     <cmd>EnumVal</cmd>\n"
                   "    <item>\n    </item>\n  </list>\n\n</config>\n"));
    EXPECT_FALSE(save_queries(folder.dir() + "/no such folder/out.xml", chain.get()));
}

}  // namespace
