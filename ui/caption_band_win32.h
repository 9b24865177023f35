// The caption band of a pane: a raised strip in the button face colour with
// a caption string centred in it, drawn above the tree ("Tree View") and
// between the page and the result list ("List View").
#pragma once

#include "framework/gdi_win32.h"

// The band's height in pixels.
constexpr int CAPTION_BAND_HEIGHT = 22;

// Draws the band from `top` down, across the client rectangle's width, with
// string resource `caption` in it. The text is in the window state's caption
// font from Windows 6 on (the stock ANSI_VAR_FONT before, or when the caption
// font could not be made), on a transparent background.
void draw_caption_band(CDC& dc, const RECT& client, int top, UINT caption);
