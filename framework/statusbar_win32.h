// The status bar: a row of panes, each named by an indicator (a string
// resource ID; ID_SEPARATOR for the frame's message pane), with a style and
// a width. A pane with SBPS_STRETCH takes the width the others leave.
#pragma once

#include "framework/controlbar_win32.h"
#include "framework/framework_ids.h"

#include <string>
#include <vector>

// Pane styles.
enum : UINT {
    SBPS_NORMAL = 0x0000,
    SBPS_NOBORDERS = 0x0100,  // the text's SBT_NOBORDERS
    SBPS_POPOUT = 0x0200,     // the text's SBT_POPOUT
    SBPS_DISABLED = 0x04000000,
    SBPS_STRETCH = 0x08000000,
};

class CStatusBar : public CControlBar {
public:
    bool Create(CWnd* parent, DWORD bar_style = CBRS_BOTTOM, UINT id = AFX_IDW_STATUS_BAR);
    // One pane per indicator. A pane's text starts as the indicator's
    // string (none when there is no such string) and its width as that
    // text's width; a first ID_SEPARATOR pane is the message pane, without
    // borders and stretched. False when a string was missing (the pane is
    // there all the same).
    bool SetIndicators(const UINT* ids, int count);

    int GetCount() const { return static_cast<int>(panes_.size()); }
    int CommandToIndex(UINT id) const;
    UINT GetItemID(int index) const { return panes_.at(index).id; }
    void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    UINT GetPaneStyle(int index) const { return panes_.at(index).style; }
    void SetPaneStyle(int index, UINT style);
    std::string GetPaneText(int index) const { return panes_.at(index).text; }
    // Sets the text; with update, a pane whose text changed is repainted at
    // once (an unchanged one shows its text already).
    bool SetPaneText(int index, const std::string& text, bool update = true);

    int Place(const RECT& client, int y) override;

private:
    struct Pane {
        UINT id;
        UINT style;
        int width;
        std::string text;
    };
    // Sends the panes' right edges and texts to the control.
    void ApplyPanes();
    void ApplyText(int index);

    std::vector<Pane> panes_;
};
