// The browser host with the system's web browser control in a real window:
// in-place creation, navigation to local pages and the address read back,
// the events, the keys, and a shutdown that leaves nothing behind.
#include "framework/browser_host_win32.h"

#include "tests/support/browser_address.h"
#include "tests/support/parent_window.h"

#include <gtest/gtest.h>

#include <ole2.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

void expect_at(const BrowserHost& browser, const std::string& path, const std::string& anchor)
{
    std::string url = browser.location_url();
    BrowserAddress a = address_of(url);
    EXPECT_EQ(a.path, ascii_lower(path)) << url;
    EXPECT_EQ(a.anchor, anchor) << url;
}

class RecordingEvents : public BrowserEvents {
public:
    void OnBeforeNavigate2(const std::string& url) override { before.push_back(url); }
    void OnNavigateComplete2(const std::string& url) override { completed.push_back(url); }
    void OnDocumentComplete(const std::string& url) override { documents.push_back(url); }
    void OnNavigateError(const std::string& url, long status) override
    {
        errors.push_back(url);
        (void)status;
    }
    size_t count() const { return before.size() + completed.size() + documents.size() + errors.size(); }

    std::vector<std::string> before;
    std::vector<std::string> completed;
    std::vector<std::string> documents;
    std::vector<std::string> errors;
};

// Two small pages in a folder of their own under TEMP.
class PageFolder {
public:
    PageFolder()
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        dir_ = std::string(temp) + "polrix_browser_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(dir_.c_str(), nullptr);
        for (const char* name : {"x.htm", "y.htm"}) {
            FILE* f = std::fopen(path(name).c_str(), "wb");
            if (f) {
                std::fputs("<html><body><a name=\"007\">seven</a><a name=\"012\">twelve</a></body></html>\r\n", f);
                std::fclose(f);
            }
        }
    }
    ~PageFolder()
    {
        DeleteFileA(path("x.htm").c_str());
        DeleteFileA(path("y.htm").c_str());
        RemoveDirectoryA(dir_.c_str());
    }
    std::string path(const std::string& name) const { return dir_ + "\\" + name; }

private:
    std::string dir_;
};

class BrowserHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        ole_ = true;
        ASSERT_NE(parent.hwnd(), nullptr);
    }
    void TearDown() override
    {
        browser.destroy();
        if (ole_)
            OleUninitialize();
    }

    // The rectangle of the control's window in the parent's client area.
    RECT control_rect() const
    {
        RECT r{};
        GetWindowRect(browser.window(), &r);
        MapWindowPoints(nullptr, parent.hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    bool ole_ = false;
    ParentWindow parent{640, 480};
    PageFolder pages;
    RecordingEvents events;
    BrowserHost browser;
};

void expect_rect(const RECT& got, const RECT& want)
{
    EXPECT_EQ(got.left, want.left);
    EXPECT_EQ(got.top, want.top);
    EXPECT_EQ(got.right, want.right);
    EXPECT_EQ(got.bottom, want.bottom);
}

TEST_F(BrowserHostTest, CreatedInPlaceInsideItsParentAndSizedByTheHost)
{
    EXPECT_FALSE(browser.is_created());
    DWORD start = GetTickCount();
    ASSERT_EQ(browser.create(parent.hwnd(), RECT{0, 0, 640, 380}, &events), S_OK);
    std::printf("created in %lu ms\n", GetTickCount() - start);
    EXPECT_TRUE(browser.is_created());
    ASSERT_NE(browser.window(), nullptr);
    EXPECT_TRUE(IsChild(parent.hwnd(), browser.window()));
    expect_rect(control_rect(), RECT{0, 0, 640, 380});

    browser.set_rect(RECT{0, 0, 640, 300});
    expect_rect(control_rect(), RECT{0, 0, 640, 300});
    browser.set_rect(RECT{10, 20, 410, 220});
    expect_rect(control_rect(), RECT{10, 20, 410, 220});
}

TEST_F(BrowserHostTest, NavigatesToLocalPagesAndReadsTheAddressBack)
{
    ASSERT_EQ(browser.create(parent.hwnd(), RECT{0, 0, 640, 380}, &events), S_OK);
    EXPECT_EQ(browser.location_url(), "");

    std::string x = pages.path("x.htm");
    DWORD start = GetTickCount();
    ASSERT_EQ(browser.navigate(x + "#007"), S_OK);
    pump_messages_until([&] { return !browser.location_url().empty(); }, 5000);
    std::printf("first navigation: %lu ms to the address \"%s\"; HTML engine loaded: %s\n", GetTickCount() - start,
                browser.location_url().c_str(), GetModuleHandleA("mshtml.dll") ? "yes" : "no");
    expect_at(browser, x, "007");

    ASSERT_TRUE(pump_messages_until([&] { return !events.before.empty(); }, 5000));
    BrowserAddress first = address_of(events.before.front());
    EXPECT_EQ(first.path, ascii_lower(x)) << events.before.front();
    EXPECT_EQ(first.anchor, "007") << events.before.front();

    // A later navigation goes on while messages are pumped.
    std::string y = pages.path("y.htm");
    ASSERT_EQ(browser.navigate(y + "#012"), S_OK);
    pump_messages_until([&] { return address_of(browser.location_url()).path == ascii_lower(y); }, 5000);
    expect_at(browser, y, "012");
    EXPECT_GE(events.before.size(), 2u);
}

TEST_F(BrowserHostTest, AddressesLongerThanAPathBufferArriveWhole)
{
    ASSERT_EQ(browser.create(parent.hwnd(), RECT{0, 0, 640, 380}, &events), S_OK);
    std::string anchor;
    for (int i = 0; i < 1200; ++i)
        anchor += static_cast<char>('a' + i % 26);
    std::string x = pages.path("x.htm");
    ASSERT_EQ(browser.navigate(x + "#" + anchor), S_OK);
    pump_messages_until([&] { return !browser.location_url().empty(); }, 5000);
    expect_at(browser, x, anchor);
}

// Without an HTML engine the control has no document: reloading fails and the
// type is not known. Neither may harm the control.
TEST_F(BrowserHostTest, ReloadAndDocumentTypeAnswerWithoutHarm)
{
    ASSERT_EQ(browser.create(parent.hwnd(), RECT{0, 0, 640, 380}, &events), S_OK);
    std::string x = pages.path("x.htm");
    ASSERT_EQ(browser.navigate(x + "#007"), S_OK);
    pump_messages_for(100);

    HRESULT reload = browser.refresh();
    std::string type;
    HRESULT typed = browser.document_type(type);
    std::printf("refresh: 0x%08lx, get_Type: 0x%08lx \"%s\"\n", static_cast<unsigned long>(reload),
                static_cast<unsigned long>(typed), type.c_str());
    if (FAILED(typed)) {
        EXPECT_EQ(type, "");
    }
    EXPECT_EQ(browser.document_type(), type);
    pump_messages_for(100);
    expect_at(browser, x, "007");
}

TEST_F(BrowserHostTest, OnlyKeyMessagesAreOfferedToTheControl)
{
    MSG key{};
    key.message = WM_KEYDOWN;
    key.wParam = VK_TAB;
    EXPECT_FALSE(browser.translate_accelerator(&key));  // no control yet

    ASSERT_EQ(browser.create(parent.hwnd(), RECT{0, 0, 640, 380}, &events), S_OK);
    key.hwnd = browser.window();
    MSG click = key;
    click.message = WM_LBUTTONDOWN;
    EXPECT_FALSE(browser.translate_accelerator(&click));
    EXPECT_FALSE(browser.translate_accelerator(nullptr));
    // Whether the control wants a Tab is its business; it must answer.
    bool taken = browser.translate_accelerator(&key);
    std::printf("Tab taken by the control: %d\n", taken ? 1 : 0);
    key.message = WM_KEYUP;
    browser.translate_accelerator(&key);
    EXPECT_TRUE(browser.is_created());
}

TEST_F(BrowserHostTest, DestroyRemovesTheControlAndItsEvents)
{
    ASSERT_EQ(browser.create(parent.hwnd(), RECT{0, 0, 640, 380}, &events), S_OK);
    HWND control = browser.window();
    ASSERT_TRUE(IsWindow(control));
    browser.destroy();
    EXPECT_FALSE(browser.is_created());
    EXPECT_EQ(browser.window(), nullptr);
    pump_messages_for(50);
    EXPECT_FALSE(IsWindow(control));
    EXPECT_EQ(GetWindow(parent.hwnd(), GW_CHILD), nullptr);

    size_t heard = events.count();
    EXPECT_EQ(browser.navigate(pages.path("x.htm")), E_UNEXPECTED);
    EXPECT_EQ(browser.refresh(), E_UNEXPECTED);
    EXPECT_EQ(browser.location_url(), "");
    pump_messages_for(50);
    EXPECT_EQ(events.count(), heard);
    browser.destroy();  // a second time is harmless
}

BOOL CALLBACK count_window(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int child_windows(HWND parent)
{
    int n = 0;
    EnumChildWindows(parent, count_window, reinterpret_cast<LPARAM>(&n));
    return n;
}

int thread_windows()
{
    int n = 0;
    EnumThreadWindows(GetCurrentThreadId(), count_window, reinterpret_cast<LPARAM>(&n));
    return n;
}

TEST_F(BrowserHostTest, FiftyLivesLeaveNoWindowsObjectsOrMemoryBehind)
{
    std::string x = pages.path("x.htm");
    auto one_life = [&] {
        ASSERT_EQ(browser.create(parent.hwnd(), RECT{0, 0, 640, 380}, &events), S_OK);
        EXPECT_EQ(BrowserHost::container_objects_alive(), 2);
        ASSERT_EQ(browser.navigate(x + "#007"), S_OK);
        pump_messages_for(5);
        browser.destroy();
        pump_messages_for(5);
        EXPECT_EQ(BrowserHost::container_objects_alive(), 0);
    };
    one_life();  // warm-up: the control's libraries load once
    HANDLE self = GetCurrentProcess();
    // GetGuiResources answers 0 under Wine; on Windows it counts.
    DWORD user = GetGuiResources(self, GR_USEROBJECTS);
    DWORD gdi = GetGuiResources(self, GR_GDIOBJECTS);
    int threads = thread_windows();
    PROCESS_MEMORY_COUNTERS memory{};
    ASSERT_TRUE(GetProcessMemoryInfo(self, &memory, sizeof memory));
    SIZE_T committed = memory.PagefileUsage;
    DWORD start = GetTickCount();
    for (int i = 0; i < 50 && !HasFatalFailure(); ++i)
        one_life();
    ASSERT_TRUE(GetProcessMemoryInfo(self, &memory, sizeof memory));
    std::printf(
        "50 lives: %lu ms; USER objects %lu -> %lu, GDI objects %lu -> %lu, "
        "thread windows %d -> %d, committed bytes %lu -> %lu\n",
        GetTickCount() - start, user, GetGuiResources(self, GR_USEROBJECTS), gdi,
        GetGuiResources(self, GR_GDIOBJECTS), threads, thread_windows(), static_cast<unsigned long>(committed),
        static_cast<unsigned long>(memory.PagefileUsage));
    EXPECT_EQ(child_windows(parent.hwnd()), 0);
    EXPECT_EQ(thread_windows(), threads);
    EXPECT_EQ(GetGuiResources(self, GR_USEROBJECTS), user);
    EXPECT_EQ(GetGuiResources(self, GR_GDIOBJECTS), gdi);
    EXPECT_LT(memory.PagefileUsage, committed + 1024 * 1024);
    EXPECT_GE(events.before.size(), 51u);
}

}  // namespace
