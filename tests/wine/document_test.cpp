// The window's document without its window: the default query file written
// when it is made, and an open that replaces the chain and leaves no pointer
// into the freed lists.
#include "ui/document_win32.h"

#include "app/application_win32.h"
#include "res/resource.h"
#include "tests/support/chain_builder.h"
#include "tests/support/chain_dump.h"
#include "tests/support/recording_window_side.h"
#include "tests/support/test_app_win32.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class Document : public ::testing::Test {
protected:
    Inventory& a() { return app.inventory(); }
    mbox& results() { return app.window().result_list; }

    RecordingWindowSide side{false};
    TestApp app;
};

TEST_F(Document, MakingItWritesTheDefaultQueryFileOnlyWhereThereIsNone)
{
    std::remove(a().cfg_path.c_str());
    {
        mdoc doc;
    }
    std::string written = read_file_bytes(a().cfg_path);
    EXPECT_NE(written.find("     <name>Win32_SystemEnclosure</name>\r\n"), std::string::npos);
    EXPECT_NE(written.find("     <name>SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall</name>\r\n"),
              std::string::npos);

    write_file_bytes(a().cfg_path, "");
    {
        mdoc doc;
    }
    EXPECT_EQ(read_file_bytes(a().cfg_path), "");
    EXPECT_NE(app.log().find("mdoc::mdoc () OK ...\nmdoc::~mdoc () OK ...\n"), std::string::npos) << app.log();
}

TEST_F(Document, OpeningReplacesTheChainAndForgetsTheListsItPointedInto)
{
    QueryList& old_list = add_list(a().first_list, "Old", 17, 1, 1);
    add_item(old_list, "Name", {"v"});
    a().wmi.cur_list = &old_list;
    results().current_list = &old_list;
    results().converted_list = &old_list;

    std::string path = app.path("other.xml");
    write_file_bytes(path, crlf("<config>\n  <list>\n     <typ>REG</typ>\n     <path>HKCU</path>\n"
                                "     <name>Software\\Other</name>\n     <item>\n        <name>A</name>\n"
                                "     </item>\n  </list>\n</config>\n"));
    mdoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path));

    EXPECT_EQ(a().cfg_path, path);
    EXPECT_EQ(dump(a().first_list.get()), "list 17 REG path=[HKCU] name=[Software\\Other]\n  item name=[A]\n");
    EXPECT_EQ(a().wmi.cur_list, nullptr);
    EXPECT_EQ(results().current_list, nullptr);
    EXPECT_EQ(results().converted_list, nullptr);
    // From now on the plain save would write over that query file: not offered.
    EXPECT_FALSE(doc.OnCmdMsg(ID_FILE_SAVE, false));
    EXPECT_TRUE(doc.OnCmdMsg(ID_FILE_SAVE_AS, false));
}

TEST_F(Document, ANewDocumentIsTitledWithTheQueryFilePath)
{
    mdoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.GetTitle(), a().cfg_path);
    EXPECT_TRUE(doc.OnCmdMsg(ID_FILE_SAVE, false));
}

}  // namespace
