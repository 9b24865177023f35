#include "ui/tree_control_win32.h"

#include "base/log.h"
#include "framework/clipboard_win32.h"
#include "framework/handlers_win32.h"
#include "inventory/inventory.h"
#include "res/resource.h"
#include "ui/window_state_win32.h"

mtrc::mtrc() { write_log("mtrc::mtrc () OK ...\n"); }

mtrc::~mtrc() { write_log("mtrc::~mtrc () OK ...\n"); }

bool mtrc::Create(CWnd* parent, const RECT& rect)
{
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                        TVS_SHOWSELALWAYS;
    if (m_hWnd || !CTreeCtrl::Create(style, rect, parent->m_hWnd, IDC_TREE))
        return false;
    if (SubclassWindow(GetSafeHwnd()))
        return true;
    ::DestroyWindow(CTreeCtrl::Detach());
    return false;
}

void mtrc::Release()
{
    UnsubclassWindow();
    CTreeCtrl::Detach();
}

const MessageMap& mtrc::GetMessageMap() const
{
    static const MessageMap map(&(CWnd::GetMessageMap()), {
                                                              on_mouse(WM_LBUTTONDOWN, &mtrc::OnLButtonDown),
                                                              on_destroy(&mtrc::OnDestroy),
                                                              on_key_up(&mtrc::OnKeyUp),
                                                          });
    return map;
}

void mtrc::OnDestroy()
{
    // The control's own procedure ends its window; no call reaches it after.
    Default();
    CTreeCtrl::Detach();
}

// Key releases never reach the control: a selection made with the keys
// reads and shows nothing, only a click does.
void mtrc::OnKeyUp(UINT, UINT, UINT) {}

bool mtrc::PreTranslateMessage(MSG* msg)
{
    if (msg->hwnd != m_hWnd || !is_copy_key(*msg))
        return false;
    window_state().result_list.CopyRows(false);
    return true;
}

void mtrc::OnLButtonDown(UINT, POINT)
{
    // The control moves the selection (or opens or closes an item) first;
    // it returns once the button is up again.
    Default();
    if (!m_hWnd)
        return;
    Inventory& program = inventory();
    mbox& results = window_state().result_list;
    // A read that has ended goes into its list before this click looks at
    // the chain.
    program.wmi.collect();
    HTREEITEM selected = GetSelectedItem();
    HTREEITEM root = GetRootItem();
    if (selected == root) {
        // The computer: everything read, the report written and shown from
        // its top. From now on a finished WMI read fills nothing by itself.
        // One report per full read: the emptied result list has the overview
        // page read what is unread and write the report; the click itself
        // writes none (it wrote a second one before).
        program.read_all = 1;
        results.ShowList(nullptr);
        return;
    }
    if (!selected)
        return;
    // Each tree item is its own list (its position in the chain), also when
    // another list has the same name.
    QueryList* list = list_at(program.first_list.get(), static_cast<int>(GetItemData(selected)));
    if (!list)
        return;
    if (list->pending) {
        // A WMI read that would overlap a running one is ignored; the list
        // stays unread and a later click reads it (a stalled read is given
        // up for it). A list of both kinds has its registry half read when
        // its WMI half is handed over, never beside it.
        if (list->is_wmi)
            program.wmi.start_cwmi(list);
        else if (list->is_reg)
            program.wmi.read_rkey(list);
    } else {
        results.ShowList(list);
    }
}
