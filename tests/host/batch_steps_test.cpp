// The application's report and export steps: where they write, what they
// take from the environment, their log lines and the export's failure end.
// What the files hold is tested in html_report_test.cpp and
// tsv_export_test.cpp.
#include "app/application.h"
#include "tests/support/chain_builder.h"
#include "tests/support/test_app.h"

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
        add_item(add_list(t.app().first_list, "Win32_Bios", 2, 1, 1), "Version", {"1.0"});
    }
    void TearDown() override
    {
        if (saved_computer_)
            setenv("COMPUTERNAME", saved_computer_->c_str(), 1);
        else
            unsetenv("COMPUTERNAME");
    }

    TestApp t;

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
        t.app().OnSWMI();
        std::string report = without_cr(read_file_bytes(t.app().gui.htm_path));
        std::string title = computer ? std::string("<h2>System Report for ") + computer + " <img"
                                     : std::string("<h2>System Report <img");
        EXPECT_NE(report.find(title), std::string::npos) << report;
        EXPECT_NE(report.find("<td>1.0</td>"), std::string::npos) << report;
    }
    EXPECT_NE(t.log().find("mapp::OnSWMI () OK ...\n"), std::string::npos) << t.log();
}

TEST_F(BatchSteps, ReportThatCannotBeWrittenStillLogsTheStep)
{
    t.app().gui.htm_path = t.dir() + "/no such folder/polrix.htm";
    t.app().OnSWMI();
    EXPECT_TRUE(read_file_bytes(t.app().gui.htm_path).empty());
    EXPECT_NE(t.log().find("mapp::OnSWMI () OK ...\n"), std::string::npos) << t.log();
}

TEST_F(BatchSteps, ExportGoesToTheExportPathAndLogsTheStep)
{
    t.app().OnLWMI();
    EXPECT_EQ(without_cr(read_file_bytes(t.app().txt_path)),
              "Page\tList\tGroup\tItem\tValue\nWMI\tWin32_Bios\t\tVersion\t1.0\n");
    EXPECT_NE(t.log().find("mapp::OnLWMI () OK ...\n"), std::string::npos) << t.log();
}

TEST_F(BatchSteps, ExportThatCannotBeOpenedEndsWithExitCode200AndNoLogLine)
{
    t.app().txt_path = t.dir() + "/no such folder/polrix.txt";
    EXPECT_EXIT(t.app().OnLWMI(), ::testing::ExitedWithCode(200),
                regex_quote("[stop box] Could not open file: " + t.app().txt_path + "\n"));
    EXPECT_EQ(t.log().find("mapp::OnLWMI"), std::string::npos) << t.log();
}

}  // namespace
