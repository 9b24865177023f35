// The static splitter: one row of panes side by side, each a view, with a
// bar between two columns that the mouse drags. The splitter draws its bars
// and the border around each pane through OnDrawSplitter, which a derived
// splitter overrides to draw them its own way.
#pragma once

#include "framework/view_win32.h"
#include "framework/framework_ids.h"

#include <vector>

class CDC;

class CSplitterWnd : public CWnd {
public:
    // What OnDrawSplitter draws.
    enum ESplitType { splitBox = 0, splitBar = 1, splitIntersection = 2, splitBorder = 3 };

    CSplitterWnd() = default;

    // One row of columns, as child window id of parent. Only one row is
    // made; false for any other count.
    bool CreateStatic(CWnd* parent, int rows, int columns, DWORD style = WS_CHILD | WS_VISIBLE,
                      UINT id = AFX_IDW_PANE_FIRST);
    // The pane of the row and column: a view of the factory's class with
    // the context's document; size.cx is the column's ideal width.
    bool CreateView(int row, int column, ViewFactory factory, SIZE size, CCreateContext* context);
    // The pane's window, none when it was not made.
    CWnd* GetPane(int row, int column) const;
    // The window ID of the pane of the row and column.
    static UINT IdFromRowCol(int row, int column) { return AFX_IDW_PANE_FIRST + row * 16 + column; }

    int GetRowCount() const { return 1; }
    int GetColumnCount() const { return static_cast<int>(columns_.size()); }
    // The column's width: the ideal width it gets when there is room, and
    // the least width it is shown at (a narrower column is hidden).
    void SetColumnInfo(int column, int ideal, int minimum);
    void GetColumnInfo(int column, int& current, int& minimum) const;

    // Places the panes and bars in the client area.
    virtual void RecalcLayout();
    // Draws one part; without a device context the part is invalidated.
    // The base draws a pane border as a two-pixel sunken edge and a bar in
    // the button face colour.
    virtual void OnDrawSplitter(CDC* dc, ESplitType type, const RECT& rect);

protected:
    const MessageMap& GetMessageMap() const override;
    void OnSize(UINT type, int width, int height);
    void OnPaint();
    void OnLButtonDown(UINT flags, POINT point);
    void OnMouseMove(UINT flags, POINT point);
    void OnLButtonUp(UINT flags, POINT point);
    LRESULT OnCaptureChanged(WPARAM, LPARAM);
    bool OnSetCursor(HWND window, UINT hit, UINT message);

    // Geometry in pixels: the drawn width of a bar, the space between two
    // columns' pane borders (where the bar is drawn), how far a bar reaches
    // over the borders beside it, and the border around each pane.
    int splitter_width_ = 7;
    int splitter_gap_ = 7;
    int border_share_ = 1;
    int pane_border_ = 2;

private:
    struct Column {
        int ideal = 0;
        int minimum = 0;
        int current = 0;
    };
    // The outer rectangle of a column's cell (pane and border), and the bar
    // after the column.
    RECT CellRect(int column) const;
    RECT BarRect(int column) const;
    // The bar under the point, -1 for none.
    int HitBar(POINT point) const;

    std::vector<Column> columns_;
    std::vector<int> cell_left_;
    int tracking_ = -1;  // the bar being dragged
    int track_offset_ = 0;
};
