#include "framework/view_win32.h"

#include "framework/document_win32.h"
#include "framework/framewnd_win32.h"
#include "framework/gdi_win32.h"
#include "framework/handlers_win32.h"

CView::~CView()
{
    if (document_)
        document_->RemoveView(this);
}

CView* CView::CreateView(ViewFactory factory, CWnd* parent, UINT id, const RECT& rect, CCreateContext* context)
{
    if (!factory)
        return nullptr;
    std::unique_ptr<CView> view = factory();
    if (!view || !view->Create(parent, id, rect, context))
        return nullptr;
    // From here on the window owns the object.
    view->SetAutoDelete(true);
    return view.release();
}

bool CView::Create(CWnd* parent, UINT id, const RECT& rect, CCreateContext* context)
{
    std::string name = RegisterClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                     reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr);
    return CreateEx(0, name, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, parent ? parent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), context);
}

const MessageMap& CView::GetMessageMap() const
{
    static const MessageMap map(&(CWnd::GetMessageMap()), {
                                                              on_create(&CView::OnCreate),
                                                              on_destroy(&CView::OnDestroy),
                                                              on_paint(&CView::OnPaint),
                                                              on_mouse_activate(&CView::OnMouseActivate),
                                                          });
    return map;
}

int CView::OnCreate(CREATESTRUCTA* create)
{
    auto* context = static_cast<CCreateContext*>(create->lpCreateParams);
    if (context && context->document)
        context->document->AddView(this);
    return static_cast<int>(Default());
}

void CView::OnDestroy()
{
    if (CFrameWnd* frame = GetParentFrame()) {
        if (frame->GetActiveView() == this)
            frame->SetActiveView(nullptr);
    }
    if (document_)
        document_->RemoveView(this);
    Default();
}

void CView::OnPaint()
{
    CPaintDC dc(m_hWnd);
    OnDraw(&dc);
}

int CView::OnMouseActivate(HWND, UINT, UINT)
{
    LRESULT result = Default();
    if (CFrameWnd* frame = GetParentFrame())
        frame->SetActiveView(this);
    return static_cast<int>(result);
}

void CView::OnInitialUpdate() { Invalidate(); }

CFrameWnd* CView::GetParentFrame() const
{
    for (HWND parent = ::GetParent(m_hWnd); parent; parent = ::GetParent(parent)) {
        if (auto* frame = dynamic_cast<CFrameWnd*>(FromHandlePermanent(parent)))
            return frame;
    }
    return nullptr;
}

void CView::PostNcDestroy()
{
    if (auto_delete_)
        delete this;
}
