#include "framework/splitter_win32.h"

#include "framework/gdi_win32.h"
#include "framework/handlers_win32.h"

#include <algorithm>

bool CSplitterWnd::CreateStatic(CWnd* parent, int rows, int columns, DWORD style, UINT id)
{
    if (rows != 1 || columns < 1)
        return false;
    columns_.assign(static_cast<size_t>(columns), Column());
    cell_left_.assign(static_cast<size_t>(columns), 0);
    std::string name = RegisterClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                     reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr);
    RECT rect{0, 0, 0, 0};
    return CreateEx(0, name, "", style | WS_CHILD | WS_CLIPCHILDREN, rect, parent ? parent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

bool CSplitterWnd::CreateView(int row, int column, ViewFactory factory, SIZE size, CCreateContext* context)
{
    if (row != 0 || column < 0 || column >= GetColumnCount() || GetPane(row, column))
        return false;
    columns_[column].ideal = size.cx;
    RECT rect{0, 0, size.cx, size.cy};
    if (!CView::CreateView(factory, this, IdFromRowCol(row, column), rect, context))
        return false;
    RecalcLayout();
    return true;
}

CWnd* CSplitterWnd::GetPane(int row, int column) const
{
    if (!m_hWnd)
        return nullptr;
    return FromHandlePermanent(::GetDlgItem(m_hWnd, static_cast<int>(IdFromRowCol(row, column))));
}

void CSplitterWnd::SetColumnInfo(int column, int ideal, int minimum)
{
    columns_.at(column).ideal = ideal;
    columns_.at(column).minimum = minimum;
}

void CSplitterWnd::GetColumnInfo(int column, int& current, int& minimum) const
{
    current = columns_.at(column).current;
    minimum = columns_.at(column).minimum;
}

const MessageMap& CSplitterWnd::GetMessageMap() const
{
    static const MessageMap map(&(CWnd::GetMessageMap()),
                                {
                                    on_size(&CSplitterWnd::OnSize),
                                    on_paint(&CSplitterWnd::OnPaint),
                                    on_mouse(WM_LBUTTONDOWN, &CSplitterWnd::OnLButtonDown),
                                    on_mouse(WM_MOUSEMOVE, &CSplitterWnd::OnMouseMove),
                                    on_mouse(WM_LBUTTONUP, &CSplitterWnd::OnLButtonUp),
                                    on_message(WM_CAPTURECHANGED, &CSplitterWnd::OnCaptureChanged),
                                    on_set_cursor(&CSplitterWnd::OnSetCursor),
                                });
    return map;
}

void CSplitterWnd::RecalcLayout()
{
    if (!m_hWnd || columns_.empty())
        return;
    RECT client = GetClientRect();
    int count = GetColumnCount();
    int x = client.left;
    for (int c = 0; c < count; ++c) {
        Column& column = columns_[c];
        cell_left_[c] = x;
        int room = client.right - x - 2 * pane_border_;
        if (c + 1 < count) {
            // Leave the bar's gap and the next column's border.
            room -= splitter_gap_ + 2 * pane_border_;
            column.current = std::min(column.ideal, room);
        } else {
            column.current = room;
        }
        if (column.current < column.minimum || column.current < 0)
            column.current = 0;
        x += column.current + 2 * pane_border_ + splitter_gap_;
    }
    for (int c = 0; c < count; ++c) {
        CWnd* pane = GetPane(0, c);
        if (!pane)
            continue;
        RECT cell = CellRect(c);
        ::InflateRect(&cell, -pane_border_, -pane_border_);
        pane->MoveWindow(cell);
    }
    Invalidate();
}

RECT CSplitterWnd::CellRect(int column) const
{
    RECT client = GetClientRect();
    int left = cell_left_[column];
    return RECT{left, client.top, left + columns_[column].current + 2 * pane_border_, client.bottom};
}

RECT CSplitterWnd::BarRect(int column) const
{
    RECT cell = CellRect(column);
    return RECT{cell.right - border_share_, cell.top, cell.right + splitter_gap_ + border_share_, cell.bottom};
}

int CSplitterWnd::HitBar(POINT point) const
{
    for (int c = 0; c + 1 < GetColumnCount(); ++c) {
        RECT cell = CellRect(c);
        if (point.x >= cell.right && point.x < cell.right + splitter_gap_)
            return c;
    }
    return -1;
}

void CSplitterWnd::OnDrawSplitter(CDC* dc, ESplitType type, const RECT& rect)
{
    if (!dc) {
        ::InvalidateRect(m_hWnd, &rect, TRUE);
        return;
    }
    if (type == splitBorder) {
        RECT edge = rect;
        ::DrawEdge(*dc, &edge, EDGE_SUNKEN, BF_RECT);
        return;
    }
    RECT bar = rect;
    int spare = (rect.right - rect.left) - splitter_width_;
    if (type == splitBar && spare > 0) {
        bar.left += spare / 2;
        bar.right = bar.left + splitter_width_;
    }
    dc->FillSolidRect(bar, ::GetSysColor(COLOR_BTNFACE));
}

void CSplitterWnd::OnSize(UINT, int, int) { RecalcLayout(); }

void CSplitterWnd::OnPaint()
{
    CPaintDC dc(m_hWnd);
    for (int c = 0; c < GetColumnCount(); ++c) {
        if (c + 1 < GetColumnCount())
            OnDrawSplitter(&dc, splitBar, BarRect(c));
        OnDrawSplitter(&dc, splitBorder, CellRect(c));
    }
}

void CSplitterWnd::OnLButtonDown(UINT, POINT point)
{
    int bar = HitBar(point);
    if (bar < 0)
        return;
    tracking_ = bar;
    track_offset_ = point.x - CellRect(bar).right;
    ::SetCapture(m_hWnd);
}

void CSplitterWnd::OnMouseMove(UINT, POINT point)
{
    if (tracking_ < 0)
        return;
    // The column before the bar takes the width up to the pointer.
    int width = point.x - track_offset_ - cell_left_[tracking_] - 2 * pane_border_;
    columns_[tracking_].ideal = std::max(width, 0);
    RecalcLayout();
}

void CSplitterWnd::OnLButtonUp(UINT flags, POINT point)
{
    if (tracking_ < 0)
        return;
    OnMouseMove(flags, point);
    tracking_ = -1;
    ::ReleaseCapture();
}

LRESULT CSplitterWnd::OnCaptureChanged(WPARAM, LPARAM)
{
    tracking_ = -1;
    return 0;
}

bool CSplitterWnd::OnSetCursor(HWND window, UINT hit, UINT)
{
    POINT point;
    ::GetCursorPos(&point);
    ::ScreenToClient(m_hWnd, &point);
    if (window == m_hWnd && hit == HTCLIENT && (tracking_ >= 0 || HitBar(point) >= 0)) {
        ::SetCursor(::LoadCursorA(nullptr, IDC_SIZEWE));
        return true;
    }
    return Default() != 0;
}
