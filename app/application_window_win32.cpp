// The application object's window side: its commands and the interactive start
// (document template, frame and views, then the window shown).
#include "app/application.h"

#include "framework/doctemplate_win32.h"
#include "framework/ole_apartment_win32.h"
#include "ui/document_win32.h"
#include "res/resource.h"
#include "ui/about_dialog_win32.h"
#include "ui/frame_win32.h"
#include "ui/tree_view_win32.h"


const CommandMap& mapp::GetCommandMap() const
{
    static const CommandMap map(&(CWinApp::GetCommandMap()), {
        command_handler(ID_FILE_OPEN, &CWinApp::OnFileOpen),
        command_handler(ID_APP_ABOUT, &mapp::OnAppAbout),
    });
    return map;
}

void mapp::OnAppAbout() { show_about_box(); }

bool start_window(mapp& application)
{
    // OLE first, once, on the window thread, where the overview page hosts
    // the web browser control; it lasts until the process ends. The batch
    // run never needs it.
    static const OleApartment ole;
    application.AddDocTemplate(std::make_unique<CSingleDocTemplate>(IDR_MAINFRAME, make_document<mdoc>,
                                                                    make_frame<mwin>, make_view<mvwt>));
    application.OnFileNew();
    mwin* frame = main_frame();
    if (!frame)
        return false;
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    return true;
}
