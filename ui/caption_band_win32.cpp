#include "ui/caption_band_win32.h"

#include "framework/resources_win32.h"
#include "inventory/inventory.h"
#include "ui/window_state_win32.h"

#include <string>

void draw_caption_band(CDC& dc, const RECT& client, int top, UINT caption)
{
    const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const CFont& caption_font = window_state().caption_font;
    HGDIOBJ font = inventory().gui.win_major >= 6 && caption_font.handle()
                       ? static_cast<HGDIOBJ>(caption_font.handle())
                       : ::GetStockObject(ANSI_VAR_FONT);
    SelectionGuard keep_font(dc, font);
    dc.SetBkMode(TRANSPARENT);
    RECT band{client.left, top, client.right, top + CAPTION_BAND_HEIGHT};
    dc.FillSolidRect(band, face);
    dc.Draw3dRect(band, highlight, shadow);
    std::string text;
    load_string(caption, text);
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &band, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
