// The registry list reader over a scratch key holding values of every type:
// the three modes, their counters, the item chain and the log lines. Runs
// over the in-memory store on the host and the real registry under Wine.
#include "base/registry.h"
#include "config/query_list.h"
#include "reader/reader.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/registry_names.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string sz(const std::string& text) { return text + '\0'; }

std::string le32(uint32_t v)
{
    std::string b;
    for (int i = 0; i < 4; ++i)
        b += static_cast<char>((v >> (8 * i)) & 0xFF);
    return b;
}

struct ItemSeen {
    std::string name;
    int checked;
    std::vector<std::string> values;
    bool operator==(const ItemSeen& o) const
    {
        return name == o.name && checked == o.checked && values == o.values;
    }
};

std::ostream& operator<<(std::ostream& out, const ItemSeen& item)
{
    out << "{" << item.name << ", checked " << item.checked << ",";
    for (const std::string& v : item.values)
        out << " [" << v << "]";
    return out << "}";
}

std::vector<ItemSeen> items_of(QueryList& list)
{
    std::vector<ItemSeen> seen;
    for_each_item(list, [&](QueryItem& i) { seen.push_back({i.name.value_or("<none>"), i.checked, i.values}); });
    return seen;
}

class RegistryReader : public ::testing::Test {
protected:
    // A registry list as the query file makes it: path, key, items checked.
    std::unique_ptr<QueryList> make_list(const std::string& root, const std::string& key,
                                         const std::vector<std::string>& items)
    {
        std::unique_ptr<QueryList> list = init_list();
        list->is_reg = 1;
        list->path = root;
        list->name = key;
        for (const std::string& name : items) {
            std::unique_ptr<QueryItem> item = init_item();
            item->name = name;
            item->checked = 1;
            append_item(*list, std::move(item));
        }
        return list;
    }

    // Reads the list; returns the result and the log lines it wrote.
    std::pair<int, std::string> read(QueryList& list)
    {
        std::string before = log.text();
        int result = reader.read_rkey(&list);
        std::string after = log.text();
        EXPECT_EQ(after.compare(0, before.size(), before), 0);
        return {result, after.substr(before.size())};
    }

    std::string head(const std::string& root, const std::string& key)
    {
        return "CWMI::read_rkey ()\n  " + root + "\\" + key + "\n";
    }

    void put(const std::string& sub, const char* name, uint32_t type, const std::string& data)
    {
        ASSERT_TRUE(scratch.put(TestHive::user, sub, name, type, data));
    }

    void put(const std::wstring& sub, const std::wstring& name, uint32_t type, const std::string& data)
    {
        ASSERT_TRUE(scratch.put(TestHive::user, sub, name.empty() ? nullptr : name.c_str(), type, data));
    }

    // The log lines of a read: its head, one line per entry, its counters.
    using Entries = std::vector<std::pair<std::string, std::string>>;
    std::string log_of(const std::string& key, const Entries& entries, const std::string& counters)
    {
        std::string lines = head("HKCU", key);
        for (const auto& entry : entries)
            lines += "    " + entry.first + " = " + entry.second + "\n";
        return lines + "  RegRead OK " + counters + "\n";
    }

    TestLog log;
    std::atomic<int> read_all{0};
    CWMI reader{read_all};
    ScratchKey scratch;
};

TEST_F(RegistryReader, PlainModeGivesTheTextOfEveryType)
{
    put("", nullptr, REGTYPE_SZ, sz("standard"));
    put("", "@", REGTYPE_SZ, sz("named at"));
    put("", "text", REGTYPE_SZ, sz("hello"));
    put("", "expand", REGTYPE_EXPAND_SZ, sz("%TEMP%\\polrix"));
    put("", "binary", REGTYPE_BINARY, std::string("AB\0CD", 5));
    put("", "dword", REGTYPE_DWORD, le32(300));
    put("", "negative", REGTYPE_DWORD, le32(0xFFFFFFFFu));
    put("", "multi", REGTYPE_MULTI_SZ, std::string("one\0two\0\0", 9));
    put("", "qword", REGTYPE_QWORD, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8));
    put("", "bigendian", REGTYPE_DWORD_BIG_ENDIAN, le32(300));
    put("", "empty", REGTYPE_SZ, sz(""));
    put("", "onebyte", REGTYPE_BINARY, "A");
    // Data without a terminating zero end where the data end.
    put("", "bare", REGTYPE_BINARY, "XYZ");
    put("", "baretext", REGTYPE_SZ, "abc");
    const std::string long_name(300, 'v');
    put("", long_name.c_str(), REGTYPE_SZ, sz("long named"));

    auto list = make_list("HKCU", scratch.path(),
                          {"@", "text", "expand", "binary", "dword", "negative", "multi", "qword", "bigendian",
                           "empty", "onebyte", "bare", "baretext", "missing", long_name});
    auto [result, log] = read(*list);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(list->pending, 0);
    EXPECT_EQ(list->row_count, 1);
    EXPECT_EQ(list->item_count, 15);
    std::vector<ItemSeen> expected = {
        {"@", 1, {"standard"}},   {"text", 1, {"hello"}}, {"expand", 1, {"%TEMP%\\polrix"}},
        {"binary", 1, {"AB"}},    {"dword", 1, {"300"}},  {"negative", 1, {"-1"}},
        {"multi", 1, {"one"}},    {"qword", 1, {""}},     {"bigendian", 1, {""}},
        {"empty", 1, {""}},       {"onebyte", 1, {""}},   {"bare", 1, {"XYZ"}},
        {"baretext", 1, {"abc"}}, {"missing", 1, {""}},   {long_name, 1, {"long named"}},
    };
    EXPECT_EQ(items_of(*list), expected);
    std::string lines = head("HKCU", scratch.path());
    for (const ItemSeen& item : expected)
        lines += "    " + item.name + " = " + item.values[0] + "\n";
    lines += "  RegRead OK m:1, n: 15\n";
    EXPECT_EQ(log, lines);
}

TEST_F(RegistryReader, PlainModeDefaultValueCountsOnlyAsText)
{
    put("", nullptr, REGTYPE_DWORD, le32(7));
    auto list = make_list("HKCU", scratch.path(), {"@"});
    read(*list);
    EXPECT_EQ(items_of(*list), (std::vector<ItemSeen>{{"@", 1, {""}}}));
}

TEST_F(RegistryReader, PlainModeOnMissingKeyGivesEmptyEntries)
{
    auto list = make_list("HKCU", scratch.path("missing"), {"@", "a"});
    auto [result, log] = read(*list);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(list->pending, 0);
    EXPECT_EQ(list->row_count, 1);
    EXPECT_EQ(list->item_count, 2);
    EXPECT_EQ(items_of(*list), (std::vector<ItemSeen>{{"@", 1, {""}}, {"a", 1, {""}}}));
    EXPECT_EQ(log, head("HKCU", scratch.path("missing")) + "    @ = \n    a = \n  RegRead OK m:1, n: 2\n");
}

TEST_F(RegistryReader, RootNameOtherThanHKCUReadsTheMachineHive)
{
    ASSERT_TRUE(scratch.put(TestHive::user, "", "where", REGTYPE_SZ, sz("user")));
    ASSERT_TRUE(scratch.put(TestHive::machine, "", "where", REGTYPE_SZ, sz("machine")));
    auto user = make_list("HKCU", scratch.path(), {"where"});
    auto machine = make_list("hkcu", scratch.path(), {"where"});
    read(*user);
    read(*machine);
    EXPECT_EQ(items_of(*user), (std::vector<ItemSeen>{{"where", 1, {"user"}}}));
    EXPECT_EQ(items_of(*machine), (std::vector<ItemSeen>{{"where", 1, {"machine"}}}));
}

TEST_F(RegistryReader, EnumKeyMakesOneRowPerSubkey)
{
    put("apps\\alpha", "DisplayName", REGTYPE_SZ, sz("Alpha App"));
    put("apps\\alpha", "DisplayVersion", REGTYPE_SZ, sz("1.0"));
    put("apps\\alpha", "@", REGTYPE_SZ, sz("at value"));
    put("apps\\beta", nullptr, REGTYPE_SZ, sz("default"));
    put("apps\\beta", "DisplayVersion", REGTYPE_DWORD, le32(300));
    ASSERT_TRUE(scratch.create(TestHive::user, "apps\\gamma\\deeper"));
    put("apps", "DisplayName", REGTYPE_SZ, sz("not a row"));

    // The first item names the row's subkey; its own name is not read.
    auto list = make_list("HKCU", scratch.path("apps"), {"DisplayName", "DisplayVersion", "@"});
    list->enum_keys = 1;
    list->enum_values = 1;  // EnumKey wins
    auto [result, log] = read(*list);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(list->pending, 0);
    EXPECT_EQ(list->row_count, 3);
    EXPECT_EQ(list->item_count, 3);
    EXPECT_EQ(items_of(*list), (std::vector<ItemSeen>{
                                   {"DisplayName", 1, {"alpha", "beta", "gamma"}},
                                   {"DisplayVersion", 1, {"1.0", "300", ""}},
                                   {"@", 1, {"at value", "", ""}},
                               }));
    EXPECT_EQ(log, head("HKCU", scratch.path("apps")) +
                       "    DisplayName = alpha\n    DisplayVersion = 1.0\n    @ = at value\n"
                       "    DisplayName = beta\n    DisplayVersion = 300\n    @ = \n"
                       "    DisplayName = gamma\n    DisplayVersion = \n    @ = \n"
                       "  RegRead OK m:3, n: 3\n");
}

TEST_F(RegistryReader, EnumKeyWithoutSubkeysEndsWithZeroCounts)
{
    put("leaf", "v", REGTYPE_SZ, sz("x"));
    auto list = make_list("HKCU", scratch.path("leaf"), {"name", "v"});
    list->enum_keys = 1;
    list->row_count = 7;
    list->item_count = 5;
    auto [result, log] = read(*list);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(list->pending, 0);
    EXPECT_EQ(list->row_count, 0);
    EXPECT_EQ(list->item_count, 0);
    EXPECT_EQ(items_of(*list), (std::vector<ItemSeen>{{"name", 1, {}}, {"v", 1, {}}}));
    EXPECT_EQ(log, head("HKCU", scratch.path("leaf")) + "  RegRead OK m:0, n: 0\n");
}

TEST_F(RegistryReader, EnumKeyOnMissingKeyKeepsCounters)
{
    auto list = make_list("HKCU", scratch.path("missing"), {"name", "v"});
    list->enum_keys = 1;
    list->row_count = 7;
    list->item_count = 5;
    auto [result, log] = read(*list);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(list->pending, 0);
    EXPECT_EQ(list->row_count, 7);
    EXPECT_EQ(list->item_count, 5);
    EXPECT_EQ(items_of(*list), (std::vector<ItemSeen>{{"name", 1, {}}, {"v", 1, {}}}));
    EXPECT_EQ(log, head("HKCU", scratch.path("missing")) + "  RegRead OK m:7, n: 5\n");
}

// Subkey paths longer than 1023 characters are read like any other.
TEST_F(RegistryReader, EnumKeyReadsBelowLongKeyPaths)
{
#ifdef _WIN32
    // Wine's ANSI registry calls refuse key paths of more than 260
    // characters (ERROR_MORE_DATA), so such a key cannot even be made there.
    GTEST_SKIP() << "key paths this long need the in-memory registry";
#endif
    std::string deep;
    for (int i = 0; i < 5; ++i)
        deep += (i ? "\\" : "") + std::string(240, static_cast<char>('d' + i));
    put(deep + "\\row", "v", REGTYPE_SZ, sz("deep value"));
    const std::string key = scratch.path(deep);
    ASSERT_GT(key.size() + 4, 1023u);
    auto list = make_list("HKCU", key, {"name", "v"});
    list->enum_keys = 1;
    auto [result, log] = read(*list);
    EXPECT_EQ(list->row_count, 1);
    EXPECT_EQ(items_of(*list), (std::vector<ItemSeen>{{"name", 1, {"row"}}, {"v", 1, {"deep value"}}}));
    EXPECT_EQ(log, head("HKCU", key) + "    name = row\n    v = deep value\n  RegRead OK m:1, n: 2\n");
}

TEST_F(RegistryReader, EnumValWithStarMakesOneItemPerValue)
{
    put("vals", "a", REGTYPE_SZ, sz("text"));
    put("vals", "b", REGTYPE_DWORD, le32(300));
    put("vals", "c", REGTYPE_MULTI_SZ, std::string("first\0second\0\0", 14));
    put("vals", "d", REGTYPE_QWORD, std::string(8, '\x01'));
    ASSERT_TRUE(scratch.create(TestHive::user, "vals\\sub"));

    // "*" and every item after it leave the chain.
    auto list = make_list("HKCU", scratch.path("vals"), {"*", "after"});
    list->enum_values = 1;
    list->item_count = 2;
    auto [result, log] = read(*list);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(list->pending, 0);
    EXPECT_EQ(list->row_count, 1);
    EXPECT_EQ(list->item_count, 4);
    EXPECT_EQ(items_of(*list), (std::vector<ItemSeen>{
                                   {"a", 1, {"text"}},
                                   {"b", 1, {"300"}},
                                   {"c", 1, {"first"}},
                                   {"d", 1, {""}},
                               }));
    ASSERT_NE(list->last_item, nullptr);
    EXPECT_EQ(list->last_item->name, std::string("d"));
    EXPECT_EQ(log, head("HKCU", scratch.path("vals")) +
                       "    a = text\n    b = 300\n    c = first\n    d = \n  RegRead OK m:1, n: 4\n");
}

TEST_F(RegistryReader, EnumValKeepsConfiguredItemsAndAppends)
{
    put("vals", "a", REGTYPE_SZ, sz("text"));
    auto list = make_list("HKCU", scratch.path("vals"), {"configured"});
    list->enum_values = 1;
    read(*list);
    EXPECT_EQ(list->row_count, 1);
    EXPECT_EQ(list->item_count, 1);  // the configured item is not counted
    EXPECT_EQ(items_of(*list), (std::vector<ItemSeen>{{"configured", 1, {}}, {"a", 1, {"text"}}}));
}

TEST_F(RegistryReader, EnumValOnEmptyKeyEndsWithNoItems)
{
    ASSERT_TRUE(scratch.create(TestHive::user, "empty"));
    auto list = make_list("HKCU", scratch.path("empty"), {"*"});
    list->enum_values = 1;
    list->item_count = 1;
    auto [result, log] = read(*list);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(list->row_count, 1);
    EXPECT_EQ(list->item_count, 0);
    EXPECT_EQ(list->first_item, nullptr);
    EXPECT_EQ(list->last_item, nullptr);
    EXPECT_EQ(log, head("HKCU", scratch.path("empty")) + "  RegRead OK m:1, n: 0\n");

    // The chain can grow again after it was emptied.
    std::unique_ptr<QueryItem> item = init_item();
    item->name = std::string("later");
    append_item(*list, std::move(item));
    EXPECT_EQ(items_of(*list), (std::vector<ItemSeen>{{"later", 0, {}}}));
}

TEST_F(RegistryReader, EnumValOnMissingKeyKeepsTheChain)
{
    auto list = make_list("HKCU", scratch.path("missing"), {"*"});
    list->enum_values = 1;
    list->item_count = 1;
    auto [result, log] = read(*list);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(list->pending, 0);
    EXPECT_EQ(list->row_count, 0);
    EXPECT_EQ(list->item_count, 1);
    EXPECT_EQ(items_of(*list), (std::vector<ItemSeen>{{"*", 1, {}}}));
    EXPECT_EQ(log, head("HKCU", scratch.path("missing")) + "  RegRead OK m:0, n: 1\n");
}

// Names that the ANSI code page loses or confuses, in the three modes. A
// list shows each name in its ANSI form; every row and item holds the data
// of its own name, never those of a look-alike, and names of any length are
// listed with those after them.
TEST_F(RegistryReader, EnumValListsEveryNameWithItsOwnValue)
{
    for (const TestName& name : value_names())
        put(L"vals", name.wide, REGTYPE_SZ, sz(name.data));
    auto list = make_list("HKCU", scratch.path("vals"), {"*"});
    list->enum_values = 1;
    auto [result, log] = read(*list);

    std::vector<ItemSeen> expected;
    std::vector<std::pair<std::string, std::string>> entries;
    for (const TestName& name : value_names()) {
        expected.push_back({name.text, 1, {name.data}});
        entries.push_back({name.text, name.data});
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(list->row_count, 1);
    EXPECT_EQ(list->item_count, static_cast<int>(expected.size()));
    EXPECT_EQ(items_of(*list), expected);
    EXPECT_EQ(log, log_of(scratch.path("vals"), entries, "m:1, n: " + std::to_string(expected.size())));
}

// Items after the first that name no value, or the same value twice, each
// keep their own column; a list of the key names alone reads no value.
TEST_F(RegistryReader, EnumKeyGivesEveryItemItsOwnColumn)
{
    put("cols\\one", "a", REGTYPE_SZ, sz("a1"));
    put("cols\\one", "b", REGTYPE_DWORD, le32(12));
    put("cols\\two", "b", REGTYPE_SZ, sz("b2"));

    auto list = make_list("HKCU", scratch.path("cols"), {"key", "b", "", "a", "b"});
    int k = 0;
    for_each_item(*list, [&](QueryItem& item) {
        if (k++ == 2)
            item.name.reset();
    });
    list->enum_keys = 1;
    auto [result, log] = read(*list);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(items_of(*list), (std::vector<ItemSeen>{
                                   {"key", 1, {"one", "two"}},
                                   {"b", 1, {"12", "b2"}},
                                   {"<none>", 1, {"", ""}},
                                   {"a", 1, {"a1", ""}},
                                   {"b", 1, {"12", "b2"}},
                               }));
    EXPECT_EQ(log, head("HKCU", scratch.path("cols")) +
                       "    key = one\n    b = 12\n     = \n    a = a1\n    b = 12\n"
                       "    key = two\n    b = b2\n     = \n    a = \n    b = b2\n"
                       "  RegRead OK m:2, n: 5\n");

    auto names_only = make_list("HKCU", scratch.path("cols"), {"key"});
    names_only->enum_keys = 1;
    auto [alone, alone_log] = read(*names_only);
    EXPECT_EQ(alone, 0);
    EXPECT_EQ(items_of(*names_only), (std::vector<ItemSeen>{{"key", 1, {"one", "two"}}}));
    EXPECT_EQ(alone_log, log_of(scratch.path("cols"), {{"key", "one"}, {"key", "two"}}, "m:2, n: 1"));
}

TEST_F(RegistryReader, EnumKeyReadsEveryRowFromItsOwnSubkey)
{
    for (const TestName& name : key_names()) {
        put(L"keys\\" + name.wide, L"v", REGTYPE_SZ, sz(name.data));
        // A subkey of each row, named alike, that a row must not take for its own.
        put(L"keys\\" + name.wide + L"\\deeper", L"v", REGTYPE_SZ, sz("deeper " + name.data));
    }
    auto list = make_list("HKCU", scratch.path("keys"), {"name", "v"});
    list->enum_keys = 1;
    auto [result, log] = read(*list);

    std::vector<std::string> texts, data;
    std::vector<std::pair<std::string, std::string>> entries;
    for (const TestName& name : key_names()) {
        texts.push_back(name.text);
        data.push_back(name.data);
        entries.push_back({"name", name.text});
        entries.push_back({"v", name.data});
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(list->row_count, static_cast<int>(texts.size()));
    EXPECT_EQ(items_of(*list), (std::vector<ItemSeen>{{"name", 1, texts}, {"v", 1, data}}));
    EXPECT_EQ(log, log_of(scratch.path("keys"), entries, "m:" + std::to_string(texts.size()) + ", n: 2"));
}

// The query file names values in ANSI: each item reads what its text names,
// and a text that stands for no name reads nothing.
TEST_F(RegistryReader, PlainModeReadsTheNamesItsItemsGive)
{
    for (const TestName& name : value_names())
        put(L"vals", name.wide, REGTYPE_SZ, sz(name.data));
    const std::string long_text = "L" + std::string(300, 'l');
    auto list = make_list("HKCU", scratch.path("vals"),
                          {"@", "<b>", "A before", long_text, "Z after", "? check", "??"});
    auto [result, log] = read(*list);
    std::vector<std::pair<std::string, std::string>> entries = {
        {"@", "default"},    {"<b>", "ascii twin"}, {"A before", "before"},
        {long_text, "long"}, {"Z after", "after"},  {"? check", ""},
        {"??", ""},
    };
    std::vector<ItemSeen> expected;
    for (const auto& entry : entries)
        expected.push_back({entry.first, 1, {entry.second}});
    EXPECT_EQ(items_of(*list), expected);
    EXPECT_EQ(log, log_of(scratch.path("vals"), entries, "m:1, n: 7"));
}

TEST_F(RegistryReader, ListWithoutPathIsNotRead)
{
    put("", "v", REGTYPE_SZ, sz("x"));
    auto list = make_list("HKCU", scratch.path(), {"v"});
    list->path.reset();
    auto [result, log] = read(*list);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(list->pending, 1);
    EXPECT_EQ(items_of(*list), (std::vector<ItemSeen>{{"v", 1, {}}}));
    EXPECT_EQ(log, "");
}

}  // namespace
