// The about box: the product line, a credit line and the maker's web
// address, drawn by a static control of its own; a click on the address
// starts the registered web browser on it.
#pragma once

#include "framework/dialog_win32.h"
#include "framework/static_win32.h"

#include <string>

// The maker's web address, painted as the third line and handed to the
// browser.
extern const char* const MAKER_ADDRESS;

class CInb : public CStatic {
public:
    CInb();
    ~CInb() override;

protected:
    const MessageMap& GetMessageMap() const override;
    void OnPaint();
};

class CInf : public CDialog {
public:
    CInf();
    ~CInf() override;

    bool OnInitDialog() override;

    // Whether a point of the dialog's client area lies on the address.
    static bool InHotZone(POINT point);
    // The command line that starts the browser at the registered path on
    // the address; empty when no browser is registered.
    static std::string BrowserCommandLine();

protected:
    const MessageMap& GetMessageMap() const override;
    void OnMouseMove(UINT flags, POINT point);
    void OnLButtonDown(UINT flags, POINT point);

private:
    CInb text_;
};

// Shows the about box modally and waits until it is closed.
void show_about_box();
