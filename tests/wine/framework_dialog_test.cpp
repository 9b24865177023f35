// Modal dialogs from a template in memory, message boxes and the file
// dialogs, each closed by the test from a timer while it runs.
#include "framework/dialog_win32.h"
#include "framework/filedialog_win32.h"
#include "framework/handlers_win32.h"
#include "framework/msgbox_win32.h"
#include "framework/winapp_win32.h"

#include "tests/support/window_helpers_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A dialog template with one OK button (IDOK) and a cancel button.
std::vector<WORD> two_button_template()
{
    std::vector<WORD> t;
    auto dword = [&](DWORD value) {
        t.push_back(LOWORD(value));
        t.push_back(HIWORD(value));
    };
    auto text = [&](const wchar_t* value) {
        for (; *value; ++value)
            t.push_back(static_cast<WORD>(*value));
        t.push_back(0);
    };
    auto align = [&] {
        if (t.size() % 2)
            t.push_back(0);
    };
    dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
    dword(0);
    t.push_back(2);  // items
    for (WORD v : {0, 0, 120, 50})
        t.push_back(v);
    t.push_back(0);  // no menu
    t.push_back(0);  // the dialog class
    text(L"Test dialog");
    struct Button {
        WORD id;
        const wchar_t* title;
        WORD x;
    };
    for (const Button& b : {Button{IDOK, L"OK", 5}, Button{IDCANCEL, L"Cancel", 60}}) {
        align();
        dword(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON);
        dword(0);
        for (WORD v : {b.x, WORD(20), WORD(50), WORD(14)})
            t.push_back(v);
        t.push_back(b.id);
        t.push_back(0xFFFF);
        t.push_back(0x0080);  // a button
        text(b.title);
        t.push_back(0);  // no creation data
    }
    return t;
}

std::vector<std::string> g_steps;

// Clicks its OK button from its own timer handler.
class ClickingDialog : public CDialog {
public:
    explicit ClickingDialog(const DLGTEMPLATE* memory) : CDialog(memory) {}
    bool OnInitDialog() override
    {
        g_steps.push_back("init");
        SetTimer(m_hWnd, 1, 10, nullptr);
        return true;
    }
    void OnOK() override
    {
        g_steps.push_back("ok");
        CDialog::OnOK();
    }

protected:
    const MessageMap& GetMessageMap() const override
    {
        static const MessageMap map(&(CDialog::GetMessageMap()), {on_timer(&ClickingDialog::OnTimer)});
        return map;
    }
    void OnTimer(UINT_PTR id)
    {
        g_steps.push_back("timer " + std::to_string(id));
        KillTimer(m_hWnd, id);
        ::SendMessageA(::GetDlgItem(m_hWnd, IDOK), BM_CLICK, 0, 0);
    }
};

TEST(FrameworkDialog, ADialogFromATemplateEndsWithItsOkButton)
{
    std::vector<WORD> memory = two_button_template();
    g_steps.clear();
    ClickingDialog dialog(reinterpret_cast<const DLGTEMPLATE*>(memory.data()));
    EXPECT_EQ(dialog.DoModal(), IDOK);
    std::vector<std::string> expected = {"init", "timer 1", "ok"};
    EXPECT_EQ(g_steps, expected);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(FrameworkDialog, CancelEndsItWithIdCancelAndAMissingTemplateFails)
{
    std::vector<WORD> memory = two_button_template();
    CDialog dialog(reinterpret_cast<const DLGTEMPLATE*>(memory.data()));
    DialogCloser closer([](HWND box) {
        SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, IDCANCEL)));
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(closer.runs, 1);

    CDialog missing(4242u);
    EXPECT_EQ(missing.DoModal(), -1);
}

TEST(FrameworkDialog, TheMessageBoxShowsTextAndTitleAndGivesBackTheButton)
{
    CWinApp app;
    app.app_title = "Polrix";
    std::string caption, text;
    DialogCloser closer([&](HWND box) {
        caption = window_text(box);
        text = window_text(GetDlgItem(box, 0xFFFF));
        SendMessageA(box, WM_COMMAND, IDNO, 0);
    });
    EXPECT_EQ(AfxMessageBox("Failed to create Toolbar !", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(caption, "Polrix");
    EXPECT_EQ(text, "Failed to create Toolbar !");
}

TEST(FrameworkDialog, TheSaveDialogGivesBackThePathWholeEvenWhenItsFirstBufferIsTooSmall)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string path = std::string(temp) + "framework_dialog_test_export.txt";
    CFileDialog dialog(false, "txt", "", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "Text Files (*.txt)|*.txt||",
                       nullptr);
    dialog.set_initial_buffer(8);
    DialogCloser closer([&](HWND box) {
        // The name box of the dialog (a combo box or an edit field).
        HWND name = GetDlgItem(box, 0x47c);
        if (!name)
            name = GetDlgItem(box, 0x480);
        SetWindowTextA(name, path.c_str());
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.GetPathName(), path);
    EXPECT_EQ(closer.runs, 2);  // shown again with a buffer large enough
}

TEST(FrameworkDialog, FiltersTurnTheirBarsIntoZeros)
{
    EXPECT_EQ(file_filter("XML Files (*.xml)|*.xml||"), std::string("XML Files (*.xml)\0*.xml\0\0\0\0", 27));
}

}  // namespace
