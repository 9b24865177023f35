#include "ui/tree_view_win32.h"

#include "base/log.h"
#include "base/platform.h"
#include "base/registry.h"
#include "framework/handlers_win32.h"
#include "framework/msgbox_win32.h"
#include "inventory/inventory.h"
#include "res/resource.h"
#include "ui/caption_band_win32.h"
#include "ui/frame_win32.h"
#include "ui/icon_files_win32.h"
#include "ui/window_state_win32.h"

namespace {

// The system's display name of the computer ("My Computer" under Wine).
const char* const COMPUTER_NAME_KEY = "SOFTWARE\\Classes\\CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

constexpr int IMAGE_COMPUTER = 0;
constexpr int IMAGE_WMI_LIST = 1;
constexpr int IMAGE_REGISTRY_LIST = 2;

}  // namespace

mvwt::mvwt() { write_log("mvwt::mvwt () OK ...\n"); }

mvwt::~mvwt() { write_log("mvwt::~mvwt () OK ...\n"); }

const MessageMap& mvwt::GetMessageMap() const
{
    static const MessageMap map(&(CView::GetMessageMap()), {
                                                               on_create(&mvwt::OnCreate),
                                                               on_destroy(&mvwt::OnDestroy),
                                                               on_size(&mvwt::OnSize),
                                                           });
    return map;
}

int mvwt::OnCreate(CREATESTRUCTA* create)
{
    // Whatever fails below, the view itself stays.
    if (CView::OnCreate(create) == -1)
        return 0;

    RECT rect = GetClientRect();
    rect.top = CAPTION_BAND_HEIGHT;
    mtrc& tree = window_state().tree;
    if (!tree.Create(this, rect)) {
        AfxMessageBox("Failed to create mtrc !");
        return 0;
    }
    tree_ = &tree;

    const bool made = load_tree_images(images_, [](TreeImagesStep failed) {
        switch (failed) {
        case TreeImagesStep::make_list:
            AfxMessageBox("Failed to create ImageList !");
            break;
        case TreeImagesStep::load_strip:
            AfxMessageBox("Failed to load Bitmap mbmp!");
            break;
        case TreeImagesStep::add_strip:
            AfxMessageBox("Failed to add Bitmap mbmp!");
            break;
        }
    });
    if (!made)
        return 0;
    tree_->SetImageList(images_.GetSafeHandle(), TVSIL_NORMAL);

    // The query file beside the program (no length limit on the path). On
    // purpose a rule of its own, the path cut at its last dot: the settings
    // (and with them the batch run) replace the path's last three characters.
    inventory().cfg_path = query_file_for(platform::module_file_name());
    inventory().read_config();
    FillTree();
    return 0;
}

void mvwt::OnDestroy()
{
    if (tree_)
        tree_->Release();
    tree_ = nullptr;
    CView::OnDestroy();
}

void mvwt::OnSize(UINT, int width, int height)
{
    if (tree_ && tree_->m_hWnd)
        tree_->MoveWindow(0, CAPTION_BAND_HEIGHT + 1, width, height - (CAPTION_BAND_HEIGHT + 2), true);
    // The band is drawn anew at its new width: a moved view is not always
    // repainted by itself (under Wine its caption stayed blank).
    Invalidate();
}

void mvwt::OnDraw(CDC* dc)
{
    const RECT client = GetClientRect();
    draw_caption_band(*dc, client, client.top, IDS_TREE_CAPTION);
}

void mvwt::FillTree()
{
    if (!tree_)
        return;
    CTreeCtrl& tree = *tree_;
    tree.DeleteAllItems();
    HTREEITEM parent = TVI_ROOT;
    // Without the computer's name (missing or empty) the lists go to the top
    // level, and the first of them plays the root's part.
    std::optional<std::string> computer = read_rstring("HKLM", COMPUTER_NAME_KEY, nullptr);
    if (computer && !computer->empty())
        parent = tree.InsertItem(*computer, IMAGE_COMPUTER, IMAGE_COMPUTER, TVI_ROOT, TVI_LAST);
    // Each tree item is its own list: it carries its list's position in the
    // chain, so that a click finds that list and no other of the same name.
    int position = 0;
    for_each_list(inventory().first_list.get(), [&](QueryList& list) {
        ++position;
        if (!list.name)
            return;
        if (list.is_wmi)
            tree.SetItemData(tree.InsertItem(*list.name, IMAGE_WMI_LIST, IMAGE_WMI_LIST, parent, TVI_LAST),
                             position);
        if (list.is_reg)
            tree.SetItemData(tree.InsertItem(*list.name, IMAGE_REGISTRY_LIST, IMAGE_REGISTRY_LIST, parent,
                                             TVI_LAST),
                             position);
    });
    if (parent != TVI_ROOT)
        tree.Expand(parent, TVE_EXPAND);
}

HIMAGELIST tree_image_list()
{
    mwin* frame = main_frame();
    mvwt* view = frame ? frame->TreeView() : nullptr;
    return view ? view->Images() : nullptr;
}
