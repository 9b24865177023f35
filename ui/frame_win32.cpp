#include "ui/frame_win32.h"

#include "base/log.h"
#include "base/text_file.h"
#include "framework/handlers_win32.h"
#include "framework/msgbox_win32.h"
#include "framework/winapp_win32.h"
#include "inventory/inventory.h"
#include "res/resource.h"
#include "ui/document_win32.h"
#include "ui/overview_view_win32.h"
#include "ui/result_list_win32.h"
#include "ui/tree_view_win32.h"
#include "ui/window_state_win32.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int TREE_PANE_WIDTH = 250;
// The smallest frame the user can size: the menu bar and the toolbar whole,
// the tree pane at its width with room beside it for the list, and both
// status panes.
constexpr int MIN_FRAME_WIDTH = TREE_PANE_WIDTH + 230;
constexpr int MIN_FRAME_HEIGHT = 360;

}  // namespace

mwin* main_frame()
{
    CWinApp* application = AfxGetApp();
    return application ? dynamic_cast<mwin*>(application->GetMainFrame()) : nullptr;
}

// ---- toolbar and splitter ---------------------------------------------------

mtbr::mtbr() { write_log("mtbr::mtbr () OK ...\n"); }

mtbr::~mtbr() { write_log("mtbr::~mtbr () OK ...\n"); }

mspw::mspw()
{
    splitter_width_ = 5;
    splitter_gap_ = 5;
    border_share_ = 0;
    pane_border_ = 1;
    write_log("mspw::mspw () OK ...\n");
}

mspw::~mspw() { write_log("mspw::~mspw () OK ...\n"); }

void mspw::OnDrawSplitter(CDC* dc, ESplitType type, const RECT& rect)
{
    // A pane's border is one sunken pixel; everything else is drawn as usual.
    if (dc && type == splitBorder) {
        dc->Draw3dRect(rect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        return;
    }
    CSplitterWnd::OnDrawSplitter(dc, type, rect);
}

// ---- the frame --------------------------------------------------------------

mwin::mwin() { write_log("mwin::mwin () OK ...\n"); }

mwin::~mwin()
{
    if (window_state().toolbar == &toolbar_)
        window_state().toolbar = nullptr;
    write_log("mwin::~mwin () OK ...\n");
}

const MessageMap& mwin::GetMessageMap() const
{
    static const MessageMap map(&(CFrameWnd::GetMessageMap()),
                                {
                                    on_create(&mwin::OnCreate),
                                    on_size(&mwin::OnSize),
                                    on_message(WM_GETMINMAXINFO, &mwin::OnGetMinMaxInfo),
                                    on_command_range(ID_FILL_TREE, ID_SAVE_QUERIES, &mwin::OnListCommand),
                                    on_command(ID_STATUS_TEXT, &mwin::OnStatusText),
                                });
    return map;
}

int mwin::OnCreate(CREATESTRUCTA* create)
{
    // The framework's creation makes the client: the splitter and the views.
    // When that fails (its box was shown) the frame stays, without bars and
    // panes, and the program runs on with what exists.
    if (CFrameWnd::OnCreate(create) == -1)
        return 0;

    static const UINT buttons[] = {ID_FILE_OPEN, ID_FILE_SAVE, ID_CHECK_MODE, ID_SEPARATOR};
    if (!toolbar_.Create(this, CBRS_TOP | CBRS_TOOLTIPS) || !toolbar_.LoadBitmap(IDR_MAINFRAME) ||
        !toolbar_.SetButtons(buttons, static_cast<int>(std::size(buttons)))) {
        AfxMessageBox("Failed to create Toolbar !");
        return 0;
    }
    if (!status_bar_.Create(this)) {
        AfxMessageBox("Failed to create Statusbar !");
        return 0;
    }
    static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_LIST};
    // Pane 1 has no string of its own: no error.
    status_bar_.SetIndicators(indicators, static_cast<int>(std::size(indicators)));

    CGUI& gui = inventory().gui;
    if (gui.ft)
        toolbar_.ModifyStyle(0, TBSTYLE_FLAT);
    RECT second{};
    toolbar_.GetItemRect(1, &second);
    if (second.top == 0)
        toolbar_.SetSizes(SIZE{23, second.bottom}, SIZE{16, 16});
    window_state().toolbar = &toolbar_;
    RecalcLayout();

    // Placement: the whole screen, or where the settings say; computed
    // defaults are written back, a placement the user makes is not.
    const int w = ::GetSystemMetrics(SM_CXFULLSCREEN) + 1;
    const int h = ::GetSystemMetrics(SM_CYFULLSCREEN) + ::GetSystemMetrics(SM_CYCAPTION);
    if (gui.fs) {
        MoveWindow(0, 0, w, h, true);
        return 0;
    }
    gui.fill_missing_placement(w, h);
    MoveWindow(gui.xo, gui.yo, gui.xs, gui.ys, true);
    return 0;
}

bool mwin::OnCreateClient(CREATESTRUCTA*, CCreateContext* context)
{
    if (!splitter_.CreateStatic(this, 1, 2)) {
        AfxMessageBox("Failed to Create Static Splitter Window !");
        return false;
    }
    if (!splitter_.CreateView(0, 0, make_view<mvwt>, SIZE{0, 0}, context)) {
        AfxMessageBox("Failed to create pane 0 !");
        return false;
    }
    if (!splitter_.CreateView(0, 1, make_view<mhtm>, SIZE{0, 0}, context)) {
        AfxMessageBox("Failed to create pane 2 !");
        return false;
    }
    splitter_.SetColumnInfo(0, TREE_PANE_WIDTH, 0);
    client_made_ = true;
    return true;
}

mvwt* mwin::TreeView() const { return splitter_.m_hWnd ? dynamic_cast<mvwt*>(splitter_.GetPane(0, 0)) : nullptr; }

mhtm* mwin::OverviewView() const
{
    return splitter_.m_hWnd ? dynamic_cast<mhtm*>(splitter_.GetPane(0, 1)) : nullptr;
}

LRESULT mwin::OnGetMinMaxInfo(WPARAM, LPARAM lparam)
{
    auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
    Default();
    info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, MIN_FRAME_WIDTH);
    info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, MIN_FRAME_HEIGHT);
    return 0;
}

void mwin::OnSize(UINT type, int width, int height)
{
    CFrameWnd::OnSize(type, width, height);
    CWnd* left = splitter_.m_hWnd ? splitter_.GetPane(0, 0) : nullptr;
    CWnd* right = splitter_.m_hWnd ? splitter_.GetPane(0, 1) : nullptr;
    if (!left || !right || !status_bar_.m_hWnd)
        return;
    const int frame_border = ::GetSystemMetrics(SM_CXDLGFRAME);
    RECT l = left->GetWindowRect();
    RECT r = right->GetWindowRect();
    const int w0 = (l.right - l.left) - frame_border;
    const int w1 = (r.right - r.left) - frame_border;
    // The message pane lines up with the tree pane, the list pane takes
    // the rest; a pane too narrow for that keeps the widths it had.
    if (w0 > 0 && w1 > 0) {
        status_bar_.SetPaneInfo(0, status_bar_.GetItemID(0), SBPS_NORMAL, w0);
        status_bar_.SetPaneInfo(1, status_bar_.GetItemID(1), SBPS_STRETCH, 0);
    }
    status_bar_.SetPaneStyle(0, SBPS_NOBORDERS);
    status_bar_.Invalidate(true);
}

mwin::ListCommandHandler mwin::ListCommandHandlerFor(UINT command)
{
    // One entry per command of the range ID_FILL_TREE to ID_SAVE_QUERIES; a
    // command of the range without an entry does nothing of its own.
    struct Entry {
        UINT command;
        ListCommandHandler handler;
    };
    static const Entry table[] = {
        {ID_FILL_TREE, &mwin::OnFillTree},     {ID_FILL_RESULT, &mwin::OnFillResult},
        {ID_SHOW_REPORT, &mwin::OnShowReport}, {ID_RELOAD_PAGE, &mwin::OnReloadPage},
        {ID_CHECK_MODE, &mwin::OnCheckMode},   {ID_SAVE_QUERIES, &mwin::OnSaveQueries},
    };
    for (const Entry& entry : table)
        if (entry.command == command)
            return entry.handler;
    return nullptr;
}

void mwin::OnListCommand(UINT command)
{
    mvwt* tree = TreeView();
    mhtm* overview = OverviewView();
    if (!tree || !overview)
        return;
    // The worker's ID_FILL_RESULT comes here after its read has ended: the
    // read is handed over first, here on the window thread.
    inventory().wmi.collect();
    if (ListCommandHandler handler = ListCommandHandlerFor(command))
        (this->*handler)(*tree, *overview);
    OnStatusText();
}

void mwin::OnFillTree(mvwt& tree, mhtm&) { tree.FillTree(); }

void mwin::OnFillResult(mvwt&, mhtm&) { window_state().result_list.ShowList(inventory().wmi.cur_list); }

void mwin::OnShowReport(mvwt&, mhtm& overview) { overview.OnShow(); }

void mwin::OnReloadPage(mvwt&, mhtm& overview) { overview.Reload(); }

void mwin::OnCheckMode(mvwt&, mhtm&)
{
    mbox& list = window_state().result_list;
    list.check_mode = !list.check_mode;
    const bool on = list.check_mode != 0;
    toolbar_.CheckButton(ID_CHECK_MODE, on);
    list.SetCheckBoxes(on);
    if (HMENU menu = GetMenu())
        ::CheckMenuItem(menu, ID_CHECK_MODE, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    if (on)
        list.ShowChecks();
    // The overview view lays itself out anew: in check-box mode the
    // list takes the lower half.
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void mwin::OnSaveQueries(mvwt&, mhtm& overview)
{
    if (auto* document = dynamic_cast<mdoc*>(overview.GetDocument()))
        document->save_queries();
}

void mwin::OnStatusText()
{
    if (!status_bar_.m_hWnd)
        return;
    Inventory& program = inventory();
    // The worker's ID_STATUS_TEXT: its ended read goes into its list first.
    program.wmi.collect();
    std::string text;
    std::string name;
    QueryList* reading = program.wmi.cur_list;
    if (reading && reading->read_failed && !reading->busy && !program.read_all) {
        // Failures are said: a failed read of a clicked list shows that list
        // (what was read, or nothing) and the first pane says that it failed.
        // A full read shows the report from its top whatever failed in it.
        reading->read_failed = 0;
        window_state().result_list.ShowList(reading);
        status_bar_.SetPaneText(0, "Reading " + reading->name.value_or(std::string()) +
                                       " failed; the log has the details: " + program.gui.log_path);
    }
    if (reading && reading->busy) {
        name = reading->name.value_or(std::string());
        text = " List: " + name + " reading ...";
    }
    QueryList* shown = window_state().result_list.current_list;
    if (name.empty() && shown) {
        name = shown->name.value_or(std::string());
        text = format_text(" List: %s, ID: %03i, Items: %03i", name.c_str(), shown->id, shown->item_count);
    }
    status_bar_.SetPaneText(1, text, true);
}

bool mwin::PreTranslateMessage(MSG* msg)
{
    // Every key of the window thread comes here first, whichever control
    // has the focus; the keys are not taken from that control.
    if (msg->message == WM_KEYDOWN) {
        // Ctrl+O opens a query file, as File > Open... does; the key is
        // taken, so that the page does not open a file of its own.
        if (msg->wParam == 'O' && ::GetKeyState(VK_CONTROL) < 0 && ::GetKeyState(VK_MENU) >= 0) {
            ::PostMessageA(m_hWnd, WM_COMMAND, ID_FILE_OPEN, 0);
            return true;
        }
        if (msg->wParam == VK_F5) {
            ::PostMessageA(m_hWnd, WM_COMMAND, ID_RELOAD_PAGE, 0);
        } else if (msg->wParam == VK_RETURN) {
            // On purpose: Enter (in the tree too) switches check-box mode and
            // writes the report at once, before the posted commands run.
            ::PostMessageA(m_hWnd, WM_COMMAND, ID_CHECK_MODE, 0);
            ::PostMessageA(m_hWnd, WM_COMMAND, ID_RELOAD_PAGE, 0);
            inventory().write_report();
        }
    }
    return CFrameWnd::PreTranslateMessage(msg);
}
