// A view: a child window that shows the document it is attached to. A view
// may host child windows of its own (a control, a browser): it places them
// in its size handler.
#pragma once

#include "framework/wnd_win32.h"

#include <memory>

class CDC;
class CDocument;
class CFrameWnd;
class CView;

// Makes a view object of one class; the window's end ends the object.
using ViewFactory = std::unique_ptr<CView> (*)();

template <class T>
std::unique_ptr<CView> make_view()
{
    return std::unique_ptr<CView>(new T);
}

// What the frame and the splitter need to make views: the document that
// the views show and the class of the view to make.
struct CCreateContext {
    CDocument* document = nullptr;
    ViewFactory new_view = nullptr;
};

class CView : public CWnd {
public:
    CView() = default;
    ~CView() override;

    // Makes a view of the factory's class as child window id of parent,
    // attached to the context's document. The view ends with its window.
    // None when it could not be made.
    static CView* CreateView(ViewFactory factory, CWnd* parent, UINT id, const RECT& rect,
                             CCreateContext* context);
    // Makes this view's window (a child, visible), attached to the context's
    // document.
    bool Create(CWnd* parent, UINT id, const RECT& rect, CCreateContext* context);

    CDocument* GetDocument() const { return document_; }
    void SetDocument(CDocument* document) { document_ = document; }
    // The frame that holds this view (the nearest frame among its parents).
    CFrameWnd* GetParentFrame() const;

    // After the document was made or opened: the base repaints the view.
    virtual void OnInitialUpdate();
    // Draws the view in its paint handler.
    virtual void OnDraw(CDC*) {}
    // Called when the view becomes or stops being the frame's active view.
    virtual void OnActivateView(bool /*active*/) {}

protected:
    const MessageMap& GetMessageMap() const override;
    int OnCreate(CREATESTRUCTA* create);
    void OnDestroy();
    void OnPaint();
    int OnMouseActivate(HWND top, UINT hit, UINT message);
    void PostNcDestroy() override;

private:
    CDocument* document_ = nullptr;
};
