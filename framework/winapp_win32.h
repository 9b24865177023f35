// The application base: one object per process, reached through AfxGetApp().
// It is the last command target of the window (after the active view, the
// document and the frame) and owns the document template.
#pragma once

#include "framework/cmdtarget_win32.h"

#include <windows.h>

#include <memory>
#include <string>

class CDocTemplate;
class CFrameWnd;

class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;

    // Runs once before the message loop; false ends the process at once.
    virtual bool InitInstance() { return true; }
    // Runs whenever the message queue is empty; nonzero asks for more. The
    // base pass enables or disables the main frame's toolbar buttons by
    // whether any command target handles their commands.
    virtual int OnIdle(long count);

    // Registers the (one) document template; the application owns it.
    void AddDocTemplate(std::unique_ptr<CDocTemplate> doc_template);
    CDocTemplate* GetDocTemplate() const { return doc_template_.get(); }

    // The standard commands. OnFileNew makes the document, the frame and
    // its views; OnFileOpen asks for a file with the open dialog and opens
    // it in the document; OnAppExit closes the main frame.
    void OnFileNew();
    void OnFileOpen();
    void OnAppExit();
    // Opens the file in the document (see CDocTemplate::OpenDocumentFile);
    // false when it was not opened.
    bool OpenDocumentFile(const std::string& path);

    // The text after the program's name and the blanks behind it.
    std::string command_line;
    // The frame window, none in the batch run.
    HWND main_window = nullptr;
    // The frame object of main_window, none without one.
    CFrameWnd* GetMainFrame() const;
    // The application's title: captions of the frame and of every message
    // box (also the window side's stop boxes). The frame sets it from its
    // title string unless the application has set it before.
    std::string app_title;

protected:
    // ID_APP_EXIT; a derived application adds its own commands (such as
    // ID_FILE_OPEN to OnFileOpen) in a table whose base is this one.
    const CommandMap& GetCommandMap() const override;

private:
    // Shared only so that this header needs no complete type.
    std::shared_ptr<CDocTemplate> doc_template_;
};

CWinApp* AfxGetApp();

// The message loop of the window thread, with the pre-translation of each
// message by the main frame and the idle passes; returns the process exit
// code.
int RunMessageLoop(CWinApp& app);
