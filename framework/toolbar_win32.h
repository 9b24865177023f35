// The toolbar: a row of buttons from one bitmap strip, each sending its
// command to the frame. In the idle pass a button is enabled when some
// command target handles its command.
#pragma once

#include "framework/controlbar_win32.h"
#include "framework/gdi_win32.h"
#include "framework/framework_ids.h"

class CToolBar : public CControlBar {
public:
    bool Create(CWnd* parent, DWORD bar_style = CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);
    // The bitmap strip of the buttons' images (images of the image size,
    // 16 by 16 unless set otherwise), its greys mapped to the button face.
    bool LoadBitmap(UINT resource_id);
    // The buttons in order; ID_SEPARATOR makes a separator. The images are
    // taken in order by the buttons that are not separators.
    bool SetButtons(const UINT* ids, int count);
    void SetSizes(SIZE button, SIZE image);

    int GetCount() const;
    UINT GetItemID(int index) const;
    int CommandToIndex(UINT id) const;
    void GetItemRect(int index, RECT* rect) const;
    // TBSTATE_ bits of the button with the command.
    UINT GetButtonState(UINT id) const;
    void SetButtonState(UINT id, UINT state);
    void CheckButton(UINT id, bool pressed);
    void EnableButton(UINT id, bool enabled);

    int Place(const RECT& client, int y) override;
    void UpdateCommandStates(CFrameWnd& frame) override;

private:
    CBitmap bitmap_;
    SIZE image_size_{16, 16};
};
