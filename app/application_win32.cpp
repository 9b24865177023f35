#include "app/application_win32.h"

#include "base/log.h"
#include "base/platform.h"
#include "base/window_side.h"
#include "framework/doctemplate_win32.h"
#include "framework/ole_apartment_win32.h"
#include "framework/resources_win32.h"
#include "res/resource.h"
#include "ui/about_dialog_win32.h"
#include "ui/document_win32.h"
#include "ui/frame_win32.h"
#include "ui/report_pictures_win32.h"
#include "ui/tree_view_win32.h"

mapp& app() { return *static_cast<mapp*>(AfxGetApp()); }

mapp::mapp() : window_(inventory_.gui.font_face)
{
    // The caption of every box, the batch run's too: the window's title.
    load_string(IDS_APP_TITLE, app_title);
    set_inventory(&inventory_);
    // The batch run draws the report's pictures as the window does.
    set_report_pictures_writer(write_report_pictures);
    write_log("mapp::mapp () OK ...\n");
}

mapp::~mapp()
{
    inventory_.end();
    write_log("mapp::~mapp () OK ...\n");
    set_inventory(nullptr);
}

bool mapp::InitInstance()
{
    if (!platform::create_instance_mutex(INSTANCE_MUTEX)) {
        // Failures are said: the line goes to the end of the running copy's
        // log, which this copy never opened, and a refused batch run ends
        // with an exit code of its own rather than 0.
        inventory_.gui.append_line("  An Instance of polrix.exe is allready running ...\n");
        if (!command_line.empty())
            exit_code = EXIT_OTHER_COPY;
        return false;
    }
    if (!command_line.empty()) {
        inventory_.run_batch();
        return true;
    }
    start_window(*this);
    return true;
}

int mapp::OnIdle(long count)
{
    int more = CWinApp::OnIdle(count);
    QueryList* shown = window_.result_list.current_list;
    if (!shown)
        return more;
    if (shown->id != window_.shown_id)
        window_side().post_command(ID_RELOAD_PAGE);
    window_.shown_id = shown->id;
    return more;
}

const CommandMap& mapp::GetCommandMap() const
{
    static const CommandMap map(&(CWinApp::GetCommandMap()),
                                {
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
    frame->ShowFrame(SW_SHOW);
    frame->UpdateWindow();
    return true;
}
