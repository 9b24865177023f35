// The inventory object: its start and end in the log, and the batch run.
// What each step writes is tested in batch_steps_test.cpp and in the tests
// of the core it calls.
#include "inventory/inventory.h"

#include "base/log.h"
#include "base/platform_host.h"
#include "base/registry_store.h"
#include "tests/support/chain_builder.h"
#include "tests/support/recording_window_side.h"
#include "tests/support/test_inventory.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

namespace {

class InventoryTest : public ::testing::Test {
protected:
    void SetUp() override { regstore::clear(); }
    void TearDown() override
    {
        regstore::clear();
        platform::host::set_version(6, 1);
        set_report_pictures_writer(nullptr);
    }
};

TEST_F(InventoryTest, LogStartsWithItsHeaderAndTheConstructorLines)
{
    platform::host::set_version(5, 1);
    TestInventory t;
    EXPECT_EQ(t.inventory().gui.win_major, 5);
    EXPECT_EQ(t.log(),
              "Logfile created by polrix.exe:\n"
              "Windows Version: 5.1\n"
              "CGUI::CGUI () OK ...\n"
              "CWMI::CWMI () OK ...\n");
    EXPECT_EQ(read_file_bytes(t.path("polrix.log")).substr(0, 31), "Logfile created by polrix.exe:\r")
        << "CR LF line ends";
}

TEST_F(InventoryTest, EndFreesTheChainAndWritesTheDestructorLinesInReverseOrder)
{
    TestInventory t;
    std::string path = t.path("polrix.log");
    auto l = init_list();
    append_item(*l, init_item())->values.push_back("v");
    append_list(t.inventory().first_list, std::move(l));
    t.inventory().end();
    EXPECT_EQ(t.inventory().first_list, nullptr);
    t.inventory().~Inventory();
    std::string log = without_cr(read_file_bytes(path));
    const std::string tail =
        "CWMI::CWMI () OK ...\n"
        "CWMI::~CWMI () OK ...\n"
        "CGUI::~CGUI () OK ...\n";
    ASSERT_GE(log.size(), tail.size());
    EXPECT_EQ(log.substr(log.size() - tail.size()), tail);
    // A second start empties the log: only its own lines remain.
    new (&t.inventory()) Inventory();
    EXPECT_EQ(t.log().find("~"), std::string::npos);
}

TEST_F(InventoryTest, BatchRunWithoutQueryFileEndsWith100)
{
    TestInventory t;
    EXPECT_EXIT(t.inventory().run_batch(), ::testing::ExitedWithCode(100),
                regex_quote("Could not open file: " + t.inventory().cfg_path));
}

void log_pictures(const std::string& folder) { write_log("pictures in %s\n", folder.c_str()); }

int g_forgotten = 0;
void count_forgetting() { ++g_forgotten; }

TEST_F(InventoryTest, OpeningAWrongFileKeepsTheListsAndAGoodOneReplacesThem)
{
    TestInventory t;
    Inventory& inventory = t.inventory();
    write_file_bytes(inventory.cfg_path,
                     "<config>\r\n  <list>\r\n     <typ>WMI</typ>\r\n"
                     "     <name>Win32_Bios</name>\r\n  </list>\r\n</config>\r\n");
    inventory.read_config();
    QueryList* const before = inventory.first_list.get();
    const std::string path_before = inventory.cfg_path;
    RecordingWindowSide window(true);
    g_forgotten = 0;

    // A file that cannot be opened and one with a malformed line: the box,
    // and everything as it was.
    const std::string malformed = t.path("malformed.xml");
    write_file_bytes(malformed, "<config>\r\n  <list>\r\n     <name>Win32_Bios</nam>\r\n</config>\r\n");
    for (const std::string& wrong : {t.path("missing.xml"), malformed}) {
        EXPECT_FALSE(inventory.open_config(wrong, count_forgetting)) << wrong;
        EXPECT_EQ(inventory.first_list.get(), before) << wrong;
        EXPECT_EQ(inventory.cfg_path, path_before) << wrong;
    }
    const std::vector<std::string> boxes = window.stop_boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0], "Could not open file: " + t.path("missing.xml"));
    EXPECT_EQ(boxes[1].rfind("Invalid </name> Configuration in line", 0), 0u) << boxes[1];
    EXPECT_EQ(g_forgotten, 0) << "nothing was forgotten";

    // A good file: the window forgets what it shows, the new chain takes the
    // place of the old one, numbered, with the step's log line.
    const std::string good = t.path("good.xml");
    write_file_bytes(good,
                     "<config>\r\n  <list>\r\n     <typ>WMI</typ>\r\n"
                     "     <name>Win32_Processor</name>\r\n  </list>\r\n</config>\r\n");
    EXPECT_TRUE(inventory.open_config(good, count_forgetting));
    EXPECT_EQ(g_forgotten, 1);
    EXPECT_EQ(inventory.cfg_path, good);
    ASSERT_NE(inventory.first_list, nullptr);
    EXPECT_EQ(inventory.first_list->name, std::optional<std::string>("Win32_Processor"));
    EXPECT_EQ(inventory.first_list->id, 3);
    EXPECT_EQ(inventory.first_list->next, nullptr);
    EXPECT_EQ(window.stop_boxes().size(), 2u) << "no box for a good file";
}

TEST_F(InventoryTest, BatchRunWritesThePicturesAfterTheReportAndBeforeTheExport)
{
    for (bool with_writer : {true, false}) {
        set_report_pictures_writer(with_writer ? log_pictures : nullptr);
        TestInventory t;
        write_file_bytes(t.inventory().cfg_path, crlf("<list>\n<name>first</name>\n"));
        t.inventory().run_batch();
        const std::string pictures = "pictures in " + t.dir() + "\n";
        const std::string steps =
            "mapp::OnRCFG () OK ...\n"
            "mapp::OnRWMI () OK ...\n"
            "mapp::OnSWMI () OK ...\n" +
            (with_writer ? pictures : std::string()) + "mapp::OnLWMI () OK ...\n";
        EXPECT_NE(t.log().find(steps), std::string::npos) << t.log();
        EXPECT_NE(read_file_bytes(t.inventory().txt_path), "") << "the export";
        EXPECT_NE(read_file_bytes(t.inventory().gui.htm_path), "") << "the report";
    }
}

TEST_F(InventoryTest, TheInstalledInventoryIsTheOneTheWindowsReach)
{
    TestInventory t;
    EXPECT_EQ(&inventory(), &t.inventory());
}

}  // namespace
