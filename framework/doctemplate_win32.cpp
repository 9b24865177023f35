#include "framework/doctemplate_win32.h"

#include "framework/winapp_win32.h"

#include <cctype>

CDocTemplate::CDocTemplate(UINT resource_id, DocumentFactory new_document, FrameFactory new_frame,
                           ViewFactory new_view)
    : resource_id_(resource_id), new_document_(new_document), new_frame_(new_frame), new_view_(new_view)
{
}

CDocTemplate::~CDocTemplate() = default;

CSingleDocTemplate::~CSingleDocTemplate() { CloseDocument(); }

bool same_path(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i] == '/' ? '\\' : a[i];
        char y = b[i] == '/' ? '\\' : b[i];
        if (std::tolower(static_cast<unsigned char>(x)) != std::tolower(static_cast<unsigned char>(y)))
            return false;
    }
    return true;
}

bool CSingleDocTemplate::MakeDocumentAndFrame()
{
    document_ = new_document_();
    if (!document_)
        return false;
    document_->SetDocTemplate(this);
    std::unique_ptr<CFrameWnd> frame = new_frame_();
    if (!frame) {
        document_.reset();
        return false;
    }
    CCreateContext context;
    context.document = document_.get();
    context.new_view = new_view_;
    frame->doc_template_ = this;
    if (!frame->LoadFrame(resource_id_, WS_OVERLAPPEDWINDOW, nullptr, &context)) {
        frame->doc_template_ = nullptr;
        frame.reset();
        document_.reset();
        return false;
    }
    // From here on the frame's window owns the frame object.
    frame->SetAutoDelete(true);
    frame_ = frame.release();
    CWinApp* app = AfxGetApp();
    if (app && !app->main_window)
        app->main_window = frame_->m_hWnd;
    return true;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const std::string& path)
{
    bool made = false;
    if (!document_ || !frame_) {
        if (frame_)
            CloseDocument();
        if (!MakeDocumentAndFrame())
            return nullptr;
        made = true;
    }
    if (path.empty()) {
        if (!document_->OnNewDocument()) {
            if (made)
                CloseDocument();
            return nullptr;
        }
    } else {
        if (!made && same_path(path, document_->GetPathName()))
            return document_.get();
        if (!document_->OnOpenDocument(path)) {
            if (made)
                CloseDocument();
            return nullptr;
        }
        document_->SetPathName(path);
    }
    frame_->InitialUpdateFrame(document_.get());
    return document_.get();
}

void CSingleDocTemplate::FrameEnded(CFrameWnd* frame)
{
    if (frame != frame_)
        return;
    frame_ = nullptr;
    document_.reset();
}

void CSingleDocTemplate::CloseDocument()
{
    if (frame_ && frame_->m_hWnd)
        frame_->DestroyWindow();  // FrameEnded ends the document
    if (frame_) {
        // A frame object whose window is already gone.
        frame_->doc_template_ = nullptr;
        frame_ = nullptr;
    }
    document_.reset();
}
