// The application object's registration, the window thread's message loop
// with the pre-translation by the main frame and the idle passes, and the
// application's document commands.
#include "framework/winapp_win32.h"

#include "base/window_side.h"
#include "framework/doctemplate_win32.h"
#include "framework/filedialog_win32.h"
#include "framework/framework_ids.h"
#include "framework/framewnd_win32.h"

namespace {
CWinApp* g_app = nullptr;

void* current_main_window() { return g_app ? g_app->main_window : nullptr; }
std::string current_title() { return g_app ? g_app->app_title : std::string(); }
}  // namespace

CWinApp::CWinApp()
{
    g_app = this;
    // The window side (base/) sends the core's commands to this window and
    // captions its boxes with this application's title.
    set_main_window_source(current_main_window);
    set_caption_source(current_title);
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

const CommandMap& CWinApp::GetCommandMap() const
{
    static const CommandMap map(&(CCmdTarget::GetCommandMap()),
                                {
                                    command_handler(ID_APP_EXIT, &CWinApp::OnAppExit),
                                });
    return map;
}

CWinApp* AfxGetApp() { return g_app; }

CFrameWnd* CWinApp::GetMainFrame() const
{
    return dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(main_window));
}

int RunMessageLoop(CWinApp& app)
{
    MSG msg{};
    long idle_count = 0;
    for (;;) {
        // Idle passes while the queue is empty, until the application wants
        // no more of them.
        bool more_idle = true;
        while (more_idle && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
            more_idle = app.OnIdle(idle_count++) != 0;
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        // The main frame sees every message of the thread first (keys for
        // the frame itself, then for the windows under it).
        CFrameWnd* frame = app.GetMainFrame();
        if (frame && frame->PreTranslateMessage(&msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        // A paint or a timer tick changes no command state: no new idle pass.
        if (msg.message != WM_PAINT && msg.message != WM_TIMER)
            idle_count = 0;
    }
    return static_cast<int>(msg.wParam);
}

int CWinApp::OnIdle(long count)
{
    if (count == 0) {
        if (CFrameWnd* frame = GetMainFrame())
            frame->UpdateCommandStates();
    }
    return 0;
}

void CWinApp::AddDocTemplate(std::unique_ptr<CDocTemplate> doc_template)
{
    doc_template_ = std::move(doc_template);
}

void CWinApp::OnFileNew()
{
    if (doc_template_)
        doc_template_->OpenDocumentFile(std::string());
}

void CWinApp::OnFileOpen()
{
    // Any file: the template has no filter of its own.
    CFileDialog dialog(true, "", "", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, "All Files (*.*)|*.*||", nullptr);
    if (dialog.DoModal() != IDOK)
        return;
    OpenDocumentFile(dialog.GetPathName());
}

bool CWinApp::OpenDocumentFile(const std::string& path)
{
    return doc_template_ && doc_template_->OpenDocumentFile(path) != nullptr;
}

void CWinApp::OnAppExit()
{
    if (main_window)
        PostMessageA(main_window, WM_CLOSE, 0, 0);
}
