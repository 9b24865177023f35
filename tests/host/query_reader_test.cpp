// The query file reader: small query files written to the test's folder, the
// chain read from them, and the inventory's read_config with its two ways of ending.
#include "inventory/inventory.h"
#include "config/query_reader.h"
#include "tests/support/chain_builder.h"
#include "tests/support/chain_dump.h"
#include "tests/support/test_inventory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>

namespace {

struct ReaderCase {
    const char* what;
    std::string file;      // the query file's bytes
    std::string expected;  // dump of the chain read from it
};

void PrintTo(const ReaderCase& c, std::ostream* os) { *os << c.what; }

class QueryReaderCases : public ::testing::TestWithParam<ReaderCase> {
protected:
    void SetUp() override
    {
        setenv("QFO_READER_USER", "alice", 1);
        setenv("QFO_READER_EMPTY", "", 1);
        unsetenv("QFO_READER_UNDEFINED");
    }
    void TearDown() override
    {
        unsetenv("QFO_READER_USER");
        unsetenv("QFO_READER_EMPTY");
    }
};

TEST_P(QueryReaderCases, BuildsTheChain)
{
    // Read as read_config reads, but a faulty file fails this case alone
    // instead of ending the test program.
    TestInventory t;
    write_file_bytes(t.inventory().cfg_path, GetParam().file);
    std::unique_ptr<QueryList> chain;
    std::string error;
    ASSERT_TRUE(read_query_file(t.inventory().cfg_path, chain, error)) << GetParam().what << ": " << error;
    number_lists(chain.get(), t.inventory().class_names);
    EXPECT_EQ(dump(chain.get()), GetParam().expected) << GetParam().what;
}

const std::string kLongDisp(5000 - 18, 'A');  // "     <disp>" + text + "</disp>": 5000 characters

INSTANTIATE_TEST_SUITE_P(
    Files, QueryReaderCases,
    ::testing::Values(
        ReaderCase{"comment only in the first column",
                   crlf(";<list>\n"
                        ";  <name>hidden</name>\n"
                        " ;<list>\n"
                        " ;<name>shown</name>\n"),
                   "list 17 name=[shown]\n"},
        ReaderCase{"blank lines, bare line feeds, blanks-only lines, any indentation",
                   "<list>\n\n\r\n   \r\n\t\t<typ>REG</typ>\n  \t<path>HKCU</path>\r\n\r\n"
                   "                <name>Software\\X</name>\n<item>\r\n\r\n\n    <name>v</name>\n",
                   "list 17 REG path=[HKCU] name=[Software\\X]\n  item name=[v]\n"},
        ReaderCase{"tags and a stray item before the first list have no effect, not even a malformed one",
                   crlf("<config>\n"
                        "<typ>WMI</typ>\n"
                        "<name>Win32_Bios</name>\n"
                        "<path>broken\n"
                        "<item>\n"
                        "<name>stray</name>\n"
                        "  <list>\n"
                        "     <name>L</name>\n"
                        "  </list>\n"
                        "</config>\n"),
                   "list 17 name=[L]\n"},
        ReaderCase{"after the first item list tags are ignored and <name> names the item",
                   crlf("<list>\n<typ>WMI</typ>\n<name>L</name>\n<item>\n"
                        "<path>p</path>\n<typ>REG</typ>\n<cmd>EnumKey</cmd>\n<var>v</var>\n"
                        "<name>n</name>\n<disp>D</disp>\n<filt>KB</filt>\n</item>\n</list>\n"),
                   "list 17 WMI name=[L]\n  item name=[n] disp=[D] filt=[KB]\n"},
        ReaderCase{"<name> after </item> renames the item before it; repeated tags replace",
                   crlf("<list>\n<name>L</name>\n<name>M</name>\n"
                        "<item>\n<name>a</name>\n</item>\n<name>b</name>\n"
                        "<item>\n<name>c</name>\n</item>\n</list>\n"),
                   "list 17 name=[M]\n  item name=[b]\n  item name=[c]\n"},
        ReaderCase{"<typ>: whole value, letter case ignored; both types",
                   crlf("<list>\n<typ>wMi</typ>\n<name>A</name>\n"
                        "<list>\n<typ>WMI </typ>\n<name>B</name>\n"
                        "<list>\n<typ>reg</typ>\n<name>C</name>\n"
                        "<list>\n<typ>WMI</typ>\n<typ>Reg</typ>\n<name>D</name>\n"
                        "<list>\n<typ>REG,WMI</typ>\n<name>E</name>\n"),
                   "list 17 WMI name=[A]\nlist 18 name=[B]\nlist 19 REG name=[C]\n"
                   "list 20 WMI REG name=[D]\nlist 21 name=[E]\n"},
        ReaderCase{"<cmd>: EnumKey and EnumVal in any case, others ignored",
                   crlf("<list>\n<typ>REG</typ>\n<cmd>enumkey</cmd>\n<name>A</name>\n"
                        "<list>\n<typ>REG</typ>\n<cmd>ENUMVAL</cmd>\n<name>B</name>\n"
                        "<list>\n<typ>REG</typ>\n<cmd>EnumKeys</cmd>\n<name>C</name>\n"
                        "<list>\n<typ>REG</typ>\n<cmd>EnumKey</cmd>\n<cmd>EnumVal</cmd>\n<name>D</name>\n"),
                   "list 17 REG EnumKey name=[A]\nlist 18 REG EnumVal name=[B]\nlist 19 REG name=[C]\n"
                   "list 20 REG EnumKey EnumVal name=[D]\n"},
        ReaderCase{"two tags on one line: the first runs to the last '<', each take cuts the line",
                   crlf("<list>\n<name>a</name><disp>b</disp>\n"
                        "<item>\n<name>x</name><filt>KB</filt>\n"),
                   "list 17 name=[a</name><disp>b] disp=[a</name>]\n"
                   "  item name=[x</name><filt>KB] filt=[x</name>]\n"},
        ReaderCase{"values verbatim: blanks kept, nothing decoded, empty is empty not none",
                   crlf("<list>\n<path> root\\CIMV2 </path>\n<name>N</name>\n<disp>&amp; \"q\"</disp>\n"
                        "<filt></filt>\n<item>\n<name></name>\n<filt> KB</filt>\n"),
                   "list 17 path=[ root\\CIMV2 ] name=[N] disp=[&amp; \"q\"] filt=[]\n"
                   "  item name=[] filt=[ KB]\n"},
        ReaderCase{"<var> with a defined variable: its value alone",
                   crlf("<list>\n<name>A</name>\n<var>%QFO_READER_USER%</var>\n"
                        "<list>\n<name>B</name>\n<var>x%QFO_READER_USER%y</var>\n"),
                   "list 17 name=[A] var=[alice] written=[%QFO_READER_USER%]\n"
                   "list 18 name=[B] var=[alice] written=[x%QFO_READER_USER%y]\n"},
        ReaderCase{"<var> with one '%' or none is stored as written",
                   crlf("<list>\n<name>A</name>\n<var>50%</var>\n"
                        "<list>\n<name>B</name>\n<var>3</var>\n"),
                   "list 17 name=[A] var=[50%] written=[50%]\n"
                   "list 18 name=[B] var=[3] written=[3]\n"},
        ReaderCase{"<var> with an undefined, empty or nameless variable keeps the percent signs",
                   crlf("<list>\n<name>A</name>\n<var>%QFO_READER_UNDEFINED%</var>\n"
                        "<list>\n<name>B</name>\n<var>a%QFO_READER_EMPTY%b</var>\n"
                        "<list>\n<name>C</name>\n<var>100%%</var>\n"),
                   "list 17 name=[A] var=[%QFO_READER_UNDEFINED%] written=[%QFO_READER_UNDEFINED%]\n"
                   "list 18 name=[B] var=[a%QFO_READER_EMPTY%b] written=[a%QFO_READER_EMPTY%b]\n"
                   "list 19 name=[C] var=[100%%] written=[100%%]\n"},
        ReaderCase{"a line of 5000 characters is one line",
                   crlf("<list>\n<name>L</name>\n     <disp>" + kLongDisp + "</disp>\n<item>\n<name>i</name>\n"),
                   "list 17 name=[L] disp=[" + kLongDisp + "]\n  item name=[i]\n"},
        ReaderCase{"a last line without line end keeps its last character",
                   crlf("<list>\n<name>L</name>\n<item>\n") + "<name>abc</name>",
                   "list 17 name=[L]\n  item name=[abc]\n"},
        ReaderCase{"a last </config> without line end does no harm",
                   crlf("<config>\n<list>\n<name>L</name>\n</list>\n") + "</config>", "list 17 name=[L]\n"},
        ReaderCase{"ID numbers through the file",
                   crlf("<list>\n<name>Win32_Bios</name>\n<list>\n<name>foo</name>\n<list>\n<typ>WMI</typ>\n"
                        "<list>\n<name>win32_PROCESSOR</name>\n<list>\n<name>Win32_Bios </name>\n"
                        "<list>\n<name>bar</name>\n<list>\n<name>Win32_Bios</name>\n"),
                   "list 2 name=[Win32_Bios]\nlist 17 name=[foo]\nlist 0 WMI\nlist 3 name=[win32_PROCESSOR]\n"
                   "list 18 name=[Win32_Bios ]\nlist 19 name=[bar]\nlist 2 name=[Win32_Bios]\n"},
        ReaderCase{"a tag on a <list> line goes to the list before, or nowhere before the first",
                   crlf("<list><name>X</name></list>\n<name>A</name>\n<list><name>B</name></list>\n"),
                   "list 17 name=[<name>B</name>]\nlist 0\n"},
        ReaderCase{"a tag on an <item> line goes to the item before, or nowhere on the file's first",
                   crlf("<list>\n<name>L</name>\n<item><name>a</name></item>\n<item><name>b</name></item>\n"),
                   "list 17 name=[L]\n  item name=[<name>b</name>]\n  item\n"},
        ReaderCase{
            "the current item is kept when a new list starts",
            crlf("<list>\n<name>A</name>\n<item>\n<name>a</name>\n</item>\n</list>\n"
                 "<list>\n<name>B</name>\n<item><disp>d</disp></item>\n<name>b</name>\n"),
            "list 17 name=[A]\n  item name=[a] disp=[<disp>d</disp>]\nlist 18 name=[B]\n  item name=[b]\n"}));

TEST(QueryReader, ReadsTheExampleQueryFile)
{
    std::string here = __FILE__;
    std::string example = here.substr(0, here.rfind("/tests/host/")) + "/examples/polrix.xml";
    std::string bytes = read_file_bytes(example);
    ASSERT_FALSE(bytes.empty()) << example;

    TestInventory t;
    write_file_bytes(t.inventory().cfg_path, bytes);
    t.inventory().read_config();
    std::string expected;
    for (int k = 0; k < 16; ++k)
        expected += "list " + std::to_string(k + 1) + " WMI path=[root\\CIMV2] name=[" + KNOWN_CLASS_NAMES[k] +
                    "]\n  item name=[*]\n";
    expected +=
        "list 17 REG EnumKey path=[HKLM] name=[SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall]\n"
        "  item name=[Entry]\n  item name=[DisplayName]\n  item name=[DisplayVersion]\n";
    EXPECT_EQ(dump(t.inventory().first_list.get()), expected);
    EXPECT_NE(t.log().find("mapp::OnRCFG () OK ...\n"), std::string::npos) << t.log();
}

TEST(QueryReader, AppendsToTheChainItIsGiven)
{
    TestInventory t;
    write_file_bytes(t.inventory().cfg_path, crlf("<list>\n<name>first</name>\n"));
    t.inventory().read_config();
    write_file_bytes(t.inventory().cfg_path, crlf("<list>\n<name>second</name>\n"));
    t.inventory().read_config();
    // The numbering starts again at 17 for the lists without a number; the
    // callers read into an empty chain, so this does not occur in the program.
    EXPECT_EQ(dump(t.inventory().first_list.get()), "list 17 name=[first]\nlist 17 name=[second]\n");
}

struct TagValueCase {
    std::string line;
    bool ok;
    std::string result;      // the value, or the error text
    std::string line_after;  // the line as tag_value leaves it
};

TEST(QueryReader, TagValueTakesTheValueOrNamesTheFault)
{
    const TagValueCase cases[] = {
        {"<name>x</name>", true, "x", "<name>x"},
        {"   <disp></disp>", true, "", "   <disp>"},
        {"<a>b</a>c<d>", true, "b</a>c", "<a>b</a>c"},
        {"x>y<name>v</name>", true, "y<name>v", "x>y<name>v"},
        {"abc", false, "Invalid Configuration in line\nabc", "abc"},
        {"<abc", false, "Invalid Configuration in line\n<abc", "<abc"},
        {">a<", false, "Invalid Configuration in line\n>a<", ">a<"},
        {"  <name>x</nam>", false, "Invalid </name> Configuration in line\n  <name>x</nam>", "  <name>x</nam>"},
        {"</name>x", false, "Invalid <//name> Configuration in line\n</name>x", "</name>x"},
    };
    for (const TagValueCase& c : cases) {
        std::string line = c.line;
        std::string error;
        std::optional<std::string> value = tag_value(line, error);
        ASSERT_EQ(value.has_value(), c.ok) << c.line;
        EXPECT_EQ(c.ok ? *value : error, c.result) << c.line;
        EXPECT_EQ(line, c.line_after) << c.line;
    }
}

TEST(QueryReader, MalformedLineIsReportedWithoutItsLineEndAndKeepsWhatWasRead)
{
    TestInventory t;
    write_file_bytes(t.inventory().cfg_path, crlf("<list>\n<name>A</name>\n<list>\n     <name>abc\n<list>\n"));
    std::unique_ptr<QueryList> chain;
    std::string error;
    EXPECT_FALSE(read_query_file(t.inventory().cfg_path, chain, error));
    EXPECT_EQ(error, "Invalid </name> Configuration in line\n     <name>abc");
    EXPECT_EQ(dump(chain.get()), "list 0 name=[A]\nlist 0\n");
}

TEST(QueryReaderDeathTest, MissingFileEndsWithExitCode100)
{
    TestInventory t;
    std::string path = t.inventory().cfg_path;
    EXPECT_EXIT(t.inventory().read_config(), ::testing::ExitedWithCode(100),
                "\\[stop box\\] " + regex_quote("Could not open file: " + path) + "\n");
}

TEST(QueryReaderDeathTest, MalformedLineEndsWithExitCode100)
{
    TestInventory t;
    write_file_bytes(t.inventory().cfg_path,
                     crlf("<config>\n  <list>\n     <typ>WMI</typ>\n     <name>abc\n  </list>\n"));
    EXPECT_EXIT(t.inventory().read_config(), ::testing::ExitedWithCode(100),
                regex_quote("[stop box] Invalid </name> Configuration in line\n     <name>abc\n"));
}

}  // namespace
