// The modal dialog, from a dialog template resource or a template in
// memory. Its handler table works as a window's; IDOK and IDCANCEL end it
// through OnOK and OnCancel unless the table handles them.
#pragma once

#include "framework/wnd_win32.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT template_id, CWnd* parent = nullptr);
    CDialog(const DLGTEMPLATE* memory_template, CWnd* parent = nullptr);
    ~CDialog() override;

    // Runs the dialog until it ends; gives back the code it ended with, -1
    // when it could not be made.
    INT_PTR DoModal();
    void EndDialog(int result);

    // Before the dialog shows: the base centres it on its owner (the
    // frame); true lets the system put the focus on the first control.
    virtual bool OnInitDialog();
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
    // The dialog manager's own handling of the message being handled.
    LRESULT DefWindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    friend INT_PTR CALLBACK framework_dialog_proc(HWND, UINT, WPARAM, LPARAM);

    UINT template_id_ = 0;
    const DLGTEMPLATE* memory_template_ = nullptr;
    CWnd* parent_;
    bool handled_ = false;     // whether the last message had a handler
    bool in_default_ = false;  // DefDlgProc is running for default_message_
    UINT default_message_ = 0;
};
