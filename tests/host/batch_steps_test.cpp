// The inventory's report and export steps: where they write, what they
// take from the environment, their log lines and the export's failure end.
// What the files hold is tested in html_report_test.cpp and
// tsv_export_test.cpp.
#include "inventory/inventory.h"
#include "tests/support/chain_builder.h"
#include "tests/support/test_inventory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

class BatchSteps : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char* c = std::getenv("COMPUTERNAME"))
            saved_computer_ = c;
        add_item(add_list(t.inventory().first_list, "Win32_Bios", 2, 1, 1), "Version", {"1.0"});
    }
    void TearDown() override
    {
        if (saved_computer_)
            setenv("COMPUTERNAME", saved_computer_->c_str(), 1);
        else
            unsetenv("COMPUTERNAME");
    }

    TestInventory t;

private:
    std::optional<std::string> saved_computer_;
};

TEST_F(BatchSteps, ReportGoesToTheReportPathAndNamesTheComputerOfTheEnvironment)
{
    for (const char* computer : {"PC-17", static_cast<const char*>(nullptr)}) {
        if (computer)
            setenv("COMPUTERNAME", computer, 1);
        else
            unsetenv("COMPUTERNAME");
        t.inventory().write_report();
        std::string report = without_cr(read_file_bytes(t.inventory().gui.htm_path));
        std::string title = computer ? std::string("<h2>System Report for ") + computer + " <img"
                                     : std::string("<h2>System Report <img");
        EXPECT_NE(report.find(title), std::string::npos) << report;
        EXPECT_NE(report.find("<td>1.0</td>"), std::string::npos) << report;
    }
    EXPECT_NE(t.log().find("mapp::OnSWMI () OK ...\n"), std::string::npos) << t.log();
}

TEST_F(BatchSteps, ReportThatCannotBeWrittenStillLogsTheStep)
{
    t.inventory().gui.htm_path = t.dir() + "/no such folder/polrix.htm";
    t.inventory().write_report();
    EXPECT_TRUE(read_file_bytes(t.inventory().gui.htm_path).empty());
    EXPECT_NE(t.log().find("mapp::OnSWMI () OK ...\n"), std::string::npos) << t.log();
}

TEST_F(BatchSteps, ExportGoesToTheExportPathAndLogsTheStep)
{
    t.inventory().write_export();
    EXPECT_EQ(without_cr(read_file_bytes(t.inventory().txt_path)),
              "Page\tList\tGroup\tItem\tValue\nWMI\tWin32_Bios\t\tVersion\t1.0\n");
    EXPECT_NE(t.log().find("mapp::OnLWMI () OK ...\n"), std::string::npos) << t.log();
}

TEST_F(BatchSteps, ExportThatCannotBeOpenedEndsWithExitCode200AndNoLogLine)
{
    t.inventory().txt_path = t.dir() + "/no such folder/polrix.txt";
    EXPECT_EXIT(t.inventory().write_export(), ::testing::ExitedWithCode(200),
                regex_quote("[stop box] Could not open file: " + t.inventory().txt_path + "\n"));
    EXPECT_EQ(t.log().find("mapp::OnLWMI"), std::string::npos) << t.log();
}

}  // namespace
