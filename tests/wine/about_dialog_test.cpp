// The about box on real windows: its text control, the hand cursor over the
// address, the browser started by a click there (a recorder program of the
// tests registered as the browser, in a folder whose name holds blanks), its
// log lines and what its text control paints. The browser's registration is
// saved before each test that changes it and put back after.
#include "ui/about_dialog_win32.h"

#include "framework/gdi_win32.h"
#include "base/registry_key_win32.h"
#include "res/resource.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/test_app_win32.h"
#include "tests/support/test_folder.h"
#include "tests/support/window_helpers_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace {

const wchar_t* const BROWSER_KEY = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE";

// The browser's registration in the native view (the one the program
// reads): the key's default value as it was, put back by the destructor,
// whatever the test did to it in between.
class SavedBrowserRegistration {
public:
    SavedBrowserRegistration()
    {
        RegistryKey key;
        had_key_ = RegOpenKeyExW(HKEY_LOCAL_MACHINE, BROWSER_KEY, 0, KEY_READ | KEY_WOW64_64KEY, key.out()) ==
                   ERROR_SUCCESS;
        if (!had_key_)
            return;
        DWORD size = 0;
        had_value_ = RegQueryValueExW(key.get(), nullptr, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS;
        if (had_value_) {
            data_.resize(size);
            RegQueryValueExW(key.get(), nullptr, nullptr, &type_, reinterpret_cast<BYTE*>(&data_[0]), &size);
            data_.resize(size);
        }
    }
    ~SavedBrowserRegistration()
    {
        if (!had_key_) {
            fixture_delete_tree(TestHive::machine, TestView::native, BROWSER_KEY);
            return;
        }
        RegistryKey key;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, BROWSER_KEY, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, key.out()) !=
            ERROR_SUCCESS)
            return;
        if (had_value_)
            RegSetValueExW(key.get(), nullptr, 0, type_, reinterpret_cast<const BYTE*>(data_.data()),
                           static_cast<DWORD>(data_.size()));
        else
            RegDeleteValueW(key.get(), nullptr);
    }
    SavedBrowserRegistration(const SavedBrowserRegistration&) = delete;
    SavedBrowserRegistration& operator=(const SavedBrowserRegistration&) = delete;

    bool put(uint32_t type, const std::string& data)
    {
        return fixture_put_value(TestHive::machine, TestView::native, BROWSER_KEY, nullptr, type, data);
    }
    bool put_path(const std::string& path) { return put(REG_SZ, path); }
    void remove()
    {
        RegistryKey key;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, BROWSER_KEY, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, key.out()) ==
            ERROR_SUCCESS)
            RegDeleteValueW(key.get(), nullptr);
    }

private:
    bool had_key_ = false;
    bool had_value_ = false;
    DWORD type_ = 0;
    std::string data_;
};

// Runs the actions on the about box one after the other, one per timer
// tick, while it runs modally; then closes it with its OK button. Gives
// back how many actions ran (all of them unless the box ended early) and
// the box's result.
struct AboutRun {
    int actions_run = 0;
    INT_PTR result = 0;
};

AboutRun run_about_box(std::vector<std::function<void(HWND)>> actions)
{
    AboutRun run;
    size_t next = 0;
    DialogCloser driver([&](HWND box) {
        if (next < actions.size()) {
            actions[next++](box);
            ++run.actions_run;
        } else {
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
        }
    });
    CInf about;
    run.result = about.DoModal();
    return run;
}

LPARAM at(int x, int y) { return MAKELPARAM(x, y); }

std::string program_folder()
{
    char path[MAX_PATH * 4] = "";
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text(path, length);
    return text.substr(0, text.find_last_of('\\'));
}

// A copy of the recorder program in a folder whose name holds blanks, and
// another one as a decoy where the path's first word points: started
// unquoted, "...\Web Browser\recorder.exe" would start "...\Web.exe".
std::string recorder_with_blanks(const TestFolder& folder)
{
    std::string original = program_folder() + "\\recorder.exe";
    std::string dir = folder.path("Web Browser");
    CreateDirectoryA(dir.c_str(), nullptr);
    std::string copy = dir + "\\recorder.exe";
    if (!CopyFileA(original.c_str(), copy.c_str(), FALSE) ||
        !CopyFileA(original.c_str(), folder.path("Web.exe").c_str(), FALSE))
        return std::string();
    return copy;
}

// The processes that this test program and every process it starts have
// started since the counter was made: the test program joins a job object
// of its own, and the job counts every process that ever belonged to it.
class StartedProcesses {
public:
    StartedProcesses()
    {
        job_ = CreateJobObjectA(nullptr, nullptr);
        if (job_ && !IsProcessInJob(GetCurrentProcess(), job_, &joined_))
            joined_ = FALSE;
        if (job_ && !joined_)
            joined_ = AssignProcessToJobObject(job_, GetCurrentProcess());
        base_ = total();
    }
    ~StartedProcesses()
    {
        if (job_)
            CloseHandle(job_);
    }
    StartedProcesses(const StartedProcesses&) = delete;
    StartedProcesses& operator=(const StartedProcesses&) = delete;

    bool works() const { return job_ && joined_; }
    long count() const { return total() - base_; }

private:
    long total() const
    {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
        if (!job_ ||
            !QueryInformationJobObject(job_, JobObjectBasicAccountingInformation, &info, sizeof info, nullptr))
            return -1;
        return static_cast<long>(info.TotalProcesses);
    }
    HANDLE job_ = nullptr;
    BOOL joined_ = FALSE;
    long base_ = 0;
};

// Waits up to ten seconds for the file to hold a whole line.
std::string wait_for_line(const std::string& path)
{
    for (int i = 0; i < 200; ++i) {
        std::string text = read_file_bytes(path);
        if (!text.empty() && text.back() == '\n')
            return text;
        Sleep(50);
    }
    return read_file_bytes(path);
}

TEST(AboutBox, ItsTextControlLiesAlongTheTopWithItsStyleAndId)
{
    RECT box_client{}, text_rect{};
    LONG style = 0;
    HWND text = nullptr;
    AboutRun run = run_about_box({[&](HWND box) {
        GetClientRect(box, &box_client);
        text = GetDlgItem(box, IDC_ABOUT_TEXT);
        style = GetWindowLongA(text, GWL_STYLE);
        GetWindowRect(text, &text_rect);
        MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&text_rect), 2);
    }});
    EXPECT_EQ(run.result, IDOK);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(style & 0xFFFF0000L, 0x50000000L);
    EXPECT_EQ(style & 0xFFFF, 0x1006);
    // The window rectangle holds the sunken edge as well.
    EXPECT_EQ(text_rect.left, 3);
    EXPECT_EQ(text_rect.top, 3);
    EXPECT_EQ(text_rect.right, box_client.right - 3);
    EXPECT_EQ(text_rect.bottom, 70);
}

TEST(AboutBox, TheHandShowsOnlyInsideTheAddressZone)
{
    struct Case {
        int x, y;
        bool hand;
    };
    const std::vector<Case> cases = {
        {69, 49, true},   {181, 53, true},  {100, 50, true},  {68, 49, false},
        {182, 49, false}, {100, 48, false}, {100, 54, false}, {10, 10, false},
    };
    HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_CURSOR));
    HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    ASSERT_NE(hand, nullptr);
    std::vector<bool> shown;
    AboutRun run = run_about_box({[&](HWND box) {
        for (const Case& c : cases) {
            SetCursor(arrow);
            SendMessageA(box, WM_MOUSEMOVE, 0, at(c.x, c.y));
            shown.push_back(GetCursor() == hand);
        }
    }});
    EXPECT_EQ(run.actions_run, 1);
    ASSERT_EQ(shown.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(shown[i], cases[i].hand) << "at " << cases[i].x << "," << cases[i].y;
    for (const Case& c : cases)
        EXPECT_EQ(CInf::InHotZone(POINT{c.x, c.y}), c.hand) << "at " << c.x << "," << c.y;
}

TEST(AboutBox, TheCommandLineQuotesTheRegisteredPathWhateverItsLength)
{
    SavedBrowserRegistration saved;
    const std::string address = MAKER_ADDRESS;
    const std::string long_path = "C:\\Program Files\\" + std::string(300, 'w') + "\\browser.exe";
    struct Case {
        uint32_t type;
        std::string data;
        std::string command;
    };
    const std::vector<Case> cases = {
        {REG_SZ, "C:\\Program Files\\Web Browser\\browser.exe",
         "\"C:\\Program Files\\Web Browser\\browser.exe\" " + address},
        {REG_SZ, "C:\\Browser\\browser.exe", "\"C:\\Browser\\browser.exe\" " + address},
        // Already in quotes: taken as it stands.
        {REG_SZ, "\"C:\\Program Files\\Browser\\b.exe\"", "\"C:\\Program Files\\Browser\\b.exe\" " + address},
        {REG_SZ, long_path, "\"" + long_path + "\" " + address},
        {REG_SZ, "", ""},
        {REG_DWORD, std::string("\x01\x00\x00\x00", 4), ""},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(saved.put(c.type, c.data));
        EXPECT_EQ(CInf::BrowserCommandLine(), c.command) << "registered: " << c.data;
    }
    saved.remove();
    EXPECT_EQ(CInf::BrowserCommandLine(), "");
}

// The recorder registered as the browser, in a folder whose name holds
// blanks, with the decoy beside that folder.
class AboutBoxBrowser : public ::testing::Test {
protected:
    void SetUp() override
    {
        recorder = recorder_with_blanks(folder);
        ASSERT_FALSE(recorder.empty()) << "recorder.exe beside the test program";
        ASSERT_TRUE(saved.put_path(recorder));
        ASSERT_TRUE(started.works());
    }
    // What the recorder wrote, once its first start has written (or ten
    // seconds have passed) and half a second more for any later start.
    std::string recorded()
    {
        wait_for_line(folder.path("Web Browser\\recorder.txt"));
        Sleep(500);
        return read_file_bytes(folder.path("Web Browser\\recorder.txt"));
    }
    std::string decoy_recorded() { return read_file_bytes(folder.path("recorder.txt")); }
    std::string one_start() const { return "\"" + recorder + "\" " + MAKER_ADDRESS + "\n"; }

    SavedBrowserRegistration saved;
    TestFolder folder;
    std::string recorder;
    StartedProcesses started;
};

TEST_F(AboutBoxBrowser, AClickOnTheAddressStartsTheRegisteredBrowserOnceAndTheBoxStaysOpen)
{
    bool open_after_click = false;
    AboutRun run = run_about_box({
        [](HWND box) {
            // Beside the zone: nothing starts.
            SendMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, at(68, 50));
            SendMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, at(100, 54));
            SendMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, at(100, 20));
        },
        [](HWND box) { SendMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, at(100, 50)); },
        [&](HWND box) { open_after_click = IsWindowVisible(box) != FALSE; },
    });
    EXPECT_EQ(run.actions_run, 3);
    EXPECT_TRUE(open_after_click);
    EXPECT_EQ(run.result, IDOK);
    EXPECT_EQ(recorded(), one_start());
    EXPECT_EQ(decoy_recorded(), "") << "the decoy started";
    EXPECT_EQ(started.count(), 1);
}

// The mouse itself, over the text control that covers the address: the
// control lets hovering and clicks through to the box.
TEST_F(AboutBoxBrowser, TheRealMouseOverTheAddressShowsTheHandAndItsClickStartsTheBrowser)
{
    HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_CURSOR));
    bool hand_shown = false;
    AboutRun run = run_about_box({
        [](HWND box) {
            POINT point{100, 50};
            ClientToScreen(box, &point);
            SetCursorPos(point.x, point.y);
        },
        [&](HWND) {
            hand_shown = GetCursor() == hand;
            INPUT clicks[2] = {};
            clicks[0].type = clicks[1].type = INPUT_MOUSE;
            clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
            clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
            SendInput(2, clicks, sizeof(INPUT));
        },
        [](HWND) {},
    });
    EXPECT_EQ(run.actions_run, 3);
    EXPECT_TRUE(hand_shown);
    EXPECT_EQ(recorded(), one_start());
    EXPECT_EQ(started.count(), 1);
}

TEST(AboutBox, WithNoBrowserRegisteredAClickStartsNothingAndTheBoxStaysOpen)
{
    SavedBrowserRegistration saved;
    StartedProcesses started;
    ASSERT_TRUE(started.works());
    for (bool empty_text : {false, true}) {
        if (empty_text)
            ASSERT_TRUE(saved.put_path(""));
        else
            saved.remove();
        bool open_after_click = false;
        AboutRun run = run_about_box({
            [](HWND box) { SendMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, at(100, 50)); },
            [&](HWND box) { open_after_click = IsWindowVisible(box) != FALSE; },
        });
        EXPECT_EQ(run.actions_run, 2);
        EXPECT_TRUE(open_after_click);
        EXPECT_EQ(run.result, IDOK);
    }
    Sleep(500);
    EXPECT_EQ(started.count(), 0);
}

TEST(AboutBox, OpeningAndClosingItWritesFourLogLinesInOrder)
{
    TestApp test;
    std::string before = test.log();
    DialogCloser closer([](HWND box) {
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    });
    show_about_box();
    EXPECT_EQ(closer.runs, 1);
    std::string after = test.log();
    ASSERT_EQ(after.compare(0, before.size(), before), 0);
    EXPECT_EQ(after.substr(before.size()),
              "CInb::CInb () OK ...\n"
              "CInf::CInf () OK ...\n"
              "CInf::~CInf () OK ...\n"
              "CInb::~CInb () OK ...\n");
}

// The text control's client area as it shows, one COLORREF a pixel.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

Picture take_picture(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    Picture picture;
    picture.width = client.right;
    picture.height = client.bottom;
    HDC dc = GetDC(window);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            picture.pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(window, dc);
    return picture;
}

// The columns from the first to the last that hold a pixel other than the
// background, in the rows from top to bottom (exclusive); -1, -1 when none.
std::pair<int, int> ink_columns(const Picture& picture, int top, int bottom, COLORREF background)
{
    int first = -1, last = -1;
    for (int y = top; y < bottom && y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (picture.at(x, y) != background) {
                if (first < 0 || x < first)
                    first = x;
                last = x > last ? x : last;
            }
    return {first, last};
}

int pixels_where(const Picture& picture, int top, int bottom, const std::function<bool(COLORREF)>& test)
{
    int n = 0;
    for (int y = top; y < bottom && y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            n += test(picture.at(x, y)) ? 1 : 0;
    return n;
}

bool is_blue(COLORREF c) { return GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) > 200; }
bool is_dark(COLORREF c) { return GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80; }

int text_width(int tenths_of_point, const std::string& text)
{
    CFont font;
    font.CreatePointFont(tenths_of_point, "Tahoma");
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, static_cast<HFONT>(font.handle()));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    DeleteDC(dc);
    return size.cx;
}

TEST(AboutBox, TheControlPaintsTheProductLineTheCreditWithItsAmpersandAndTheAddressInBlue)
{
    Picture picture;
    AboutRun run = run_about_box({[&](HWND box) {
        HWND text = GetDlgItem(box, IDC_ABOUT_TEXT);
        RedrawWindow(text, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        picture = take_picture(text);
    }});
    ASSERT_EQ(run.actions_run, 1);
    ASSERT_GT(picture.width, 200);
    ASSERT_GE(picture.height, 60);
    COLORREF window = GetSysColor(COLOR_WINDOW);
    // The whole area is the control's own: the window colour at its corners.
    EXPECT_EQ(picture.at(0, 0), window);
    EXPECT_EQ(picture.at(picture.width - 1, picture.height - 1), window);

    // Product line: dark, no blue.
    EXPECT_GT(pixels_where(picture, 5, 20, is_dark), 20);
    EXPECT_EQ(pixels_where(picture, 5, 20, is_blue), 0);
    // Credit line: its ink is as wide as the whole text with the ampersand
    // (drawn as a prefix, the "&" would vanish and the line be narrower).
    std::pair<int, int> credit = ink_columns(picture, 22, 38, window);
    ASSERT_GE(credit.first, 0);
    int ink = credit.second - credit.first + 1;
    int whole = text_width(85, "Development & Design");
    int without = text_width(85, "Development  Design");
    EXPECT_LT(without, whole - 3);
    EXPECT_GE(ink, whole - 3);
    EXPECT_LE(ink, whole + 1);
    // Centred: as much room on either side, to a pixel or two.
    EXPECT_NEAR(credit.first - 5, picture.width - 1 - credit.second, 3);
    EXPECT_EQ(pixels_where(picture, 22, 38, is_blue), 0);
    // The address: pure blue text.
    EXPECT_GT(pixels_where(picture, 40, 60, is_blue), 20);
    EXPECT_EQ(pixels_where(picture, 40, 60, is_dark), 0);
}

}  // namespace
