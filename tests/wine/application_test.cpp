// The application object: its start and end in the log around the inventory
// and the window state, what it installs for the windows, the second copy,
// and the idle pass that reloads the page when another list is shown.
#include "app/application_win32.h"

#include "base/window_side.h"
#include "framework/msgbox_win32.h"
#include "res/resource.h"
#include "tests/support/recording_window_side.h"
#include "tests/support/test_app_win32.h"
#include "tests/support/window_helpers_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

TEST(Application, LogsItsStartAndEndAroundTheInventoryAndTheWindowState)
{
    TestApp t;
    std::string start = t.log();
    const std::string made =
        "CGUI::CGUI () OK ...\n"
        "CWMI::CWMI () OK ...\n"
        "mtrc::mtrc () OK ...\n"
        "mbox::mbox () OK ...\n"
        "mapp::mapp () OK ...\n";
    ASSERT_GE(start.size(), made.size());
    EXPECT_EQ(start.substr(start.size() - made.size()), made) << start;
    EXPECT_EQ(start.find("Logfile created by polrix.exe:\n"), 0u) << start;

    t.end_app();
    std::string end = t.log();
    const std::string ended =
        "mapp::mapp () OK ...\n"
        "mapp::~mapp () OK ...\n"
        "mbox::~mbox () OK ...\n"
        "mtrc::~mtrc () OK ...\n"
        "CWMI::~CWMI () OK ...\n"
        "CGUI::~CGUI () OK ...\n";
    ASSERT_GE(end.size(), ended.size());
    EXPECT_EQ(end.substr(end.size() - ended.size()), ended) << end;
}

TEST(Application, InstallsItsInventoryAndWindowStateForTheWindows)
{
    TestApp t;
    EXPECT_EQ(&inventory(), &t.app().inventory());
    EXPECT_EQ(&window_state(), &t.app().window());
    // The pane captions' font in the face the settings name.
    EXPECT_NE(t.window().caption_font.handle(), nullptr);
    EXPECT_EQ(t.window().caption_font.face_name(), t.inventory().gui.font_face);
}

// The batch run's stop box and the window's message boxes: one caption,
// the window's title, also before any window was made.
TEST(Application, EveryMessageBoxBearsTheWindowTitle)
{
    TestApp t;
    EXPECT_EQ(t.app().app_title, "Polrix");
    std::vector<std::string> captions;
    DialogCloser closer([&](HWND box) {
        captions.push_back(window_text(box));
        SendMessageA(box, WM_COMMAND, IDOK, 0);
    });
    window_side().stop_box("Could not open file: x");
    AfxMessageBox("Failed to create Toolbar !");
    EXPECT_EQ(captions, (std::vector<std::string>{"Polrix", "Polrix"}));
}

TEST(Application, SecondCopyLogsAndStops)
{
    // A window start and a batch start while another copy holds the
    // program's marker: only the refusal reaches the log, and the refused
    // batch run has an exit code of its own.
    const struct {
        const char* command_line;
        int exit_code;
    } cases[] = {{"", 0}, {"x", EXIT_OTHER_COPY}};
    for (const auto& c : cases) {
        HANDLE other = CreateMutexA(nullptr, TRUE, "polrix");
        ASSERT_NE(other, nullptr);
        bool go_on = true;
        int exit_code = -1;
        std::string log;
        {
            TestApp t;
            t.app().command_line = c.command_line;
            go_on = t.app().InitInstance();
            exit_code = t.app().exit_code;
            t.end_app();
            log = t.log();
        }
        CloseHandle(other);
        EXPECT_FALSE(go_on) << "[" << c.command_line << "]";
        EXPECT_EQ(exit_code, c.exit_code) << "[" << c.command_line << "]";
        EXPECT_EQ(log, "  An Instance of polrix.exe is allready running ...\n") << "[" << c.command_line << "]";
    }
}

TEST(Application, IdlePassPostsOneReloadPerSwitchOfShownList)
{
    TestApp t;
    RecordingWindowSide window(true);
    mapp& a = t.app();
    mbox& results = t.window().result_list;
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
        {nullptr, 0, 0},                    // nothing shown: nothing posted
        {&l0, 0, 0},                        // a first list without a number does not reload
        {&l3, 1, 3},     {&l3, 1, 3},       // the same list again
        {&l3b, 1, 3},                       // another list with the same number
        {&l17, 2, 17},   {nullptr, 2, 17},  // shown list gone: shown_id kept
        {&l3, 3, 3},
    };
    for (const Step& s : steps) {
        results.current_list = s.shown;
        a.OnIdle(0);
        EXPECT_EQ(window.posted_commands().size(), s.posts_after);
        EXPECT_EQ(t.window().shown_id, s.shown_id_after);
    }
    for (int c : window.posted_commands())
        EXPECT_EQ(c, ID_RELOAD_PAGE);
    results.current_list = nullptr;
}

}  // namespace
