// The seven registry functions, one table of cases. The host runs it over
// the in-memory store, the Windows test program over the real registry, so
// both backends answer every case alike.
//
// Wine lists subkeys and values sorted by name; the store lists subkeys by
// name too, but values in the order of their creation: the cases create
// their values in sorted order.
#include "base/registry.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/registry_names.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// How GoogleTest shows a name: its text and the length of its wide form.
static void PrintTo(const RegName& name, std::ostream* out)
{
    *out << "{" << name.text << ", " << name.wide.size() << " wide characters}";
}

namespace {

using Bytes = std::string;

// Zero-terminated text as the registry stores it.
Bytes sz(const std::string& text) { return text + '\0'; }

Bytes le32(uint32_t v)
{
    Bytes b;
    for (int i = 0; i < 4; ++i)
        b += static_cast<char>((v >> (8 * i)) & 0xFF);
    return b;
}

enum class Op { read_val, read_string, read_dword, write_dword, write_string, enum_keys, enum_values };

// One step of filling the scratch key, in order: a value, or an empty key.
struct Put {
    TestHive hive;
    std::string sub;
    std::optional<std::string> name;  // none: the default value
    uint32_t type;
    Bytes data;
    bool key_only = false;
    TestView view = TestView::native;
};

// One case: what the scratch key holds, one call, what it must give.
struct RegistryCase {
    std::string title;
    std::vector<Put> puts;
    Op op = Op::read_val;
    std::string root = "HKCU";
    std::string sub;              // key below the scratch key the call names
    bool by_wow6432node = false;  // the call names the 32-bit view's key by its own path
    std::optional<std::string> name;
    uint32_t dword_in = 0;
    std::string text_in;
    // Expected: the read data (for the writes, what read_rval finds
    // afterwards), its type, the number, the result and the names.
    std::optional<Bytes> data;
    uint32_t type = 0;
    int32_t number = 0;
    int result = 0;
    std::vector<std::string> names;

    explicit RegistryCase(std::string t) : title(std::move(t)) {}

    RegistryCase& put(TestHive hive, std::string at, std::optional<std::string> value, uint32_t t, Bytes bytes)
    {
        puts.push_back({hive, std::move(at), std::move(value), t, std::move(bytes)});
        return *this;
    }
    RegistryCase& put(std::optional<std::string> value, uint32_t t, Bytes bytes)
    {
        return put(TestHive::user, "", std::move(value), t, std::move(bytes));
    }
    // A value written in the view that 64-bit Windows shows 32-bit programs.
    RegistryCase& put32(TestHive hive, std::string at, std::optional<std::string> value, Bytes bytes)
    {
        puts.push_back(
            {hive, std::move(at), std::move(value), REGTYPE_SZ, std::move(bytes), false, TestView::wow32});
        return *this;
    }
    RegistryCase& key(std::string at)
    {
        puts.push_back({TestHive::user, std::move(at), std::nullopt, 0, Bytes(), true});
        return *this;
    }
    RegistryCase& at(std::string r, std::string s = "")
    {
        root = std::move(r);
        sub = std::move(s);
        return *this;
    }
    RegistryCase& at_wow6432node(std::string s)
    {
        root = "HKLM";
        sub = std::move(s);
        by_wow6432node = true;
        return *this;
    }
    RegistryCase& read_val(std::optional<std::string> value, std::optional<Bytes> expect, uint32_t t)
    {
        op = Op::read_val;
        name = std::move(value);
        data = std::move(expect);
        type = t;
        return *this;
    }
    RegistryCase& read_string(std::optional<std::string> value, std::optional<std::string> expect)
    {
        op = Op::read_string;
        name = std::move(value);
        data = std::move(expect);
        return *this;
    }
    RegistryCase& read_dword(std::optional<std::string> value, int32_t expect)
    {
        op = Op::read_dword;
        name = std::move(value);
        number = expect;
        return *this;
    }
    RegistryCase& write_dword(std::optional<std::string> value, uint32_t v)
    {
        op = Op::write_dword;
        name = std::move(value);
        dword_in = v;
        data = le32(v);
        type = REGTYPE_DWORD;
        return *this;
    }
    RegistryCase& write_string(std::optional<std::string> value, std::string text)
    {
        op = Op::write_string;
        name = std::move(value);
        text_in = text;
        data = sz(text);
        type = REGTYPE_SZ;
        return *this;
    }
    RegistryCase& enum_keys(int r, std::vector<std::string> expect)
    {
        op = Op::enum_keys;
        result = r;
        names = std::move(expect);
        return *this;
    }
    RegistryCase& enum_values(int r, std::vector<std::string> expect)
    {
        op = Op::enum_values;
        result = r;
        names = std::move(expect);
        return *this;
    }
};

// The same value name in both hives, with the hive's name as its text.
RegistryCase root_case(const std::string& title, const std::string& root, const std::string& hive)
{
    return RegistryCase(title)
        .put(TestHive::user, "", std::string("where"), REGTYPE_SZ, sz("user"))
        .put(TestHive::machine, "", std::string("where"), REGTYPE_SZ, sz("machine"))
        .at(root)
        .read_string(std::string("where"), hive);
}

const std::string N259(259, 'b');
const std::string N260(260, 'c');
const std::string N300(300, 'c');
const std::string N1200(1200, 'c');
const std::optional<std::string> DEFAULT;  // the default value
std::optional<std::string> n(const char* s) { return std::string(s); }

const Bytes MULTI("one\0two\0\0", 9);
const Bytes BINARY("\x01\x00\xfe\x7f", 4);
const Bytes QWORD("\x01\x02\x03\x04\x05\x06\x07\x08", 8);

std::vector<RegistryCase> cases()
{
    const auto user = TestHive::user;
    return {
        // Only the exact text "HKCU" is the user's hive.
        root_case("root_HKCU_is_user_hive", "HKCU", "user"),
        root_case("root_HKLM_is_machine_hive", "HKLM", "machine"),
        root_case("root_empty_is_machine_hive", "", "machine"),
        root_case("root_lower_case_hkcu_is_machine_hive", "hkcu", "machine"),
        root_case("root_HKCU_and_blank_is_machine_hive", "HKCU ", "machine"),

        // Every type through the raw read, bytes as stored.
        RegistryCase("sz_raw").put(n("v"), REGTYPE_SZ, sz("hello")).read_val(n("v"), sz("hello"), REGTYPE_SZ),
        RegistryCase("expand_sz_raw_unexpanded")
            .put(n("v"), REGTYPE_EXPAND_SZ, sz("%SystemRoot%\\polrix"))
            .read_val(n("v"), sz("%SystemRoot%\\polrix"), REGTYPE_EXPAND_SZ),
        RegistryCase("dword_raw").put(n("v"), REGTYPE_DWORD, le32(300)).read_val(n("v"), le32(300), REGTYPE_DWORD),
        RegistryCase("binary_raw_keeps_zero_bytes")
            .put(n("v"), REGTYPE_BINARY, BINARY)
            .read_val(n("v"), BINARY, REGTYPE_BINARY),
        RegistryCase("multi_sz_raw")
            .put(n("v"), REGTYPE_MULTI_SZ, MULTI)
            .read_val(n("v"), MULTI, REGTYPE_MULTI_SZ),
        RegistryCase("qword_raw").put(n("v"), REGTYPE_QWORD, QWORD).read_val(n("v"), QWORD, REGTYPE_QWORD),
        RegistryCase("empty_text_raw_is_none_with_type_0")
            .put(n("v"), REGTYPE_SZ, sz(""))
            .read_val(n("v"), std::nullopt, 0),
        RegistryCase("one_byte_binary_raw_is_none_with_type_0")
            .put(n("v"), REGTYPE_BINARY, Bytes("\x07", 1))
            .read_val(n("v"), std::nullopt, 0),
        RegistryCase("zero_byte_text_raw_is_empty").put(n("v"), REGTYPE_SZ, "").read_val(n("v"), "", REGTYPE_SZ),
        RegistryCase("missing_value_raw_is_none")
            .put(n("other"), REGTYPE_SZ, sz("x"))
            .read_val(n("v"), std::nullopt, 0),
        RegistryCase("missing_key_raw_is_none").at("HKCU", "missing").read_val(n("v"), std::nullopt, 0),
        RegistryCase("names_ignore_letter_case")
            .put(user, "Mixed\\Case", n("Value"), REGTYPE_SZ, sz("found"))
            .at("HKCU", "MIXED\\case")
            .read_val(n("vALUE"), sz("found"), REGTYPE_SZ),

        // Text reads.
        RegistryCase("sz_text").put(n("v"), REGTYPE_SZ, sz("hello")).read_string(n("v"), "hello"),
        RegistryCase("expand_sz_text_unexpanded")
            .put(n("v"), REGTYPE_EXPAND_SZ, sz("%SystemRoot%\\polrix"))
            .read_string(n("v"), "%SystemRoot%\\polrix"),
        RegistryCase("empty_text_is_none").put(n("v"), REGTYPE_SZ, sz("")).read_string(n("v"), std::nullopt),
        // Not even the terminating zero: nothing to read past.
        RegistryCase("zero_byte_text_is_none").put(n("v"), REGTYPE_SZ, "").read_string(n("v"), std::nullopt),
        RegistryCase("text_of_a_dword_is_none")
            .put(n("v"), REGTYPE_DWORD, le32(65))
            .read_string(n("v"), std::nullopt),
        RegistryCase("text_of_multi_sz_is_none")
            .put(n("v"), REGTYPE_MULTI_SZ, MULTI)
            .read_string(n("v"), std::nullopt),
        RegistryCase("missing_text_is_none").at("HKCU", "missing").read_string(n("v"), std::nullopt),

        // Number reads.
        RegistryCase("dword_number").put(n("v"), REGTYPE_DWORD, le32(300)).read_dword(n("v"), 300),
        RegistryCase("dword_all_bits_set_reads_minus_one")
            .put(n("v"), REGTYPE_DWORD, le32(0xFFFFFFFFu))
            .read_dword(n("v"), -1),
        RegistryCase("dword_top_bit_reads_negative")
            .put(n("v"), REGTYPE_DWORD, le32(0x80000000u))
            .read_dword(n("v"), INT32_MIN),
        RegistryCase("four_byte_binary_is_no_dword").put(n("v"), REGTYPE_BINARY, le32(7)).read_dword(n("v"), -1),
        RegistryCase("missing_dword_is_minus_one").put(n("other"), REGTYPE_DWORD, le32(7)).read_dword(n("v"), -1),

        // The default value.
        RegistryCase("default_value_text")
            .put(DEFAULT, REGTYPE_SZ, sz("standard"))
            .read_string(DEFAULT, "standard"),
        RegistryCase("default_value_raw")
            .put(DEFAULT, REGTYPE_SZ, sz("standard"))
            .put(n("named"), REGTYPE_SZ, sz("other"))
            .read_val(DEFAULT, sz("standard"), REGTYPE_SZ),
        RegistryCase("default_value_written")
            .put(n("named"), REGTYPE_SZ, sz("other"))
            .write_string(DEFAULT, "standard"),

        // Writes create the keys they need and replace what is there.
        RegistryCase("write_dword_creates_keys").at("HKCU", "new\\deeper\\key").write_dword(n("n"), 0x01020304u),
        RegistryCase("write_dword_all_bits").write_dword(n("n"), 0xFFFFFFFFu),
        RegistryCase("write_string_creates_keys").at("HKCU", "new\\path").write_string(n("t"), "some text"),
        RegistryCase("write_string_replaces_a_dword")
            .put(n("t"), REGTYPE_DWORD, le32(5))
            .write_string(n("t"), "now text"),

        // Both programs read the machine's native view: a key that only the
        // 32-bit view holds is reached by its own path below WOW6432Node,
        // and the current user's keys are the same in both views.
        RegistryCase("view_key_of_native_view_is_read")
            .put(TestHive::machine, "only64", n("v"), REGTYPE_SZ, sz("native"))
            .at("HKLM", "only64")
            .read_string(n("v"), "native"),
        RegistryCase("view_key_of_32bit_view_only_is_not_read")
            .put32(TestHive::machine, "only32", n("v"), sz("wow32"))
            .at("HKLM", "only32")
            .read_string(n("v"), std::nullopt),
        RegistryCase("view_key_of_32bit_view_by_its_own_path")
            .put32(TestHive::machine, "only32", n("v"), sz("wow32"))
            .at_wow6432node("only32")
            .read_val(n("v"), sz("wow32"), REGTYPE_SZ),
        RegistryCase("view_key_in_both_views_reads_the_native_one")
            .put32(TestHive::machine, "both", n("v"), sz("wow32"))
            .put(TestHive::machine, "both", n("v"), REGTYPE_SZ, sz("native"))
            .at("HKLM", "both")
            .read_string(n("v"), "native"),
        RegistryCase("view_enum_keys_lists_the_native_keys")
            .put32(TestHive::machine, "apps\\only32", n("v"), sz("wow32"))
            .put(TestHive::machine, "apps\\only64", n("v"), REGTYPE_SZ, sz("native"))
            .at("HKLM", "apps")
            .enum_keys(0, {"keep", "only64"}),
        RegistryCase("view_shared_user_key_is_read")
            .put32(TestHive::user, "shared", n("v"), sz("user"))
            .at("HKCU", "shared")
            .read_string(n("v"), "user"),

        // Enumerations append to what the array holds.
        RegistryCase("enum_keys_of_missing_key").at("HKCU", "missing").enum_keys(1, {"keep"}),
        RegistryCase("enum_keys_without_subkeys").put(n("v"), REGTYPE_SZ, sz("x")).enum_keys(0, {"keep"}),
        RegistryCase("enum_keys_lists_direct_subkeys")
            .key("alpha")
            .key("beta")
            .put(user, "gamma\\deep", n("v"), REGTYPE_SZ, sz("x"))
            .enum_keys(0, {"keep", "alpha", "beta", "gamma"}),
        RegistryCase("enum_values_of_missing_key").at("HKCU", "missing").enum_values(1, {"keep"}),
        RegistryCase("enum_values_of_empty_key").key("empty").at("HKCU", "empty").enum_values(0, {"keep"}),
        // The default value is listed with the empty name.
        RegistryCase("enum_values_lists_names")
            .put(DEFAULT, REGTYPE_SZ, sz("d"))
            .put(n("a"), REGTYPE_DWORD, le32(1))
            .put(n("b"), REGTYPE_BINARY, BINARY)
            .key("sub")
            .enum_values(0, {"keep", "", "a", "b"}),
        // Names longer than the first name buffer (259 characters) neither
        // end the listing nor hide the names after them.
        RegistryCase("enum_values_list_names_of_260")
            .put(n("a"), REGTYPE_SZ, sz("1"))
            .put(N259, REGTYPE_SZ, sz("2"))
            .put(N260, REGTYPE_SZ, sz("3"))
            .put(n("d"), REGTYPE_SZ, sz("4"))
            .enum_values(0, {"keep", "a", N259, N260, "d"}),
        RegistryCase("enum_values_list_names_of_300_and_more")
            .put(n("a"), REGTYPE_SZ, sz("1"))
            .put(N300, REGTYPE_SZ, sz("2"))
            .put(N1200, REGTYPE_SZ, sz("3"))
            .put(n("d"), REGTYPE_SZ, sz("4"))
            .enum_values(0, {"keep", "a", N300, N1200, "d"}),
        RegistryCase("long_value_name_raw").put(N1200, REGTYPE_SZ, sz("x")).read_val(N1200, sz("x"), REGTYPE_SZ),
    };
}

void PrintTo(const RegistryCase& c, std::ostream* out) { *out << c.title; }

const char* c_name(const std::optional<std::string>& name) { return name ? name->c_str() : nullptr; }

class RegistryFunctions : public ::testing::TestWithParam<RegistryCase> {};

TEST_P(RegistryFunctions, Case)
{
    const RegistryCase& c = GetParam();
    ScratchKey scratch;
    for (const Put& p : c.puts)
        ASSERT_TRUE(p.key_only ? scratch.create(p.hive, p.sub, p.view)
                               : scratch.put(p.hive, p.sub, c_name(p.name), p.type, p.data, p.view));
    const std::string key = c.by_wow6432node ? scratch.wow6432node_path(c.sub) : scratch.path(c.sub);
    const char* root = c.root.c_str();

    switch (c.op) {
    case Op::read_val: {
        uint32_t type = 12345;
        std::optional<std::string> data = read_rval(root, key.c_str(), c_name(c.name), type);
        EXPECT_EQ(data, c.data);
        EXPECT_EQ(type, c.type);
        break;
    }
    case Op::read_string:
        EXPECT_EQ(read_rstring(root, key.c_str(), c_name(c.name)), c.data);
        break;
    case Op::read_dword:
        EXPECT_EQ(read_rdword(root, key.c_str(), c_name(c.name)), c.number);
        break;
    case Op::write_dword:
    case Op::write_string: {
        int result = c.op == Op::write_dword ? write_rdword(root, key.c_str(), c_name(c.name), c.dword_in)
                                             : write_rstring(root, key.c_str(), c_name(c.name), c.text_in);
        EXPECT_EQ(result, 0);
        uint32_t type = 0;
        EXPECT_EQ(read_rval(root, key.c_str(), c_name(c.name), type), c.data);
        EXPECT_EQ(type, c.type);
        break;
    }
    case Op::enum_keys:
    case Op::enum_values: {
        std::vector<RegName> names{reg_name("keep")};
        int result = c.op == Op::enum_keys ? enum_rkeys(root, key.c_str(), names)
                                           : enum_rvalues(root, key.c_str(), names);
        EXPECT_EQ(result, c.result);
        std::vector<std::string> texts;
        for (const RegName& name : names)
            texts.push_back(name.text);
        EXPECT_EQ(texts, c.names);
        break;
    }
    }
}

INSTANTIATE_TEST_SUITE_P(Registry, RegistryFunctions, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<RegistryCase>& info) { return info.param.title; });

// The names of a table as the enumerations must give them.
std::vector<RegName> reg_names_of(const std::vector<TestName>& table)
{
    std::vector<RegName> names;
    for (const TestName& name : table)
        names.push_back({name.text, name.wide});
    return names;
}

// The table's names as REG_SZ values of the scratch key, each holding its
// own data; the empty wide name is the default value.
bool put_values(ScratchKey& scratch, const std::vector<TestName>& table)
{
    for (const TestName& name : table)
        if (!scratch.put(TestHive::user, L"", name.wide.empty() ? nullptr : name.wide.c_str(), REGTYPE_SZ,
                         sz(name.data)))
            return false;
    return true;
}

// Each name of the table is listed with its ANSI text and its own wide form,
// and read by what the enumeration gave it is its own value; by its text
// alone, a look-alike reads its twin and a name without ANSI form nothing.
TEST(RegistryNames, ValuesAreListedAndReadByTheirOwnNames)
{
    ScratchKey scratch;
    const std::vector<TestName> table = value_names();
    ASSERT_TRUE(put_values(scratch, table));
    const std::string key = scratch.path();

    std::vector<RegName> listed;
    ASSERT_EQ(enum_rvalues("HKCU", key.c_str(), listed), 0);
    ASSERT_EQ(listed, reg_names_of(table));
    for (size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(listed[i].text);
        uint32_t type = 0;
        EXPECT_EQ(read_rval("HKCU", reg_name(key), listed[i], type),
                  std::optional<std::string>(sz(table[i].data)));
        EXPECT_EQ(type, uint32_t(REGTYPE_SZ));
    }

    uint32_t type = 0;
    EXPECT_EQ(read_rval("HKCU", key.c_str(), "<b>", type), std::optional<std::string>(sz("ascii twin")));
    EXPECT_EQ(read_rval("HKCU", key.c_str(), "? check", type), std::nullopt);
}

// Several values of one key read together answer as each read alone:
// names an enumeration found (look-alikes and names without an ANSI form),
// a missing name, a one-byte value, a number, a name asked twice; a missing
// key answers none for every name, with type 0.
TEST(RegistryNames, ValuesOfOneKeyReadTogetherAnswerAsEachAlone)
{
    ScratchKey scratch;
    const std::vector<TestName> table = value_names();
    ASSERT_TRUE(put_values(scratch, table));
    ASSERT_TRUE(scratch.put(TestHive::user, L"", L"one byte", REGTYPE_BINARY, "x"));
    ASSERT_TRUE(scratch.put(TestHive::user, L"", L"number", REGTYPE_DWORD, le32(7)));
    const RegName key = reg_name(scratch.path());

    std::vector<RegName> names = reg_names_of(table);
    for (const char* text : {"missing", "one byte", "number", "<b>"})
        names.push_back(reg_name(text));
    names.push_back(names.front());

    std::vector<RegValue> together{RegValue{std::string("stale"), 9}};
    read_rvals("HKCU", key, names, together);
    ASSERT_EQ(together.size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i].text);
        uint32_t type = 99;
        EXPECT_EQ(together[i].data, read_rval("HKCU", key, names[i], type));
        EXPECT_EQ(together[i].type, type);
    }
    EXPECT_EQ(together[names.size() - 3].data, std::optional<std::string>(le32(7)));

    read_rvals("HKCU", reg_name(scratch.path("missing")), names, together);
    ASSERT_EQ(together.size(), names.size());
    for (const RegValue& value : together) {
        EXPECT_EQ(value.data, std::nullopt);
        EXPECT_EQ(value.type, 0u);
    }
}

TEST(RegistryNames, SubkeysAreListedAndReadByTheirOwnNames)
{
    ScratchKey scratch;
    const std::vector<TestName> table = key_names();
    for (const TestName& name : table)
        ASSERT_TRUE(scratch.put(TestHive::user, L"keys\\" + name.wide, L"v", REGTYPE_SZ, sz(name.data)));
    const std::string key = scratch.path("keys");

    std::vector<RegName> listed;
    ASSERT_EQ(enum_rkeys("HKCU", key.c_str(), listed), 0);
    ASSERT_EQ(listed, reg_names_of(table));
    for (size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(listed[i].text);
        uint32_t type = 0;
        EXPECT_EQ(read_rval("HKCU", subkey_path(reg_name(key), listed[i]), reg_name("v"), type),
                  std::optional<std::string>(sz(table[i].data)));
    }

    uint32_t type = 0;
    EXPECT_EQ(read_rval("HKCU", (key + "\\<b>").c_str(), "v", type), std::optional<std::string>(sz("ascii twin")));
    EXPECT_EQ(read_rval("HKCU", (key + "\\? check").c_str(), "v", type), std::nullopt);
}

// Subkey names longer than the first name buffer are listed whole.
TEST(RegistryNames, LongSubkeyNamesAreListed)
{
    ScratchKey scratch;
    const std::wstring long_name(300, L'k');
    ASSERT_TRUE(scratch.create(TestHive::user, L"keys\\a"));
    if (!scratch.create(TestHive::user, L"keys\\" + long_name))
        GTEST_SKIP() << "this registry takes no key names of 300 characters";
    ASSERT_TRUE(scratch.create(TestHive::user, L"keys\\z"));
    std::vector<RegName> listed;
    ASSERT_EQ(enum_rkeys("HKCU", scratch.path("keys").c_str(), listed), 0);
    EXPECT_EQ(listed, (std::vector<RegName>{reg_name("a"), reg_name(std::string(300, 'k')), reg_name("z")}));
}

// Settings and the reader may call from different threads: each caller
// gets its own data back.
TEST(RegistryConcurrency, CallersOnManyThreadsSeeTheirOwnValues)
{
    ScratchKey scratch;
    const std::string key = scratch.path();
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 200; ++i) {
                std::string name = "t" + std::to_string(t) + "_" + std::to_string(i);
                std::string sub = key + "\\s" + std::to_string(t) + "_" + std::to_string(i % 7);
                if (write_rdword("HKCU", sub.c_str(), name.c_str(), static_cast<uint32_t>(i)) != 0 ||
                    write_rstring("HKCU", key.c_str(), name.c_str(), name) != 0)
                    ++wrong;
                if (read_rdword("HKCU", sub.c_str(), name.c_str()) != i ||
                    read_rstring("HKCU", key.c_str(), name.c_str()) != name)
                    ++wrong;
                std::vector<RegName> names;
                if (enum_rvalues("HKCU", key.c_str(), names) != 0 || names.size() < 1)
                    ++wrong;
            }
        });
    for (std::thread& th : threads)
        th.join();
    EXPECT_EQ(wrong.load(), 0);
    std::vector<RegName> subkeys, values;
    EXPECT_EQ(enum_rkeys("HKCU", key.c_str(), subkeys), 0);
    EXPECT_EQ(subkeys.size(), 28u);
    EXPECT_EQ(enum_rvalues("HKCU", key.c_str(), values), 0);
    EXPECT_EQ(values.size(), 800u);
}

}  // namespace
