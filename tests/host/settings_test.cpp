// The settings object: log header, paths, registry defaults, the caption
// font's face and the window's placement.
#include "base/platform_host.h"
#include "base/registry.h"
#include "base/registry_store.h"
#include "inventory/settings.h"
#include "tests/support/test_inventory.h"

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
        platform::host::set_other_instance_running(false);
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
    ::testing::Values(PathCase{"C:\\Tools\\polrix.exe", "/tmp/polrix_settings_a", "C:\\Tools\\polrix.xml",
                               "C:\\Tools\\polrix.txt", "/tmp/polrix_settings_a\\polrix.htm",
                               "/tmp/polrix_settings_a\\polrix.log"},
                      // The last three characters are replaced, whatever the extension.
                      PathCase{"C:\\x\\polrix.ex", "/tmp/polrix_settings_b", "C:\\x\\polrixxml",
                               "C:\\x\\polrixtxt", "/tmp/polrix_settings_b\\polrixhtm",
                               "/tmp/polrix_settings_b\\polrix.log"},
                      // The report bears the program file's name.
                      PathCase{"D:\\a b\\inventory.exe", "/tmp/polrix_settings_c", "D:\\a b\\inventory.xml",
                               "D:\\a b\\inventory.txt", "/tmp/polrix_settings_c\\inventory.htm",
                               "/tmp/polrix_settings_c\\polrix.log"},
                      // Without TEMP: the log in the current folder, the report at the root.
                      PathCase{"C:\\Tools\\polrix.exe", nullptr, "C:\\Tools\\polrix.xml", "C:\\Tools\\polrix.txt",
                               "\\polrix.htm", "polrix.log"},
                      // Long paths are kept whole.
                      PathCase{"C:\\"
                               "0123456789012345678901234567890123456789012345678901234567890123456789"
                               "0123456789012345678901234567890123456789012345678901234567890123456789"
                               "0123456789012345678901234567890123456789012345678901234567890123456789"
                               "0123456789012345678901234567890123456789\\polrix.exe",
                               "/tmp/polrix_settings_d",
                               "C:\\"
                               "0123456789012345678901234567890123456789012345678901234567890123456789"
                               "0123456789012345678901234567890123456789012345678901234567890123456789"
                               "0123456789012345678901234567890123456789012345678901234567890123456789"
                               "0123456789012345678901234567890123456789\\polrix.xml",
                               "C:\\"
                               "0123456789012345678901234567890123456789012345678901234567890123456789"
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

TEST_F(Settings, WhileAnotherCopyRunsItsLogIsKeptAndOnlyTheRefusalIsAppended)
{
    // The running copy's log, as it stands when a second copy starts.
    TestTemp temp("polrix.exe");
    const std::string running = "Logfile created by polrix.exe:\r\nmapp::OnRCFG () OK ...\r\n";
    write_file_bytes(temp.path("polrix.log"), running);
    platform::host::set_other_instance_running(true);
    {
        std::string cfg, txt;
        CGUI gui(cfg, txt);
        EXPECT_EQ(gui.log, nullptr) << "the second copy does not open the log";
        gui.append_line("  An Instance of polrix.exe is allready running ...\n");
    }
    EXPECT_EQ(read_file_bytes(temp.path("polrix.log")),
              running + "  An Instance of polrix.exe is allready running ...\r\n");
}

TEST_F(Settings, FirstStartWritesTheDefaults)
{
    TestInventory t;
    const char* key = "Software\\Vendaril\\Polrix";
    EXPECT_EQ(read_rdword("HKCU", key, "ft"), 1);
    EXPECT_EQ(read_rdword("HKCU", key, "fs"), 0);
    EXPECT_EQ(read_rstring("HKCU", key, nullptr), std::optional<std::string>("Polrix, Version 1.00"));
    EXPECT_EQ(read_rstring("HKCU", key, "mf"), std::optional<std::string>("Tahoma"));
    EXPECT_EQ(read_rdword("HKCU", key, "xo"), -1) << "the placement is the frame's to write";
    EXPECT_EQ(t.inventory().gui.ft, 1);
    EXPECT_EQ(t.inventory().gui.fs, 0);
    EXPECT_EQ(t.inventory().gui.xo, -1);
    EXPECT_EQ(t.inventory().gui.font_face, "Tahoma");
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
        TestInventory t;
        EXPECT_EQ(t.inventory().gui.ft, 1);
        EXPECT_EQ(t.inventory().gui.fs, 0);
        EXPECT_EQ(t.inventory().gui.xo, 12);
        EXPECT_EQ(t.inventory().gui.font_face, "Tahoma");
    }
    EXPECT_EQ(read_rdword("HKCU", key, "ft"), 1);
    EXPECT_EQ(read_rdword("HKCU", key, "fs"), 0);
    EXPECT_EQ(read_rstring("HKCU", key, "mf"), std::optional<std::string>("Tahoma"));
    EXPECT_EQ(read_rstring("HKCU", key, nullptr), std::optional<std::string>("Polrix, Version 1.00"));

    write_rdword("HKCU", key, "ft", 0);
    write_rdword("HKCU", key, "fs", 1);
    write_rstring("HKCU", key, "mf", "No Such Face");
    TestInventory t;
    EXPECT_EQ(t.inventory().gui.ft, 0);
    EXPECT_EQ(t.inventory().gui.fs, 1);
    EXPECT_EQ(t.inventory().gui.font_face, "No Such Face") << "an unknown face gives no message";
}

TEST_F(Settings, MissingPlacementGetsTheMiddleTwoThirdsAndIsWrittenBack)
{
    const char* key = "Software\\Vendaril\\Polrix";
    struct Case {
        int stored_xs, stored_ys;  // -1: none stored
        int xo, yo, xs, ys;        // after the fill for a 1200 x 900 screen
        bool x_written, y_written;
    };
    for (const Case& c :
         {Case{-1, -1, 200, 150, 800, 600, true, true}, Case{0, 500, 200, 7, 800, 500, true, false},
          Case{640, -1, 7, 150, 640, 600, false, true}, Case{640, 500, 7, 7, 640, 500, false, false}}) {
        regstore::clear();
        write_rdword("HKCU", key, "xo", 7);
        write_rdword("HKCU", key, "yo", 7);
        if (c.stored_xs >= 0)
            write_rdword("HKCU", key, "xs", static_cast<uint32_t>(c.stored_xs));
        if (c.stored_ys >= 0)
            write_rdword("HKCU", key, "ys", static_cast<uint32_t>(c.stored_ys));
        TestInventory t;
        CGUI& gui = t.inventory().gui;
        gui.fill_missing_placement(1200, 900);
        EXPECT_EQ(gui.xo, c.xo);
        EXPECT_EQ(gui.yo, c.yo);
        EXPECT_EQ(gui.xs, c.xs);
        EXPECT_EQ(gui.ys, c.ys);
        EXPECT_EQ(read_rdword("HKCU", key, "xo"), c.x_written ? c.xo : 7);
        EXPECT_EQ(read_rdword("HKCU", key, "xs"), c.x_written ? c.xs : c.stored_xs);
        EXPECT_EQ(read_rdword("HKCU", key, "yo"), c.y_written ? c.yo : 7);
        EXPECT_EQ(read_rdword("HKCU", key, "ys"), c.y_written ? c.ys : c.stored_ys);
    }
}

}  // namespace
