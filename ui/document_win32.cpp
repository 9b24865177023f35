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
    WindowState& window = window_state();
    // Opening a wrong file from the window shows its box and keeps the lists
    // that were there; the start and the batch run end with exit code 100
    // instead. The shown list is forgotten before the old chain goes, and
    // the tree is built anew from the new chain.
    if (!inventory().open_config(path, [] { window_state().result_list.ForgetLists(); }))
        return false;
    if (mwin* frame = main_frame()) {
        if (mvwt* tree = frame->TreeView())
            tree->FillTree();
    }
    window_side().post_command(ID_FILL_RESULT);
    SetModifiedFlag(false);
    opened_ = true;
    if (mtbr* toolbar = window.toolbar)
        toolbar->SetButtonState(ID_FILE_SAVE, TBSTATE_INDETERMINATE);
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

CDocument::FileType mdoc::SaveFileType() const
{
    return {"Text Files (*.txt)|*.txt|All Files (*.*)|*.*||", "txt"};
}

void mdoc::save_queries()
{
    inventory().wmi.collect();
    QueryList* first = inventory().first_list.get();
    // A name typed without an extension gets ".xml", as the filter says.
    CFileDialog dialog(false, "xml", "", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "XML Files (*.xml)|*.xml||",
                       nullptr);
    if (dialog.DoModal() != IDOK)
        return;
    // The whole path in lower case, folders too.
    std::string path = dialog.GetPathName();
    if (!path.empty())
        ::CharLowerBuffA(&path[0], static_cast<DWORD>(path.size()));
    // Failures are said: a file that cannot be written shows the phrase, one
    // blank and the path that was tried (in lower case, as it was opened).
    if (!::save_queries(path, first))
        window_side().stop_box("Could not open file: " + path);
}
