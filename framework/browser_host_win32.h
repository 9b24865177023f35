// The system's web browser control, hosted in a window of ours by a small
// OLE container (browser_site_win32.h): created in place in a parent window,
// navigated, asked for its address and document type, sized, given the keys
// it wants, and shut down cleanly. Addresses are ANSI texts of any length.
//
// An HTML view holds one BrowserHost and is its events object: it creates
// the control in its create handler (COM already initialised on the window
// thread), moves it with set_rect whenever it lays itself out, destroys it in
// its destroy handler, while its window still exists, and offers every
// message to translate_accelerator in the message loop's pre-translation.
#pragma once

#include "base/windows_win32.h"

#include <memory>
#include <string>

// What the host reports of the control's navigation. The control calls these
// on the window thread while it pumps messages; the defaults do nothing.
class BrowserEvents {
public:
    virtual ~BrowserEvents() = default;
    // A navigation to `url` is about to start.
    virtual void OnBeforeNavigate2(const std::string& url) { (void)url; }
    // The control has moved to `url` (its document may still be loading).
    virtual void OnNavigateComplete2(const std::string& url) { (void)url; }
    // The document at `url` is loaded.
    virtual void OnDocumentComplete(const std::string& url) { (void)url; }
    // The navigation to `url` failed with the given status code.
    virtual void OnNavigateError(const std::string& url, long status)
    {
        (void)url;
        (void)status;
    }
};

class BrowserHost {
public:
    BrowserHost();
    ~BrowserHost();  // destroys the control when it still exists
    BrowserHost(const BrowserHost&) = delete;
    BrowserHost& operator=(const BrowserHost&) = delete;

    // Creates the control as a child of `parent` covering `rect` (parent's
    // client coordinates) and activates it in place; `events`, when given,
    // hears of its navigation until destroy(). COM must be initialised on the
    // calling thread (apartment threaded). Gives the failing result code, or
    // S_OK; on failure nothing is left behind.
    HRESULT create(HWND parent, const RECT& rect, BrowserEvents* events = nullptr);
    // Disconnects the events, deactivates and closes the control and releases
    // every interface. Safe to call when there is no control.
    void destroy();
    bool is_created() const;

    // Starts a navigation to the address; the control goes on with it while
    // the thread pumps messages. E_UNEXPECTED without a control.
    HRESULT navigate(const std::string& address);
    // Reloads the page shown. Fails when there is no document, which is
    // normal for a control without an HTML engine.
    HRESULT refresh();
    // The address the control is at; empty when it has none or there is no
    // control.
    std::string location_url() const;
    // The type of the document shown; empty when the control cannot tell
    // (a control without an HTML engine answers E_NOTIMPL).
    std::string document_type() const;
    // The same with the result code of the control.
    HRESULT document_type(std::string& type) const;

    // Moves and sizes the control (parent's client coordinates).
    void set_rect(const RECT& rect);
    // The control's own window, once it is active in place; else none.
    HWND window() const;

    // Gives a key message to the control's in-place active object before the
    // message loop translates and dispatches it. True when the control used
    // it: the loop must then neither translate nor dispatch it. Messages
    // other than keys are never taken.
    bool translate_accelerator(MSG* msg);

    // How many container objects (sites and event sinks) of all hosts are
    // still alive: each lives until the control gives back every reference
    // it took. 0 once every host is destroyed and the control let go.
    static int container_objects_alive();

private:
    struct Control;
    std::unique_ptr<Control> control_;
};
