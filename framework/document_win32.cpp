#include "framework/document_win32.h"

#include "framework/filedialog_win32.h"
#include "framework/framewnd_win32.h"
#include "framework/view_win32.h"
#include "framework/framework_ids.h"

#include <algorithm>

CDocument::~CDocument()
{
    // Views that outlive their document forget it.
    for (CView* view : views_)
        view->SetDocument(nullptr);
}

const CommandMap& CDocument::GetCommandMap() const
{
    static const CommandMap map(&(CCmdTarget::GetCommandMap()),
                                {
                                    command_handler(ID_FILE_SAVE, &CDocument::OnFileSave),
                                    command_handler(ID_FILE_SAVE_AS, &CDocument::OnFileSaveAs),
                                });
    return map;
}

void CDocument::SetTitle(const std::string& title)
{
    title_ = title;
    UpdateFrameTitles();
}

void CDocument::SetPathName(const std::string& path)
{
    path_name_ = path;
    size_t slash = path.find_last_of("\\/:");
    SetTitle(slash == std::string::npos ? path : path.substr(slash + 1));
}

bool CDocument::OnNewDocument()
{
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnOpenDocument(const std::string&)
{
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnSaveDocument(const std::string&)
{
    SetModifiedFlag(false);
    return true;
}

void CDocument::OnFileSave() { DoSave(path_name_); }

void CDocument::OnFileSaveAs() { DoSave(std::string()); }

CDocument::FileType CDocument::SaveFileType() const { return {"All Files (*.*)|*.*||", ""}; }

bool CDocument::DoSave(const std::string& path)
{
    std::string target = path;
    bool asked = false;
    if (target.empty()) {
        // No name is offered: the title is often the path of the file the
        // document came from, which a confirmed dialog would overwrite.
        const FileType type = SaveFileType();
        CFileDialog dialog(false, type.extension, "", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, type.filter,
                           nullptr);
        if (dialog.DoModal() != IDOK)
            return false;
        target = dialog.GetPathName();
        asked = true;
    }
    if (!OnSaveDocument(target))
        return false;
    if (asked)
        SetPathName(target);
    return true;
}

void CDocument::AddView(CView* view)
{
    if (std::find(views_.begin(), views_.end(), view) == views_.end())
        views_.push_back(view);
    view->SetDocument(this);
}

void CDocument::RemoveView(CView* view)
{
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
    view->SetDocument(nullptr);
}

void CDocument::UpdateInitialViews()
{
    // A view's initial update may make or end other views: walk a copy.
    std::vector<CView*> views = views_;
    for (CView* view : views)
        view->OnInitialUpdate();
}

void CDocument::UpdateFrameTitles()
{
    for (CView* view : views_) {
        if (CFrameWnd* frame = view->GetParentFrame())
            frame->OnUpdateFrameTitle();
    }
}
