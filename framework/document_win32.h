// The document: what the window shows, with a title, the path of its file
// (none until one was opened or saved) and the views that show it. Its file
// commands are ID_FILE_SAVE and ID_FILE_SAVE_AS.
#pragma once

#include "framework/cmdtarget_win32.h"

#include <string>
#include <vector>

class CView;
class CDocTemplate;

class CDocument : public CCmdTarget {
public:
    CDocument() = default;
    ~CDocument() override;

    const std::string& GetTitle() const { return title_; }
    // Sets the title and shows it in the caption of every frame of a view.
    virtual void SetTitle(const std::string& title);
    const std::string& GetPathName() const { return path_name_; }
    // Sets the path and, as title, the file's name without its folder.
    virtual void SetPathName(const std::string& path);
    bool IsModified() const { return modified_; }
    void SetModifiedFlag(bool modified = true) { modified_ = modified; }

    // The steps the document template and the commands run; true on
    // success. The base document holds no data: a new document empties the
    // modified flag, opening and saving have nothing to read or write.
    virtual bool OnNewDocument();
    virtual bool OnOpenDocument(const std::string& path);
    virtual bool OnSaveDocument(const std::string& path);

    // ID_FILE_SAVE: the save dialog first while there is no path name.
    void OnFileSave();
    // ID_FILE_SAVE_AS: always the save dialog.
    void OnFileSaveAs();
    // The save dialog (unless a path is given), then OnSaveDocument; a path
    // chosen in the dialog becomes the path name. False when cancelled or
    // not saved.
    bool DoSave(const std::string& path);

    // The kind of file the save dialog offers: its filter ("Text (*.txt)|
    // *.txt||") and the extension it adds to a name typed without one
    // (none: the name as typed). The base offers any file.
    struct FileType {
        std::string filter;
        std::string extension;
    };
    virtual FileType SaveFileType() const;

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& views() const { return views_; }
    // Every view's OnInitialUpdate, in the order the views were made.
    void UpdateInitialViews();

    CDocTemplate* GetDocTemplate() const { return doc_template_; }
    void SetDocTemplate(CDocTemplate* doc_template) { doc_template_ = doc_template; }

protected:
    const CommandMap& GetCommandMap() const override;

private:
    void UpdateFrameTitles();

    std::string title_;
    std::string path_name_;
    bool modified_ = false;
    std::vector<CView*> views_;
    CDocTemplate* doc_template_ = nullptr;
};
