// The single-document template: the classes of the document, the frame and
// the view of the window and the resource ID of the frame (menu, icon,
// title string). It makes and holds the one document; the frame and the
// views end with their windows, and the document ends after its frame.
#pragma once

#include "framework/document_win32.h"
#include "framework/framewnd_win32.h"
#include "framework/view_win32.h"

#include <memory>
#include <string>

using DocumentFactory = std::unique_ptr<CDocument> (*)();
using FrameFactory = std::unique_ptr<CFrameWnd> (*)();

template <class T>
std::unique_ptr<CDocument> make_document()
{
    return std::unique_ptr<CDocument>(new T);
}

template <class T>
std::unique_ptr<CFrameWnd> make_frame()
{
    return std::unique_ptr<CFrameWnd>(new T);
}

class CDocTemplate {
public:
    CDocTemplate(UINT resource_id, DocumentFactory new_document, FrameFactory new_frame, ViewFactory new_view);
    virtual ~CDocTemplate();
    CDocTemplate(const CDocTemplate&) = delete;
    CDocTemplate& operator=(const CDocTemplate&) = delete;

    // With an empty path: a new document. With a path: that file opened in
    // the document. None when it failed.
    virtual CDocument* OpenDocumentFile(const std::string& path) = 0;
    // The frame has ended (its window is gone).
    virtual void FrameEnded(CFrameWnd* frame) = 0;

protected:
    UINT resource_id_;
    DocumentFactory new_document_;
    FrameFactory new_frame_;
    ViewFactory new_view_;
};

class CSingleDocTemplate : public CDocTemplate {
public:
    using CDocTemplate::CDocTemplate;
    ~CSingleDocTemplate() override;

    // The first call makes, in this order: the document, the frame (its
    // create handler, inside which OnCreateClient makes the views), then
    // runs the document's OnNewDocument (or OnOpenDocument with the path),
    // then every view's OnInitialUpdate. Later calls reuse document and
    // frame; a path that is already the document's path name is not opened
    // again. After an open, the path becomes the path name and the views'
    // OnInitialUpdate runs again.
    CDocument* OpenDocumentFile(const std::string& path) override;
    void FrameEnded(CFrameWnd* frame) override;

    CDocument* GetDocument() const { return document_.get(); }
    CFrameWnd* GetFrame() const { return frame_; }
    // Closes the frame; the document ends with it.
    void CloseDocument();

private:
    bool MakeDocumentAndFrame();

    std::unique_ptr<CDocument> document_;
    CFrameWnd* frame_ = nullptr;  // ends with its window
};

// Whether two paths name the same file (case and separators aside).
bool same_path(const std::string& a, const std::string& b);
