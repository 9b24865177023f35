// The program's resources as this test program links them: menu, strings,
// about box template, pictures, cursor, icon, version and manifest.
#include "framework/resources_win32.h"
#include "res/resource.h"

#include "base/windows_win32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

HINSTANCE module() { return GetModuleHandleA(nullptr); }

struct MenuEntry {
    std::string text;  // empty: a separator
    UINT command;
};

std::vector<MenuEntry> entries_of(HMENU menu)
{
    std::vector<MenuEntry> entries;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = "";
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_STATE;
        item.dwTypeData = text;
        item.cch = sizeof text;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &item);
        const bool separator = (item.fType & MFT_SEPARATOR) != 0;
        // Greying and check marks are the frame's business, not the template's.
        if (!separator) {
            EXPECT_EQ(item.fState & (MFS_GRAYED | MFS_CHECKED), 0u) << text;
        }
        entries.push_back({separator ? "" : text, item.wID});
    }
    return entries;
}

bool operator==(const MenuEntry& a, const MenuEntry& b) { return a.text == b.text && a.command == b.command; }

void PrintTo(const MenuEntry& entry, std::ostream* out) { *out << '"' << entry.text << "\" " << entry.command; }

TEST(Resources, MenuHasItsThreePopupsEntryByEntry)
{
    HMENU menu = LoadMenuA(module(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_TRUE(menu);
    const std::vector<std::string> popups = {"&File", "&View", "&?"};
    const std::vector<std::vector<MenuEntry>> expected = {
        {{"&Open...\tCtrl+O", 57601},
         {"Configure queries (*.xml)", 204},
         {"Save queries (*.xml)", 205},
         {"Save List View &as ...", 57604},
         {"", 0},
         {"E&xit", 57665}},
        {{"&Toolbar", 59392}, {"&Status Bar", 59393}},
        {{"Help", 57670}, {"Info", 107}},
    };
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    for (int i = 0; i < 3; ++i) {
        char text[64] = "";
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        EXPECT_EQ(std::string(text), popups[i]);
        HMENU popup = GetSubMenu(menu, i);
        ASSERT_TRUE(popup) << popups[i];
        EXPECT_EQ(entries_of(popup), expected[i]) << popups[i];
    }
    DestroyMenu(menu);
}

TEST(Resources, StringTable)
{
    const struct {
        UINT id;
        const char* text;
    } strings[] = {
        {100, "Polrix"},
        {107, "Displays Program Info"},
        {57670, "Displays Help (polrix.chm)"},
        {301, "Tree View"},
        {302, "List View"},
        // The commands of the menu and the toolbar: status prompt, tool tip.
        {57601, "Opens a query file and shows its lists\nOpen query file (Ctrl+O)"},
        {57603, "Saves what the result list shows as a text file\nSave List View"},
        {57604, "Saves what the result list shows as a text file under a new name\nSave List View as"},
        {204, "Shows check boxes to choose the items of each list, or hides them\nConfigure queries"},
        {205, "Saves the lists with the chosen items as a query file\nSave queries"},
        {57665, "Quits the program\nExit"},
        {59392, "Shows or hides the toolbar\nToolbar"},
        {59393, "Shows or hides the status bar\nStatus Bar"},
    };
    for (const auto& s : strings) {
        char text[256] = "";
        EXPECT_GT(LoadStringA(module(), s.id, text, sizeof text), 0) << s.id;
        EXPECT_STREQ(text, s.text) << s.id;
    }
    // Every menu entry but Help and Info has a prompt and a tip.
    for (UINT id : {57601u, 57603u, 57604u, 204u, 205u, 57665u, 59392u, 59393u}) {
        EXPECT_FALSE(command_prompt(id).empty()) << id;
        EXPECT_FALSE(command_tip(id).empty()) << id;
    }
    // The list status pane and the frame's inner commands have no string.
    for (UINT id : {300u, 200u, 201u, 206u}) {
        char text[16] = "";
        EXPECT_EQ(LoadStringA(module(), id, text, sizeof text), 0) << id;
    }
}

// Reads a DLGTEMPLATE and its items as the resource compiler laid them out.
class TemplateReader {
public:
    explicit TemplateReader(const unsigned char* bytes) : at_(bytes) {}
    uint32_t u32()
    {
        uint32_t value;
        std::memcpy(&value, at_, 4);
        at_ += 4;
        return value;
    }
    int16_t i16()
    {
        int16_t value;
        std::memcpy(&value, at_, 2);
        at_ += 2;
        return value;
    }
    uint16_t u16() { return static_cast<uint16_t>(i16()); }
    // A string or an ordinal (0xFFFF then the number, given as "#number").
    std::string text_or_ordinal()
    {
        if (u16() == 0xFFFF)
            return "#" + std::to_string(u16());
        at_ -= 2;
        std::string text;
        while (uint16_t c = u16())
            text += static_cast<char>(c);
        return text;
    }
    void align4(const unsigned char* base)
    {
        while ((at_ - base) % 4 != 0)
            ++at_;
    }

private:
    const unsigned char* at_;
};

TEST(Resources, AboutBoxTemplate)
{
    HRSRC found = FindResourceA(module(), MAKEINTRESOURCEA(IDD_ABOUTBOX), MAKEINTRESOURCEA(5));
    ASSERT_TRUE(found);
    const auto* base = static_cast<const unsigned char*>(LockResource(LoadResource(module(), found)));
    TemplateReader in(base);
    EXPECT_EQ(in.u32(), 0x10C800C0u);  // style
    EXPECT_EQ(in.u32(), 0u);           // extended style
    EXPECT_EQ(in.u16(), 1u);           // one control
    EXPECT_EQ(in.i16(), 0);
    EXPECT_EQ(in.i16(), 0);
    EXPECT_EQ(in.i16(), 164);
    EXPECT_EQ(in.i16(), 60);
    EXPECT_EQ(in.text_or_ordinal(), "");  // no menu
    EXPECT_EQ(in.text_or_ordinal(), "");  // the standard dialog class
    EXPECT_EQ(in.text_or_ordinal(), "Info");
    EXPECT_EQ(in.u16(), 8u);
    EXPECT_EQ(in.text_or_ordinal(), "Tahoma");

    in.align4(base);
    EXPECT_EQ(in.u32(), 0x50010000u);  // child, visible, tab stop
    EXPECT_EQ(in.u32(), 0u);
    EXPECT_EQ(in.i16(), 62);
    EXPECT_EQ(in.i16(), 48);
    EXPECT_EQ(in.i16(), 40);
    EXPECT_EQ(in.i16(), 11);
    EXPECT_EQ(in.u16(), static_cast<uint16_t>(IDOK));
    EXPECT_EQ(in.text_or_ordinal(), "#128");  // a button
    EXPECT_EQ(in.text_or_ordinal(), "OK");
}

TEST(Resources, HandCursorIsMonochromeWithItsHotSpotAtTheFingertip)
{
    HCURSOR cursor = LoadCursorA(module(), MAKEINTRESOURCEA(IDC_HAND_CURSOR));
    ASSERT_TRUE(cursor);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 12u);
    EXPECT_EQ(info.yHotspot, 7u);
    EXPECT_EQ(info.hbmColor, nullptr);  // monochrome: the mask holds both halves
    BITMAP mask = {};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_EQ(mask.bmHeight, 64);
    DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
}

TEST(Resources, ProgramIconAtBothSizes)
{
    for (int size : {16, 32}) {
        HICON icon = static_cast<HICON>(
            LoadImageA(module(), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, size, size, 0));
        ASSERT_TRUE(icon) << size;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        EXPECT_TRUE(info.fIcon);
        BITMAP colour = {};
        GetObjectA(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, size);
        EXPECT_EQ(colour.bmHeight, size);
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
        DestroyIcon(icon);
    }
}

// The bitmap resources keep the sizes and depths the code relies on.
TEST(Resources, BitmapSizesAndDepths)
{
    const struct {
        int id;
        int width, height, bits_per_pixel;
    } bitmaps[] = {
        {IDR_MAINFRAME, 48, 16, 4},
        {IDB_ICON_STRIP, 304, 16, 24},
        {IDB_TITLE, 24, 24, 24},
    };
    for (const auto& b : bitmaps) {
        HRSRC found = FindResourceA(module(), MAKEINTRESOURCEA(b.id), MAKEINTRESOURCEA(2));
        ASSERT_TRUE(found) << b.id;
        const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module(), found)));
        EXPECT_EQ(header->biWidth, b.width) << b.id;
        EXPECT_EQ(header->biHeight, b.height) << b.id;
        EXPECT_EQ(header->biBitCount, b.bits_per_pixel) << b.id;
        HBITMAP bitmap = LoadBitmapA(module(), MAKEINTRESOURCEA(b.id));
        EXPECT_TRUE(bitmap) << b.id;
        DeleteObject(bitmap);
    }
}

// The strip's white ground stays opaque, and nothing in it is pure black, the
// mask colour: no picture has holes in the tree or in the report.
TEST(Resources, IconStripHasNoMaskColourAndAWhiteGround)
{
    HRSRC found = FindResourceA(module(), MAKEINTRESOURCEA(IDB_ICON_STRIP), MAKEINTRESOURCEA(2));
    ASSERT_TRUE(found);
    const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(module(), found)));
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
    const unsigned char* pixels = bytes + header->biSize;
    const int row = (304 * 3 + 3) / 4 * 4;
    int black = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 304; ++x) {
            const unsigned char* p = pixels + y * row + x * 3;
            black += p[0] == 0 && p[1] == 0 && p[2] == 0;
        }
    EXPECT_EQ(black, 0);
    for (int image = 0; image < 19; ++image) {
        // The top left pixel (the last row in the file) of every image.
        const unsigned char* p = pixels + 15 * row + image * 16 * 3;
        EXPECT_EQ(p[0] + p[1] + p[2], 3 * 255) << "image " << image;
    }
}

std::string version_value(const std::vector<char>& block, const char* name)
{
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904b0\\") + name;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
        return "(none)";
    return std::string(value);
}

TEST(Resources, VersionInformation)
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block.data()));
    EXPECT_EQ(version_value(block, "ProductName"), "Polrix");
    EXPECT_EQ(version_value(block, "ProductVersion"), "1.00");
    EXPECT_EQ(version_value(block, "CompanyName"), "Vendaril");
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
}

TEST(Resources, CommonControlsManifest)
{
    HRSRC found = FindResourceA(module(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_TRUE(found);
    const char* text = static_cast<const char*>(LockResource(LoadResource(module(), found)));
    const std::string manifest(text, SizeofResource(module(), found));
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos)
        << manifest;
}

}  // namespace
