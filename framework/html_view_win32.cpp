#include "framework/html_view_win32.h"

#include "framework/handlers_win32.h"

CHtmlView::~CHtmlView() = default;

const MessageMap& CHtmlView::GetMessageMap() const
{
    static const MessageMap map(&(CView::GetMessageMap()), {
                                                               on_create(&CHtmlView::OnCreate),
                                                               on_destroy(&CHtmlView::OnDestroy),
                                                               on_size(&CHtmlView::OnSize),
                                                           });
    return map;
}

int CHtmlView::OnCreate(CREATESTRUCTA* create)
{
    int result = CView::OnCreate(create);
    if (result != 0)
        return result;
    // A view without the control still works (it shows nothing): every
    // browser call then answers E_UNEXPECTED or an empty text.
    browser_.create(m_hWnd, GetClientRect(), this);
    return 0;
}

void CHtmlView::OnDestroy()
{
    // While the window still exists: the control deactivates in place in it.
    browser_.destroy();
    CView::OnDestroy();
}

void CHtmlView::OnSize(UINT, int width, int height)
{
    browser_.set_rect(RECT{0, 0, width, height});
    Default();
}

HRESULT CHtmlView::Navigate(const std::string& address) { return browser_.navigate(address); }

HRESULT CHtmlView::Refresh() { return browser_.refresh(); }

std::string CHtmlView::GetLocationURL() const { return browser_.location_url(); }

std::string CHtmlView::GetType() const { return browser_.document_type(); }

HWND CHtmlView::GetBrowserWindow() const { return browser_.window(); }

void CHtmlView::SetBrowserRect(const RECT& rect) { browser_.set_rect(rect); }

bool CHtmlView::PreTranslateMessage(MSG* msg)
{
    // Keys the control wants (Tab inside the page, its own shortcuts) are
    // its, before the message loop translates them.
    if (browser_.translate_accelerator(msg))
        return true;
    return CView::PreTranslateMessage(msg);
}
