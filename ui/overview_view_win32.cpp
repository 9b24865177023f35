// The overview page view: the report in the browser control, the "List
// View" band and the result list, laid out again on every paint.
#include "ui/overview_view_win32.h"

#include "base/log.h"
#include "base/platform.h"
#include "config/query_list.h"
#include "framework/document_win32.h"
#include "framework/gdi_win32.h"
#include "framework/handlers_win32.h"
#include "framework/msgbox_win32.h"
#include "inventory/inventory.h"
#include "res/resource.h"
#include "ui/caption_band_win32.h"
#include "ui/icon_files_win32.h"
#include "ui/tree_view_win32.h"
#include "ui/window_state_win32.h"

#include <cstdio>

namespace {

// Height of the list below the page outside check-box mode.
constexpr int LIST_STRIP = 100;
// Narrowest column when the list's width is shared out.
constexpr unsigned MIN_COLUMN_WIDTH = 100;

// The report, at the anchor of the list with the ID number (three digits
// at least), or from its top for none.
std::string report_address(const std::string& report_path, const QueryList* shown)
{
    if (!shown)
        return report_path;
    char anchor[16];
    std::snprintf(anchor, sizeof anchor, "#%03i", shown->id);
    return report_path + anchor;
}

}  // namespace

mhtm::mhtm() { write_log("mhtm::mhtm () OK ...\n"); }

mhtm::~mhtm() { write_log("mhtm::~mhtm () OK ...\n"); }

const MessageMap& mhtm::GetMessageMap() const
{
    static const MessageMap map(&(CHtmlView::GetMessageMap()),
                                {
                                    on_destroy(&mhtm::OnDestroy),
                                    on_size(&mhtm::OnSize),
                                    on_notify(LVN_ENDLABELEDITA, IDC_RESULT_LIST, &mhtm::OnEndLabelEdit),
                                    on_notify(LVN_ENDLABELEDITW, IDC_RESULT_LIST, &mhtm::OnEndLabelEdit),
                                    on_notify(LVN_COLUMNCLICK, IDC_RESULT_LIST, &mhtm::OnColumnClick),
                                });
    return map;
}

void mhtm::OnInitialUpdate()
{
    CHtmlView::OnInitialUpdate();
    if (!list_) {
        mbox& box = window_state().result_list;
        if (box.Create(this, RECT{0, 0, 0, 0}))
            list_ = &box;
        else
            AfxMessageBox("Failed to create mbox!");
    }
    if (list_) {
        RECT client = GetClientRect();
        list_->MoveWindow(0, client.bottom - LIST_STRIP, client.right - ::GetSystemMetrics(SM_CXDLGFRAME),
                          LIST_STRIP);
        list_->SetExtendedStyle(list_->GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    }
    write_icons(inventory().gui.temp_dir, tree_image_list(), m_hWnd);
    write_log("  OnInitialUpdate OK ...\n");
}

namespace {

// The split line: the page above, the band and the list below. Below a
// client height of 100 it lies above the view and the list fills it.
int split_line(const mbox& results, const RECT& client)
{
    const int height = client.bottom - client.top;
    return results.check_mode ? height / 2 : height - LIST_STRIP;
}

}  // namespace

void mhtm::OnDraw(CDC* dc)
{
    // On purpose the layout is made here, on every paint, as the view has
    // always done it: so it follows the check-box mode (its command
    // repaints). OnSize makes it on every size change as well.
    Layout();
    const RECT client = GetClientRect();
    draw_caption_band(*dc, client, split_line(window_state().result_list, client), IDS_LIST_CAPTION);
}

void mhtm::OnSize(UINT type, int width, int height)
{
    CHtmlView::OnSize(type, width, height);
    // The layout follows every size change, not only the next paint: a view
    // that the page covers is never painted again (under Wine), and the
    // page would keep the whole view, covering band and list.
    Layout();
    Invalidate();
}

void mhtm::Layout()
{
    const mbox& results = window_state().result_list;
    const RECT client = GetClientRect();
    const int split = split_line(results, client);
    if (GetBrowserWindow())
        SetBrowserRect(RECT{0, 0, client.right, split > 0 ? split : 0});
    if (!list_ || !list_->m_hWnd)
        return;
    const int list_top = split + CAPTION_BAND_HEIGHT;
    list_->MoveWindow(0, list_top, client.right, client.bottom - list_top);
    if (const unsigned columns = results.column_count) {
        // Shared out in unsigned arithmetic, as wide as the list less a
        // scroll bar; sideways scrolling takes over below 100 pixels each.
        unsigned width = static_cast<unsigned>(client.right - ::GetSystemMetrics(SM_CYHSCROLL)) / columns;
        if (width < MIN_COLUMN_WIDTH)
            width = MIN_COLUMN_WIDTH;
        for (unsigned column = 0; column < columns; ++column)
            list_->SetColumnWidth(static_cast<int>(column), static_cast<WORD>(width));
    }
    list_->Invalidate();
}

void mhtm::OnShow()
{
    if (CDocument* document = GetDocument()) {
        if (std::optional<std::string> computer = platform::environment_variable("ComputerName"))
            document->SetTitle(*computer);
    }
    Inventory& program = inventory();
    const mbox& results = window_state().result_list;
    if (!results.current_list) {
        // Everything still unread is read here, on the window thread.
        ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
        program.read_lists();
        program.write_report();
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    }
    const std::string& report_path = program.gui.htm_path;
    Navigate(report_address(report_path, results.current_list));
    // Navigation goes on in the control: the address may still be the
    // one shown before.
    std::string location = GetLocationURL();
    if (!location.empty())
        write_log("  %s, %s\n", location.c_str(), GetType().c_str());
    write_log("mhtm::OnShow %s\n", report_path.c_str());
}

void mhtm::Reload()
{
    // Fails without a document in the control (no HTML engine): nothing to
    // reload then.
    Refresh();
}

void mhtm::OnDestroy()
{
    // The list window goes with this one; the result list lets it go now,
    // while the window still exists.
    if (list_)
        list_->Release();
    list_ = nullptr;
    CHtmlView::OnDestroy();
}

LRESULT mhtm::OnEndLabelEdit(NMHDR*)
{
    // Labels may be edited in place, but the list keeps what it read.
    return FALSE;
}

LRESULT mhtm::OnColumnClick(NMHDR* header)
{
    if (list_)
        list_->SortByColumn(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
    return 0;
}
