#include "framework/statusbar_win32.h"

#include "framework/gdi_win32.h"
#include "framework/resources_win32.h"

#include <commctrl.h>

bool CStatusBar::Create(CWnd* parent, DWORD bar_style, UINT id)
{
    // The control sizes itself to its font's height on WM_SIZE; the frame's
    // layout step then puts it in its place.
    DWORD style = WS_VISIBLE | CCS_BOTTOM;
    return CreateControl(parent, STATUSCLASSNAMEA, style, bar_style, id);
}

bool CStatusBar::SetIndicators(const UINT* ids, int count)
{
    bool all_found = true;
    panes_.clear();
    CClientDC dc(m_hWnd);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
    SelectionGuard with_font(dc, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
    for (int i = 0; i < count; ++i) {
        Pane pane{ids[i], SBPS_NORMAL, 0, std::string()};
        if (ids[i] == ID_SEPARATOR) {
            if (i == 0)
                pane.style = SBPS_NOBORDERS | SBPS_STRETCH;
        } else if (!load_string(ids[i], pane.text)) {
            all_found = false;
        }
        if (!pane.text.empty()) {
            SIZE extent{};
            ::GetTextExtentPoint32A(dc, pane.text.data(), static_cast<int>(pane.text.size()), &extent);
            pane.width = extent.cx;
        }
        panes_.push_back(pane);
    }
    ApplyPanes();
    return all_found;
}

int CStatusBar::CommandToIndex(UINT id) const
{
    for (size_t i = 0; i < panes_.size(); ++i) {
        if (panes_[i].id == id)
            return static_cast<int>(i);
    }
    return -1;
}

void CStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const
{
    const Pane& pane = panes_.at(index);
    id = pane.id;
    style = pane.style;
    width = pane.width;
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width)
{
    Pane& pane = panes_.at(index);
    pane.id = id;
    pane.style = style;
    pane.width = width;
    ApplyPanes();
}

void CStatusBar::SetPaneStyle(int index, UINT style)
{
    panes_.at(index).style = style;
    ApplyPanes();
}

bool CStatusBar::SetPaneText(int index, const std::string& text, bool update)
{
    if (index < 0 || index >= GetCount())
        return false;
    panes_[index].text = text;
    ApplyText(index);
    // The control invalidates a part whose text or style changed (Wine's
    // control paints it at once, too); the update paints what is left
    // invalid now. A pane whose text did not change is not painted again:
    // forcing that paint drew the same pixels a second time (every 206 of a
    // full read, each a few milliseconds under Wine).
    if (update && m_hWnd)
        UpdateWindow();
    return true;
}

void CStatusBar::ApplyText(int index)
{
    const Pane& pane = panes_[index];
    WPARAM how = static_cast<WPARAM>(index) | (pane.style & (SBPS_NOBORDERS | SBPS_POPOUT));
    const char* text = (pane.style & SBPS_DISABLED) ? "" : pane.text.c_str();
    SendMessage(SB_SETTEXTA, how, reinterpret_cast<LPARAM>(text));
}

void CStatusBar::ApplyPanes()
{
    if (!m_hWnd || panes_.empty())
        return;
    int total = GetClientRect().right;
    int fixed = 0;
    for (const Pane& pane : panes_) {
        if (!(pane.style & SBPS_STRETCH))
            fixed += pane.width;
    }
    // Only the first stretched pane takes the rest.
    bool stretched = false;
    std::vector<int> edges;
    int right = 0;
    for (const Pane& pane : panes_) {
        int width = pane.width;
        if ((pane.style & SBPS_STRETCH) && !stretched) {
            width = total - fixed > 0 ? total - fixed : 0;
            stretched = true;
        }
        right += width;
        edges.push_back(right);
    }
    SendMessage(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 0; i < GetCount(); ++i)
        ApplyText(i);
}

int CStatusBar::Place(const RECT& client, int y)
{
    // The control's own height for its font.
    SendMessage(WM_SIZE);
    RECT own = GetWindowRect();
    int height = own.bottom - own.top;
    int top = at_top() ? y : y - height;
    ::MoveWindow(m_hWnd, client.left, top, client.right - client.left, height, TRUE);
    ApplyPanes();
    return height;
}
