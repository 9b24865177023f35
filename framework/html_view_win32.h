// The HTML view: a view that hosts the system's web browser control over
// its whole client area (a derived view may lay it out otherwise). The
// control is made with the view's window and ends with it; the view hears
// its navigation events and hands it the keys it wants before the message
// loop dispatches them.
#pragma once

#include "framework/browser_host_win32.h"
#include "framework/view_win32.h"

#include <string>

class CHtmlView : public CView, public BrowserEvents {
public:
    CHtmlView() = default;
    ~CHtmlView() override;

    // Starts a navigation; the control goes on with it while messages are
    // pumped. E_UNEXPECTED without a control.
    HRESULT Navigate(const std::string& address);
    // Reloads the page; failing is normal when the control has no document.
    HRESULT Refresh();
    // The control's address, empty when it has none.
    std::string GetLocationURL() const;
    // The document's type, empty when the control cannot tell.
    std::string GetType() const;
    // The control's window once it is active, else none.
    HWND GetBrowserWindow() const;
    // Moves the control (view client coordinates).
    void SetBrowserRect(const RECT& rect);

    bool PreTranslateMessage(MSG* msg) override;

protected:
    const MessageMap& GetMessageMap() const override;
    int OnCreate(CREATESTRUCTA* create);
    void OnDestroy();
    void OnSize(UINT type, int width, int height);

    BrowserHost browser_;
};
