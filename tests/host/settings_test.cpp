// The settings object: log header, paths, registry defaults, caption font;
// and the application object's start, idle pass and end.
#include "app/application.h"
#include "base/platform_host.h"
#include "base/registry.h"
#include "base/registry_store.h"
#include "tests/support/recording_window_side.h"
#include "tests/support/test_app.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class Settings : public ::testing::Test {
protected:
    void SetUp() override { regstore::clear(); }
    void TearDown() override
    {
        regstore::clear();
        platform::host::set_version(6, 1);
    }
};

struct PathCase {
    const char* program;
    const char* temp;  // nullptr: TEMP not set
    const char* cfg;
    const char* txt;
    const char* htm;
    const char* log;
};

class SettingsPaths : public Settings, public ::testing::WithParamInterface<PathCase> {};

TEST_P(SettingsPaths, FollowTheProgramFileAndTemp)
{
    const PathCase& c = GetParam();
    const char* old = std::getenv("TEMP");
    std::string saved = old ? old : "";
    if (c.temp)
        setenv("TEMP", c.temp, 1);
    else
        unsetenv("TEMP");
    platform::host::set_module_file_name(c.program);
    std::string cfg, txt;
    {
        CGUI gui(cfg, txt);
        EXPECT_EQ(cfg, c.cfg);
        EXPECT_EQ(txt, c.txt);
        EXPECT_EQ(gui.htm_path, c.htm);
        EXPECT_EQ(gui.log_path, c.log);
        EXPECT_EQ(gui.temp_dir, c.temp ? c.temp : "");
    }
    std::remove(c.log);
    if (old)
        setenv("TEMP", saved.c_str(), 1);
    else
        unsetenv("TEMP");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsPaths,
    ::testing::Values(
        PathCase{"C:\\Tools\\polrix.exe", "/tmp/polrix_settings_a", "C:\\Tools\\polrix.xml",
                 "C:\\Tools\\polrix.txt", "/tmp/polrix_settings_a\\polrix.htm",
                 "/tmp/polrix_settings_a\\polrix.log"},
        // The last three characters are replaced, whatever the extension.
        PathCase{"C:\\x\\polrix.ex", "/tmp/polrix_settings_b", "C:\\x\\polrixxml", "C:\\x\\polrixtxt",
                 "/tmp/polrix_settings_b\\polrixhtm", "/tmp/polrix_settings_b\\polrix.log"},
        // The report bears the program file's name.
        PathCase{"D:\\a b\\inventory.exe", "/tmp/polrix_settings_c", "D:\\a b\\inventory.xml",
                 "D:\\a b\\inventory.txt", "/tmp/polrix_settings_c\\inventory.htm",
                 "/tmp/polrix_settings_c\\polrix.log"},
        // Without TEMP: the log in the current folder, the report at the root.
        PathCase{"C:\\Tools\\polrix.exe", nullptr, "C:\\Tools\\polrix.xml", "C:\\Tools\\polrix.txt",
                 "\\polrix.htm", "polrix.log"},
        // Long paths are kept whole.
        PathCase{"C:\\" "0123456789012345678901234567890123456789012345678901234567890123456789"
                 "0123456789012345678901234567890123456789012345678901234567890123456789"
                 "0123456789012345678901234567890123456789012345678901234567890123456789"
                 "0123456789012345678901234567890123456789\\polrix.exe",
                 "/tmp/polrix_settings_d",
                 "C:\\" "0123456789012345678901234567890123456789012345678901234567890123456789"
                 "0123456789012345678901234567890123456789012345678901234567890123456789"
                 "0123456789012345678901234567890123456789012345678901234567890123456789"
                 "0123456789012345678901234567890123456789\\polrix.xml",
                 "C:\\" "0123456789012345678901234567890123456789012345678901234567890123456789"
                 "0123456789012345678901234567890123456789012345678901234567890123456789"
                 "0123456789012345678901234567890123456789012345678901234567890123456789"
                 "0123456789012345678901234567890123456789\\polrix.txt",
                 "/tmp/polrix_settings_d\\polrix.htm", "/tmp/polrix_settings_d\\polrix.log"}));

TEST(QueryFileFor, CutsAtTheLastDotAnywhereInThePath)
{
    EXPECT_EQ(query_file_for("C:\\Tools\\polrix.exe"), "C:\\Tools\\polrix.xml");
    EXPECT_EQ(query_file_for("C:\\Tools\\polrix.program"), "C:\\Tools\\polrix.xml");
    EXPECT_EQ(query_file_for("C:\\v1.2\\polrix"), "C:\\v1.xml");
    EXPECT_EQ(query_file_for("C:\\Tools\\polrix"), "polrix.xml");
    EXPECT_EQ(query_file_for(""), "polrix.xml");
}

TEST_F(Settings, FirstStartWritesTheDefaults)
{
    TestApp t;
    const char* key = "Software\\Vendaril\\Polrix";
    EXPECT_EQ(read_rdword("HKCU", key, "ft"), 1);
    EXPECT_EQ(read_rdword("HKCU", key, "fs"), 0);
    EXPECT_EQ(read_rstring("HKCU", key, nullptr), std::optional<std::string>("Polrix, Version 1.00"));
    EXPECT_EQ(read_rstring("HKCU", key, "mf"), std::optional<std::string>("Tahoma"));
    EXPECT_EQ(read_rdword("HKCU", key, "xo"), -1) << "the placement is the frame's to write";
    EXPECT_EQ(t.app().gui.ft, 1);
    EXPECT_EQ(t.app().gui.fs, 0);
    EXPECT_EQ(t.app().gui.xo, -1);
    EXPECT_EQ(t.app().gui.font.face_name(), "Tahoma");
    EXPECT_EQ(read_rdword("HKLM", key, "ft"), -1) << "nothing in the machine hive";
}

TEST_F(Settings, NegativeOrEmptyStoredValuesAreReplacedOthersKept)
{
    const char* key = "Software\\Vendaril\\Polrix";
    write_rdword("HKCU", key, "ft", 0xFFFFFFFFu);
    write_rdword("HKCU", key, "fs", 0x80000000u);
    write_rstring("HKCU", key, "mf", "");
    write_rstring("HKCU", key, nullptr, "");
    write_rdword("HKCU", key, "xo", 12);
    {
        TestApp t;
        EXPECT_EQ(t.app().gui.ft, 1);
        EXPECT_EQ(t.app().gui.fs, 0);
        EXPECT_EQ(t.app().gui.xo, 12);
        EXPECT_EQ(t.app().gui.font.face_name(), "Tahoma");
    }
    EXPECT_EQ(read_rdword("HKCU", key, "ft"), 1);
    EXPECT_EQ(read_rdword("HKCU", key, "fs"), 0);
    EXPECT_EQ(read_rstring("HKCU", key, "mf"), std::optional<std::string>("Tahoma"));
    EXPECT_EQ(read_rstring("HKCU", key, nullptr), std::optional<std::string>("Polrix, Version 1.00"));

    write_rdword("HKCU", key, "ft", 0);
    write_rdword("HKCU", key, "fs", 1);
    write_rstring("HKCU", key, "mf", "No Such Face");
    TestApp t;
    EXPECT_EQ(t.app().gui.ft, 0);
    EXPECT_EQ(t.app().gui.fs, 1);
    EXPECT_EQ(t.app().gui.font.face_name(), "No Such Face") << "an unknown face gives no message";
}

TEST_F(Settings, LogStartsWithItsHeaderAndTheConstructorLines)
{
    platform::host::set_version(5, 1);
    TestApp t;
    EXPECT_EQ(t.app().gui.win_major, 5);
    EXPECT_EQ(t.log(),
              "Logfile created by polrix.exe:\n"
              "Windows Version: 5.1\n"
              "CGUI::CGUI () OK ...\n"
              "CWMI::CWMI () OK ...\n"
              "mtrc::mtrc () OK ...\n"
              "mbox::mbox () OK ...\n"
              "mapp::mapp () OK ...\n");
    EXPECT_EQ(read_file_bytes(t.path("polrix.log")).substr(0, 31), "Logfile created by polrix.exe:\r")
        << "CR LF line ends";
}

TEST_F(Settings, EndFreesTheChainAndWritesTheDestructorLinesInReverseOrder)
{
    TestApp t;
    std::string path = t.path("polrix.log");
    auto l = init_list();
    append_item(*l, init_item())->values.push_back("v");
    append_list(t.app().first_list, std::move(l));
    t.app().~mapp();
    std::string log = without_cr(read_file_bytes(path));
    const std::string tail =
        "mapp::mapp () OK ...\n"
        "mapp::~mapp () OK ...\n"
        "mbox::~mbox () OK ...\n"
        "mtrc::~mtrc () OK ...\n"
        "CWMI::~CWMI () OK ...\n"
        "CGUI::~CGUI () OK ...\n";
    ASSERT_GE(log.size(), tail.size());
    EXPECT_EQ(log.substr(log.size() - tail.size()), tail);
    // A second start empties the log: only its own lines remain.
    new (&t.app()) mapp();
    EXPECT_EQ(t.log().find("~"), std::string::npos);
}

TEST_F(Settings, SecondCopyLogsAndStops)
{
    TestApp t;
    platform::host::set_other_instance_running(true);
    t.app().command_line = "x";
    bool go_on = t.app().InitInstance();
    platform::host::set_other_instance_running(false);
    EXPECT_FALSE(go_on);
    std::string log = t.log();
    EXPECT_NE(log.find("  An Instance of polrix.exe is allready running ...\n"), std::string::npos);
    EXPECT_EQ(log.find("OnRCFG"), std::string::npos) << "no batch step ran";
}

TEST_F(Settings, BatchStartWithoutQueryFileEndsWith100)
{
    TestApp t;
    t.app().command_line = "any text at all";
    EXPECT_EXIT(t.app().InitInstance(), ::testing::ExitedWithCode(100),
                regex_quote("Could not open file: " + t.app().cfg_path));
}

TEST_F(Settings, IdlePassPostsOneReloadPerSwitchOfShownList)
{
    TestApp t;
    RecordingWindowSide window(true);
    mapp& a = t.app();
    QueryList l3, l3b, l17, l0;
    l3.id = 3;
    l3b.id = 3;
    l17.id = 17;
    l0.id = 0;
    struct Step {
        QueryList* shown;
        size_t posts_after;
        int shown_id_after;
    } steps[] = {
        {nullptr, 0, 0},  // nothing shown: nothing posted
        {&l0, 0, 0},      // a first list without a number does not reload
        {&l3, 1, 3},
        {&l3, 1, 3},      // the same list again
        {&l3b, 1, 3},     // another list with the same number
        {&l17, 2, 17},
        {nullptr, 2, 17},  // shown list gone: shown_id kept
        {&l3, 3, 3},
    };
    for (const Step& s : steps) {
        a.result_list.current_list = s.shown;
        a.OnIdle(0);
        EXPECT_EQ(window.posted_commands().size(), s.posts_after);
        EXPECT_EQ(a.shown_id, s.shown_id_after);
    }
    for (int c : window.posted_commands())
        EXPECT_EQ(c, ID_RELOAD_PAGE);
    a.result_list.current_list = nullptr;
}

}  // namespace
