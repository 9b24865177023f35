// The inventory object: its start and end in the log, and the batch run.
// What each step writes is tested in batch_steps_test.cpp and in the tests
// of the core it calls.
#include "inventory/inventory.h"

#include "base/log.h"
#include "base/platform_host.h"
#include "base/registry_store.h"
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

std::string crlf(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

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
