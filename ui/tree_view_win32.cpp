#include "ui/tree_view_win32.h"

#include "app/application.h"
#include "framework/handlers_win32.h"
#include "framework/msgbox_win32.h"
#include "framework/resources_win32.h"
#include "base/log.h"
#include "base/platform.h"
#include "base/registry.h"
#include "app/settings.h"
#include "res/resource.h"
#include "ui/frame_win32.h"
#include "ui/result_list.h"

namespace {

// The system's display name of the computer ("My Computer" under Wine).
const char* const COMPUTER_NAME_KEY = "SOFTWARE\\Classes\\CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

constexpr int BAND_HEIGHT = 22;

constexpr int IMAGE_COMPUTER = 0;
constexpr int IMAGE_WMI_LIST = 1;
constexpr int IMAGE_REGISTRY_LIST = 2;

}  // namespace

// ---- the control ------------------------------------------------------------

mtrc::Control::~Control()
{
    if (app().tree.control == this)
        app().tree.control = nullptr;
}

bool mtrc::Control::Create(CWnd* parent, const RECT& rect)
{
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                        TVS_SHOWSELALWAYS;
    if (!tree_.Create(style, rect, parent->m_hWnd, IDC_TREE))
        return false;
    return SubclassWindow(tree_.GetSafeHwnd());
}

const MessageMap& mtrc::Control::GetMessageMap() const
{
    static const MessageMap map(&(CWnd::GetMessageMap()), {
        on_mouse(WM_LBUTTONDOWN, &mtrc::Control::OnLButtonDown),
        {WM_KEYUP, 0, 0, ANY_CODE,
         [](CWnd& w, WPARAM wp, LPARAM lp, LRESULT& r) {
             static_cast<mtrc::Control&>(w).OnKeyUp(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp));
             r = 0;
             return true;
         }},
    });
    return map;
}

// Key releases never reach the control: a selection made with the keys
// reads and shows nothing, only a click does.
void mtrc::Control::OnKeyUp(UINT, UINT, UINT) {}

void mtrc::Control::OnLButtonDown(UINT, POINT)
{
    // The control moves the selection (or opens or closes an item) first;
    // it returns once the button is up again.
    Default();
    if (!m_hWnd)
        return;
    mapp& application = app();
    // A read that has ended goes into its list before this click looks at
    // the chain.
    application.wmi.collect();
    HTREEITEM selected = tree_.GetSelectedItem();
    HTREEITEM root = tree_.GetRootItem();
    if (selected == root) {
        // The computer: everything read, the report written and shown from
        // its top. From now on a finished WMI read fills nothing by itself.
        application.read_all = 1;
        application.OnRWMI();
        application.OnSWMI();
        application.result_list.ShowList(nullptr);
        return;
    }
    if (!selected)
        return;
    // The item's whole text, of any length; every list of that name.
    const std::string text = tree_.GetItemText(selected);
    for_each_list(application.first_list.get(), [&](QueryList& list) {
        if (!list.name || *list.name != text)
            return;
        if (list.pending) {
            // A WMI read that would overlap a running one is ignored; the
            // list stays unread and a later click reads it (a stalled read
            // is given up for it). A list of both kinds has its registry
            // half read when its WMI half is handed over, never beside it.
            if (list.is_wmi)
                application.wmi.start_cwmi(&list);
            else if (list.is_reg)
                application.wmi.read_rkey(&list);
        } else {
            application.result_list.ShowList(&list);
        }
    });
}

// ---- the view ---------------------------------------------------------------

mvwt::mvwt() { write_log("mvwt::mvwt () OK ...\n"); }

mvwt::~mvwt() { write_log("mvwt::~mvwt () OK ...\n"); }

const MessageMap& mvwt::GetMessageMap() const
{
    static const MessageMap map(&(CView::GetMessageMap()), {
        on_create(&mvwt::OnCreate),
        on_destroy(&mvwt::OnDestroy),
        on_size(&mvwt::OnSize),
    });
    return map;
}

int mvwt::OnCreate(CREATESTRUCTA* create)
{
    // Whatever fails below, the view itself stays.
    if (CView::OnCreate(create) == -1)
        return 0;

    RECT rect = GetClientRect();
    rect.top = BAND_HEIGHT;
    auto control = std::make_unique<mtrc::Control>();
    if (!control->Create(this, rect)) {
        AfxMessageBox("Failed to create mtrc !");
        return 0;
    }
    control_ = std::move(control);
    app().tree.control = control_.get();

    if (!images_.Create(16, 16, ILC_COLOR32 | ILC_MASK, 16, 100)) {
        AfxMessageBox("Failed to create ImageList !");
        return 0;
    }
    if (!icon_strip_.LoadBitmap(IDB_ICON_STRIP))
        AfxMessageBox("Failed to load Bitmap mbmp!");
    if (images_.Add(icon_strip_, RGB(0, 0, 0)) < 0)
        AfxMessageBox("Failed to add Bitmap mbmp!");
    control_->tree().SetImageList(images_.GetSafeHandle(), TVSIL_NORMAL);

    // The query file beside the program (no length limit on the path).
    app().cfg_path = query_file_for(platform::module_file_name());
    app().OnRCFG();
    FillTree();
    return 0;
}

void mvwt::OnDestroy()
{
    if (control_)
        control_->UnsubclassWindow();
    control_.reset();
    CView::OnDestroy();
}

void mvwt::OnSize(UINT, int width, int height)
{
    if (control_ && control_->m_hWnd)
        control_->MoveWindow(0, BAND_HEIGHT + 1, width, height - (BAND_HEIGHT + 2), true);
}

void mvwt::OnDraw(CDC* dc)
{
    const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    HGDIOBJ font = app().gui.win_major >= 6 && app().gui.font.handle()
                       ? static_cast<HGDIOBJ>(app().gui.font.handle())
                       : ::GetStockObject(ANSI_VAR_FONT);
    SelectionGuard keep_font(*dc, font);
    dc->SetBkMode(TRANSPARENT);
    RECT band = GetClientRect();
    band.bottom = band.top + BAND_HEIGHT;
    dc->FillSolidRect(band, face);
    dc->Draw3dRect(band, highlight, shadow);
    std::string caption;
    load_string(IDS_TREE_CAPTION, caption);
    ::DrawTextA(*dc, caption.c_str(), static_cast<int>(caption.size()), &band,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void mvwt::FillTree()
{
    if (!control_)
        return;
    CTreeCtrl& tree = control_->tree();
    tree.DeleteAllItems();
    HTREEITEM parent = TVI_ROOT;
    // Without the computer's name (missing or empty) the lists go to the top
    // level, and the first of them plays the root's part.
    std::optional<std::string> computer = read_rstring("HKLM", COMPUTER_NAME_KEY, nullptr);
    if (computer && !computer->empty())
        parent = tree.InsertItem(*computer, IMAGE_COMPUTER, IMAGE_COMPUTER, TVI_ROOT, TVI_LAST);
    for_each_list(app().first_list.get(), [&](QueryList& list) {
        if (!list.name)
            return;
        if (list.is_wmi)
            tree.InsertItem(*list.name, IMAGE_WMI_LIST, IMAGE_WMI_LIST, parent, TVI_LAST);
        if (list.is_reg)
            tree.InsertItem(*list.name, IMAGE_REGISTRY_LIST, IMAGE_REGISTRY_LIST, parent, TVI_LAST);
    });
    if (parent != TVI_ROOT)
        tree.Expand(parent, TVE_EXPAND);
}

HIMAGELIST tree_image_list()
{
    mwin* frame = main_frame();
    mvwt* view = frame ? frame->TreeView() : nullptr;
    return view ? view->Images() : nullptr;
}
