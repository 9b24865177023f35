#include "framework/toolbar_win32.h"

#include "framework/framewnd_win32.h"

#include <commctrl.h>

#include <vector>

bool CToolBar::Create(CWnd* parent, DWORD bar_style, UINT id)
{
    DWORD style = WS_VISIBLE | CCS_TOP | CCS_NOPARENTALIGN | CCS_NORESIZE;
    if (bar_style & CBRS_TOOLTIPS)
        style |= TBSTYLE_TOOLTIPS;
    if (!CreateControl(parent, TOOLBARCLASSNAMEA, style, bar_style, id))
        return false;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return true;
}

bool CToolBar::LoadBitmap(UINT resource_id) { return bitmap_.LoadMappedBitmap(resource_id); }

bool CToolBar::SetButtons(const UINT* ids, int count)
{
    if (!m_hWnd)
        return false;
    if (bitmap_.handle()) {
        SIZE size = bitmap_.GetSize();
        TBADDBITMAP add{nullptr, reinterpret_cast<UINT_PTR>(bitmap_.handle())};
        SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(image_size_.cx, image_size_.cy));
        if (SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(size.cx / image_size_.cx),
                        reinterpret_cast<LPARAM>(&add)) == -1)
            return false;
    }
    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        button.idCommand = static_cast<int>(ids[i]);
        if (ids[i] == ID_SEPARATOR) {
            button.fsStyle = TBSTYLE_SEP;
        } else {
            button.iBitmap = image++;
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = TBSTYLE_BUTTON;
        }
        buttons.push_back(button);
    }
    return SendMessage(TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())) != 0;
}

void CToolBar::SetSizes(SIZE button, SIZE image)
{
    image_size_ = image;
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(image.cx, image.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(button.cx, button.cy));
}

int CToolBar::GetCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }

UINT CToolBar::GetItemID(int index) const
{
    TBBUTTON button{};
    if (!SendMessage(TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button)))
        return ID_SEPARATOR;
    return static_cast<UINT>(button.idCommand);
}

int CToolBar::CommandToIndex(UINT id) const { return static_cast<int>(SendMessage(TB_COMMANDTOINDEX, id)); }

void CToolBar::GetItemRect(int index, RECT* rect) const
{
    *rect = RECT{};
    SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect));
}

UINT CToolBar::GetButtonState(UINT id) const
{
    LRESULT state = SendMessage(TB_GETSTATE, id);
    return state == -1 ? 0 : static_cast<UINT>(state);
}

void CToolBar::SetButtonState(UINT id, UINT state) { SendMessage(TB_SETSTATE, id, MAKELPARAM(state, 0)); }

void CToolBar::CheckButton(UINT id, bool pressed) { SendMessage(TB_CHECKBUTTON, id, MAKELPARAM(pressed, 0)); }

void CToolBar::EnableButton(UINT id, bool enabled) { SendMessage(TB_ENABLEBUTTON, id, MAKELPARAM(enabled, 0)); }

int CToolBar::Place(const RECT& client, int y)
{
    // The height the buttons need, with room for the edge below them.
    int height = HIWORD(SendMessage(TB_GETBUTTONSIZE));
    for (int i = 0; i < GetCount(); ++i) {
        RECT item;
        GetItemRect(i, &item);
        if (item.bottom > height)
            height = item.bottom;
    }
    height += 4;
    int top = at_top() ? y : y - height;
    ::MoveWindow(m_hWnd, client.left, top, client.right - client.left, height, TRUE);
    return height;
}

void CToolBar::UpdateCommandStates(CFrameWnd& frame)
{
    for (int i = 0; i < GetCount(); ++i) {
        UINT id = GetItemID(i);
        if (id == ID_SEPARATOR)
            continue;
        bool handled = frame.OnCmdMsg(id, false);
        UINT state = GetButtonState(id);
        if (((state & TBSTATE_ENABLED) != 0) != handled)
            SetButtonState(id, handled ? (state | TBSTATE_ENABLED) : (state & ~TBSTATE_ENABLED));
    }
}
