#include "ui/document_win32.h"

#include "base/log.h"
#include "base/window_side.h"
#include "config/query_writer.h"
#include "framework/filedialog_win32.h"
#include "framework/winapp_win32.h"
#include "inventory/inventory.h"
#include "output/list_view_export.h"
#include "res/resource.h"
#include "ui/frame_win32.h"
#include "ui/result_list_win32.h"
#include "ui/tree_view_win32.h"
#include "ui/window_state_win32.h"

#include <windows.h>

#include <commctrl.h>

mdoc::mdoc()
{
    write_default_queries();
    write_log("mdoc::mdoc () OK ...\n");
}

mdoc::~mdoc() { write_log("mdoc::~mdoc () OK ...\n"); }

void mdoc::write_default_queries() { ::write_default_queries(inventory().cfg_path, inventory().class_names); }

bool mdoc::OnNewDocument()
{
    SetTitle(inventory().cfg_path);
    return CDocument::OnNewDocument();
}

bool mdoc::OnOpenDocument(const std::string& path)
{
    Inventory& program = inventory();
    WindowState& window = window_state();
    // The chain goes only once no read is left to hand over into it (a read
    // that stalls is given up after the limit), and nothing may point into
    // it afterwards: the reader's list and the shown list are forgotten,
    // and the tree is built anew from the new chain.
    program.wmi.wait_for_read();
    program.wmi.cur_list = nullptr;
    window.result_list.ForgetLists();
    if (program.first_list)
        free_lists(program.first_list);
    program.cfg_path = path;
    program.read_config();  // ends the program on a missing or malformed file
    if (mwin* frame = main_frame()) {
        if (mvwt* tree = frame->TreeView())
            tree->FillTree();
    }
    window_side().post_command(ID_FILL_RESULT);
    SetModifiedFlag(false);
    opened_ = true;
    if (mtbr* toolbar = window.toolbar)
        toolbar->SendMessage(TB_SETSTATE, ID_FILE_SAVE, MAKELPARAM(TBSTATE_INDETERMINATE, 0));
    if (CWinApp* application = AfxGetApp(); application && application->main_window)
        ::UpdateWindow(application->main_window);
    return true;
}

bool mdoc::OnCmdMsg(unsigned id, bool run)
{
    if (id == ID_FILE_SAVE && opened_)
        return false;
    return CDocument::OnCmdMsg(id, run);
}

bool mdoc::OnSaveDocument(const std::string& path)
{
    return write_list_view(path, window_state().result_list.ReadTable());
}

void mdoc::save_queries()
{
    inventory().wmi.collect();
    QueryList* first = inventory().first_list.get();
    CFileDialog dialog(false, "", "", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "XML Files (*.xml)|*.xml||", nullptr);
    if (dialog.DoModal() != IDOK)
        return;
    // The whole path in lower case, folders too; no extension is added.
    std::string path = dialog.GetPathName();
    if (!path.empty())
        ::CharLowerBuffA(&path[0], static_cast<DWORD>(path.size()));
    ::save_queries(path, first);
}
