// The WMI table query against the scripted service: the statement built
// from the list, the "*" expansion, the texts per object, every failure line
// and the COM security rules. Each read runs on its worker and is waited for
// and handed over as the batch run does; reader_thread_test.cpp looks at the
// threads themselves.
#include "reader/reader.h"
#include "tests/support/chain_builder.h"
#include "tests/support/fake_wmi.h"
#include "tests/support/recording_window_side.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const char* const CIMV2 = "root\\CIMV2";

FakeObjectData disk(const char* name, WmiValue volume, const char* size)
{
    return {{L"Caption", fake::str(std::string("Local ") + name)},
            {L"Name", fake::str(name)},
            {L"VolumeName", std::move(volume)},
            {L"Size", fake::str(size)},
            {L"Access", fake::error(static_cast<HResult>(0x80041002u))},
            {L"Purpose", fake::empty()}};
}

std::vector<std::string> item_names(QueryList& list)
{
    std::vector<std::string> out;
    for_each_item(list, [&](QueryItem& i) { out.push_back(i.name.value_or("<none>")); });
    return out;
}

QueryItem* find_item(QueryList& list, const std::string& name)
{
    for (QueryItem* i = list.first_item.get(); i; i = i->next.get())
        if (i->name == name)
            return i;
    return nullptr;
}

using Strings = std::vector<std::string>;

class WmiQuery : public ::testing::Test {
protected:
    void SetUp() override
    {
        wmi.add_object(CIMV2, "Win32_LogicalDisk", disk("C:", fake::null(), "100"));
        wmi.add_object(CIMV2, "Win32_LogicalDisk", disk("D:", fake::str("Data"), "200"));
        wmi.add_object(CIMV2, "Win32_Bios",
                       {{L"Manufacturer", fake::str("Acme")}, {L"Version", fake::str("1.0")}});
        wmi.add_class(CIMV2, "Win32_CDROMDrive");
    }

    QueryList& add_list(const std::string& name, const Strings& items, Text filt = {}, Text var = {},
                        const std::string& path = CIMV2)
    {
        return add_wmi_list(chain, name, items, path, filt, var);
    }

    // One read as the batch run makes it: started, waited for, handed over.
    void read(QueryList& list)
    {
        ASSERT_TRUE(reader.start_cwmi(&list));
        reader.wait_for_read();
    }

    std::string log() { return test_log.text(); }
    bool logged(const std::string& text) { return log().find(text) != std::string::npos; }

    // Declared in this order so that the reader and the chain go first.
    RecordingWindowSide side{false};
    FakeWmi wmi;
    TestLog test_log;
    std::atomic<int> read_all{0};
    CWMI reader{read_all};
    std::unique_ptr<QueryList> chain;
};

struct FormCase {
    Text filt;
    Text var;
    const char* statement;
};

void PrintTo(const FormCase& c, std::ostream* os) { *os << c.statement; }

class WmiQueryForms : public WmiQuery, public ::testing::WithParamInterface<FormCase> {};

TEST_P(WmiQueryForms, StatementFromListAndItems)
{
    const FormCase& c = GetParam();
    QueryList& list = add_list("Win32_LogicalDisk", {"Name", "Size"}, c.filt, c.var);
    read(list);
    std::vector<std::wstring> statements = wmi.statements();
    ASSERT_EQ(statements.size(), 1u);
    std::string expected = c.statement;
    EXPECT_EQ(statements[0], std::wstring(expected.begin(), expected.end()));
    EXPECT_TRUE(logged("  " + expected + "\n")) << log();
    EXPECT_EQ(list.item_count, 2);
}

INSTANTIATE_TEST_SUITE_P(WmiQuery, WmiQueryForms,
                         ::testing::Values(FormCase{{}, {}, "SELECT Name,Size FROM Win32_LogicalDisk"},
                                           FormCase{"WHERE DeviceID=", "C:",
                                                    "SELECT Name,Size FROM Win32_LogicalDisk WHERE DeviceID='C:'"},
                                           FormCase{{}, "C:", "SELECT Name,Size FROM Win32_LogicalDisk"},
                                           FormCase{"WHERE DriveType=3",
                                                    {},
                                                    "SELECT Name,Size FROM Win32_LogicalDisk WHERE DriveType=3"}));

TEST_F(WmiQuery, StarBecomesOneItemPerPropertyThatAnyObjectHolds)
{
    QueryList& list = add_list("Win32_LogicalDisk", {"*"});
    list.first_item->disp = "Disks";
    list.first_item->filt = "KB";
    list.first_item->checked = 0;
    read(list);

    EXPECT_EQ(wmi.statements().at(0), L"SELECT * FROM Win32_LogicalDisk");
    // VolumeName is empty on the first object but D: has one: a column.
    // Access is an error and Purpose empty on every object: no column.
    EXPECT_EQ(item_names(list), (Strings{"Caption", "Name", "VolumeName", "Size"}));
    EXPECT_EQ(list.item_count, 4);
    EXPECT_EQ(list.row_count, 2);
    EXPECT_EQ(list.pending, 0);
    EXPECT_EQ(list.busy.load(), 0);

    // The "*" item became the first property's item and kept its own title
    // and filt; the others are new.
    QueryItem& first = *list.first_item;
    EXPECT_EQ(first.disp, Text("Disks"));
    EXPECT_EQ(first.filt, Text("KB"));
    EXPECT_EQ(first.checked, 1);
    // Its KB applies to the caption texts, which read as the number 0.
    EXPECT_EQ(first.values, (Strings{"0", "0"}));
    for (const char* other : {"Name", "VolumeName", "Size"}) {
        QueryItem* item = find_item(list, other);
        ASSERT_NE(item, nullptr);
        EXPECT_FALSE(item->disp);
        EXPECT_FALSE(item->filt);
        EXPECT_EQ(item->checked, 1);
        EXPECT_EQ(item->valid, 1);
    }
    EXPECT_EQ(find_item(list, "Name")->values, (Strings{"C:", "D:"}));
    EXPECT_EQ(find_item(list, "VolumeName")->values, (Strings{"", "Data"}));
    EXPECT_EQ(find_item(list, "Size")->values, (Strings{"100", "200"}));
    EXPECT_EQ(list.last_item, find_item(list, "Size"));
    // Row by row, each with every column, after the enumeration.
    EXPECT_TRUE(
        logged("    Caption = 0\n    Name = C:\n    VolumeName = \n    Size = 100\n"
               "    Caption = 0\n    Name = D:\n    VolumeName = Data\n    Size = 200\n"
               "  SELECT OK m:2, n: 4\n"))
        << log();
}

struct StarCase {
    const char* label;
    FakeObjectData first_object;
    Strings chain;
    int item_count;
};

void PrintTo(const StarCase& c, std::ostream* os) { *os << c.label; }

class WmiQueryStarWithMore : public WmiQuery, public ::testing::WithParamInterface<StarCase> {};

// Items written after "*" in the query file stay behind the first property's
// item as long as it is the only one; the second property takes their place.
TEST_P(WmiQueryStarWithMore, ItemsAfterTheStar)
{
    const StarCase& c = GetParam();
    wmi.add_object(CIMV2, "Test_Class", c.first_object);
    QueryList& list = add_list("Test_Class", {"*", "Extra1", "Extra2"});
    read(list);
    EXPECT_EQ(item_names(list), c.chain);
    EXPECT_EQ(list.item_count, c.item_count);
    EXPECT_EQ(list.row_count, 1);
    for_each_item(list, [](QueryItem& i) { EXPECT_EQ(i.values.size(), 1u) << *i.name; });
}

INSTANTIATE_TEST_SUITE_P(
    WmiQuery, WmiQueryStarWithMore,
    ::testing::Values(
        StarCase{"two_properties", {{L"A", fake::str("a")}, {L"B", fake::str("b")}}, {"A", "B"}, 2},
        StarCase{"one_property", {{L"A", fake::str("a")}, {L"B", fake::null()}}, {"A", "Extra1", "Extra2"}, 1}),
    [](const ::testing::TestParamInfo<StarCase>& info) { return std::string(info.param.label); });

TEST_F(WmiQuery, NamesThatCannotBeFetchedOrReadGiveNoColumn)
{
    wmi.add_object(CIMV2, "Test_Class",
                   {{L"A", fake::str("a")},
                    {L"B", fake::str("b")},
                    {L"C", fake::str("c")},
                    {L"D", fake::str("d")}});
    wmi.name_fetch_fails = {1};         // B
    wmi.get_fails[L"C"] = FAKE_E_FAIL;  // C
    QueryList& list = add_list("Test_Class", {"*"});
    read(list);
    EXPECT_EQ(item_names(list), (Strings{"A", "D"}));
    EXPECT_EQ(list.item_count, 2);
}

TEST_F(WmiQuery, PropertyThatCannotBeReadGivesEmptyTextsOnly)
{
    wmi.get_fails[L"Size"] = static_cast<HResult>(0x80041013u);
    QueryList& list = add_list("Win32_LogicalDisk", {"Name", "Nmae", "Size", "Caption"});
    read(list);
    EXPECT_EQ(find_item(list, "Name")->values, (Strings{"C:", "D:"}));
    EXPECT_EQ(find_item(list, "Nmae")->values, (Strings{"", ""}));
    EXPECT_EQ(find_item(list, "Size")->values, (Strings{"", ""}));
    EXPECT_EQ(find_item(list, "Caption")->values, (Strings{"Local C:", "Local D:"}));
    for_each_item(list, [](QueryItem& i) { EXPECT_EQ(i.valid, 1) << *i.name; });
    EXPECT_EQ(list.row_count, 2);
    EXPECT_EQ(list.item_count, 4);
    EXPECT_EQ(list.pending, 0);
}

TEST_F(WmiQuery, ClassWithoutObjectsKeepsTheStarItem)
{
    QueryList& list = add_list("Win32_CDROMDrive", {"*"});
    read(list);
    EXPECT_EQ(list.row_count, 0);
    EXPECT_EQ(list.item_count, 1);
    EXPECT_EQ(item_names(list), (Strings{"*"}));
    EXPECT_TRUE(list.first_item->values.empty());
    EXPECT_EQ(list.pending, 0);
    EXPECT_TRUE(
        logged("  SELECT * FROM Win32_CDROMDrive\n  SELECT OK m:0, n: 1\n"
               "CWMI::Thread:read_cwmi () finished ...\n"))
        << log();
}

TEST_F(WmiQuery, LongNamespaceIsPassedWhole)
{
    std::string deep = "root";
    while (deep.size() < 400)
        deep += "\\level";
    wmi.add_object(deep, "Test_Class", {{L"A", fake::str("a")}});
    QueryList& list = add_list("Test_Class", {"A"}, {}, {}, deep);
    read(list);
    ASSERT_EQ(wmi.connected().size(), 1u);
    EXPECT_EQ(wmi.connected()[0], std::wstring(deep.begin(), deep.end()));
    EXPECT_EQ(list.first_item->values, (Strings{"a"}));
}

TEST_F(WmiQuery, ListWithoutItemsIsRefusedAfterTheConnection)
{
    QueryList& list = add_list("Win32_Bios", {});
    read(list);
    EXPECT_TRUE(logged("Invalid configuration for list: Win32_Bios!\n")) << log();
    EXPECT_TRUE(wmi.statements().empty());
    EXPECT_EQ(list.pending, 1);

    // With a namespace that cannot be reached, the connection is what fails.
    QueryList& nowhere = add_list("Win32_Processor", {}, {}, {}, "root\\Nowhere");
    read(nowhere);
    EXPECT_TRUE(logged("Failed to connect IWbemLocator! Error: 0x8004100e\n")) << log();
    EXPECT_FALSE(logged("Invalid configuration for list: Win32_Processor!")) << log();
}

TEST_F(WmiQuery, FailedReadIsRepeatedFromTheStart)
{
    QueryList& list = add_list("Win32_Bios", {"Manufacturer", "Version"});
    wmi.exec_query_result = WBEM_E_INVALID_QUERY_;
    read(list);
    EXPECT_EQ(list.pending, 1);
    EXPECT_EQ(list.busy.load(), 0);
    wmi.exec_query_result = 0;
    read(list);
    EXPECT_EQ(list.pending, 0);
    EXPECT_EQ(list.item_count, 2);
    EXPECT_EQ(list.row_count, 1);
    EXPECT_EQ(find_item(list, "Manufacturer")->values, (Strings{"Acme"}));
    EXPECT_EQ(wmi.statements().size(), 2u);
}

struct FailureCase {
    const char* label;
    std::function<void(FakeWmi&)> script;
    const char* line;
    bool stays_pending;
    bool com_started;  // initialize succeeded: uninitialize must follow once
    size_t statements;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.label; }

class WmiQueryFailures : public WmiQuery, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(WmiQueryFailures, LogLineAndEnding)
{
    const FailureCase& c = GetParam();
    c.script(wmi);
    QueryList& list = add_list("Win32_LogicalDisk", {"*"});
    read(list);
    EXPECT_TRUE(logged(c.line)) << log();
    EXPECT_EQ(list.pending, c.stays_pending ? 1 : 0);
    EXPECT_EQ(list.busy.load(), 0);
    EXPECT_EQ(wmi.initialize_calls.load(), 1);
    EXPECT_EQ(wmi.uninitialize_calls.load(), c.com_started ? 1 : 0);
    EXPECT_EQ(wmi.live_objects.load(), 0);  // everything released
    EXPECT_EQ(wmi.statements().size(), c.statements);
    EXPECT_EQ(logged("CWMI::Thread:read_cwmi () finished ...\n"), !c.stays_pending) << log();
}

INSTANTIATE_TEST_SUITE_P(
    WmiQuery, WmiQueryFailures,
    ::testing::Values(
        FailureCase{"initialize", [](FakeWmi& w) { w.initialize_result = static_cast<HResult>(0x80004005u); },
                    "Failed to initialize COM! Error: 0x80004005\n", true, false, 0},
        FailureCase{"security", [](FakeWmi& w) { w.security_result = static_cast<HResult>(0x80070005u); },
                    "Failed to initialize COM security! Error: 0x80070005\n", true, true, 0},
        FailureCase{"locator", [](FakeWmi& w) { w.create_locator_result = static_cast<HResult>(0x80040154u); },
                    "Failed to create IWbemLocator! Error: 0x80040154\n", true, true, 0},
        FailureCase{"connect", [](FakeWmi& w) { w.connect_result = static_cast<HResult>(0x80041003u); },
                    "Failed to connect IWbemLocator! Error: 0x80041003\n", true, true, 0},
        FailureCase{"query", [](FakeWmi& w) { w.exec_query_result = WBEM_E_INVALID_QUERY_; },
                    "Failed to query table Win32_LogicalDisk! Error: 0x80041017\n", true, true, 1},
        FailureCase{"no_enumerator", [](FakeWmi& w) { w.exec_query_without_enumerator = true; },
                    "Failed to query table Win32_LogicalDisk! Error: 0x00000000\n", true, true, 1},
        FailureCase{"next",
                    [](FakeWmi& w) {
                        w.next_fails_at = 1;
                        w.next_result = static_cast<HResult>(0x80041006u);
                    },
                    "Failed to enumerate Next! Error: 0x80041006\n  SELECT OK m:1, n: 3\n", false, true, 1},
        FailureCase{"get_names", [](FakeWmi& w) { w.get_names_result = static_cast<HResult>(0x80041001u); },
                    "Failed GetNames ()! Error: 0x80041001\n", false, true, 1}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.label); });

TEST_F(WmiQuery, WithoutNamesTheStarItemStaysAndGetsEmptyTexts)
{
    wmi.get_names_result = static_cast<HResult>(0x80041001u);
    QueryList& list = add_list("Win32_LogicalDisk", {"*"});
    read(list);
    EXPECT_EQ(item_names(list), (Strings{"*"}));
    EXPECT_EQ(list.first_item->values, (Strings{"", ""}));
    EXPECT_EQ(list.row_count, 2);
    EXPECT_EQ(list.item_count, 1);
}

TEST_F(WmiQuery, NamespaceThatDoesNotExistLeavesTheListPending)
{
    QueryList& list = add_list("Win32_Bios", {"*"}, {}, {}, "root\\DoesNotExist");
    read(list);
    EXPECT_TRUE(logged("Failed to connect IWbemLocator! Error: 0x8004100e\n")) << log();
    EXPECT_EQ(list.pending, 1);
    EXPECT_EQ(item_names(list), (Strings{"*"}));
}

TEST_F(WmiQuery, SecuritySetOnceWithAWindowAndEveryReadWithout)
{
    QueryList& a = add_list("Win32_Bios", {"Version"});
    QueryList& b = add_list("Win32_LogicalDisk", {"Name"});

    read(a);
    read(b);
    EXPECT_EQ(wmi.security_calls.load(), 2);  // batch run: every read

    side.main_window = true;
    read_all = 1;
    a.pending = b.pending = 1;
    wmi.security_calls = 0;
    reader.sec_done = 0;
    read(a);
    read(b);
    EXPECT_EQ(wmi.security_calls.load(), 1);  // window: the first read only
    EXPECT_EQ(reader.sec_done, 1);
}

TEST_F(WmiQuery, SecurityAlreadySetIsNoFailure)
{
    wmi.security_result = RESULT_RPC_E_TOO_LATE;
    QueryList& list = add_list("Win32_Bios", {"Manufacturer"});
    read(list);
    EXPECT_FALSE(logged("Failed to initialize COM security!")) << log();
    EXPECT_EQ(list.pending, 0);
    EXPECT_EQ(list.first_item->values, (Strings{"Acme"}));
    EXPECT_EQ(reader.sec_done, 1);
    EXPECT_EQ(wmi.uninitialize_calls.load(), 1);
}

// Both forms of a large class give the same table: P3 is empty on the
// first object only and still gets its column.
class WmiQueryLarge : public WmiQuery, public ::testing::WithParamInterface<bool> {};

TEST_P(WmiQueryLarge, ManyObjectsManyProperties)
{
    const size_t objects = 2000;
    std::vector<std::wstring> names;
    for (int p = 0; p < 20; ++p)
        names.push_back(L"P" + std::to_wstring(p));
    auto value = [](size_t k, size_t p) {
        return k == 0 && p == 3 ? fake::null() : fake::i4(static_cast<int32_t>(k * 100 + p));
    };
    if (GetParam()) {
        wmi.add_generated(CIMV2, "Test_Big", objects, names, value);
    } else {
        wmi.add_generated(CIMV2, "Test_Big", objects, [&](size_t k) {
            FakeObjectData d;
            for (size_t p = 0; p < names.size(); ++p)
                d.push_back({names[p], value(k, p)});
            return d;
        });
    }
    QueryList& list = add_list("Test_Big", {"*"});
    read(list);
    EXPECT_EQ(list.row_count, static_cast<int>(objects));
    EXPECT_EQ(list.item_count, 20);
    QueryItem* p3 = find_item(list, "P3");
    ASSERT_NE(p3, nullptr);
    ASSERT_EQ(p3->values.size(), objects);
    EXPECT_EQ(p3->values[0], "");
    EXPECT_EQ(p3->values[1], "103");
    QueryItem* p7 = find_item(list, "P7");
    ASSERT_NE(p7, nullptr);
    ASSERT_EQ(p7->values.size(), objects);
    EXPECT_EQ(p7->values[1234], "123407");
    EXPECT_EQ(wmi.live_objects.load(), 0);
}

INSTANTIATE_TEST_SUITE_P(WmiQuery, WmiQueryLarge, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "names_and_values" : "whole_objects");
                         });

}  // namespace

// "*" keeps every property that any object holds: a property becomes an item
// when it holds a value on some object, in the order in which the objects
// first name it; rows without a value for it get the empty text. The "*"
// item's filt goes with the first of them. The log shows the rows one by
// one after the enumeration, each with every item, as a read of named items
// does.
struct ExpansionCase {
    const char* label;
    Strings items;  // as the query file gives them; the first is "*"
    Text star_filt;
    std::vector<FakeObjectData> objects;
    Strings chain;  // item names afterwards
    int item_count;
    std::vector<Strings> values;  // of each item of the chain
    const char* lines;            // the log from the statement to the counts
};

void PrintTo(const ExpansionCase& c, std::ostream* os) { *os << c.label; }

class WmiQueryExpansion : public WmiQuery, public ::testing::WithParamInterface<ExpansionCase> {};

TEST_P(WmiQueryExpansion, ColumnsFromEveryObject)
{
    const ExpansionCase& c = GetParam();
    for (const FakeObjectData& object : c.objects)
        wmi.add_object(CIMV2, "Test_Class", object);
    QueryList& list = add_list("Test_Class", c.items);
    list.first_item->filt = c.star_filt;
    read(list);

    EXPECT_EQ(item_names(list), c.chain);
    EXPECT_EQ(list.item_count, c.item_count);
    EXPECT_EQ(list.row_count, static_cast<int>(c.objects.size()));
    EXPECT_EQ(list.pending, 0);
    size_t k = 0;
    for_each_item(list, [&](QueryItem& item) {
        ASSERT_LT(k, c.values.size());
        EXPECT_EQ(item.values, c.values[k]) << *item.name;
        EXPECT_EQ(item.valid, 1) << *item.name;
        ++k;
    });
    EXPECT_EQ(k, c.values.size());
    EXPECT_TRUE(logged(c.lines)) << log();
}

INSTANTIATE_TEST_SUITE_P(
    WmiQuery, WmiQueryExpansion,
    ::testing::Values(
        ExpansionCase{"empty_on_first_filled_on_second",
                      {"*"},
                      {},
                      {{{L"A", fake::str("a1")}, {L"B", fake::null()}, {L"C", fake::str("c1")}},
                       {{L"A", fake::str("a2")}, {L"B", fake::str("b2")}, {L"C", fake::str("c2")}}},
                      {"A", "B", "C"},
                      3,
                      {{"a1", "a2"}, {"", "b2"}, {"c1", "c2"}},
                      "    A = a1\n    B = \n    C = c1\n"
                      "    A = a2\n    B = b2\n    C = c2\n"
                      "  SELECT OK m:2, n: 3\n"},
        ExpansionCase{"empty_on_all",
                      {"*"},
                      {},
                      {{{L"A", fake::str("a1")}, {L"B", fake::null()}, {L"C", fake::empty()}},
                       {{L"A", fake::str("a2")}, {L"B", fake::empty()}, {L"C", fake::error(FAKE_E_FAIL)}}},
                      {"A"},
                      1,
                      {{"a1", "a2"}},
                      "    A = a1\n    A = a2\n  SELECT OK m:2, n: 1\n"},
        ExpansionCase{"nothing_held_keeps_the_star",
                      {"*"},
                      {},
                      {{{L"A", fake::null()}}, {{L"A", fake::empty()}}},
                      {"*"},
                      1,
                      {{"", ""}},
                      "\n  SELECT OK m:2, n: 1\n"},
        ExpansionCase{"filled_on_all",
                      {"*"},
                      {},
                      {{{L"A", fake::i4(1)}, {L"B", fake::boolean(true)}},
                       {{L"A", fake::i4(2)}, {L"B", fake::boolean(false)}}},
                      {"A", "B"},
                      2,
                      {{"1", "2"}, {"TRUE", "FALSE"}},
                      "    A = 1\n    B = TRUE\n    A = 2\n    B = FALSE\n  SELECT OK m:2, n: 2\n"},
        // Objects that name different properties: the first object's order,
        // then the new names in the order a later object gives them.
        ExpansionCase{"names_new_on_a_later_object",
                      {"*"},
                      {},
                      {{{L"B", fake::str("b1")}, {L"A", fake::str("a1")}},
                       {{L"C", fake::str("c2")}, {L"A", fake::str("a2")}, {L"D", fake::null()}}},
                      {"B", "A", "C"},
                      3,
                      {{"b1", ""}, {"a1", "a2"}, {"", "c2"}},
                      "    B = b1\n    A = a1\n    A = a2\n    C = c2\n  SELECT OK m:2, n: 3\n"},
        // The "*" item's KB belongs to the first column, found on the
        // second object; the others are not scaled.
        ExpansionCase{"filt_goes_with_the_first_column",
                      {"*"},
                      "KB",
                      {{{L"A", fake::null()}, {L"B", fake::str("2048")}},
                       {{L"A", fake::str("4096")}, {L"B", fake::str("8192")}}},
                      {"A", "B"},
                      2,
                      {{"", "4"}, {"2048", "8192"}},
                      "    B = 2048\n    A = 4\n    B = 8192\n  SELECT OK m:2, n: 2\n"},
        // One property found: the items after "*" stay behind it and are
        // read by their names.
        ExpansionCase{"star_with_items_after_it_one_column",
                      {"*", "Extra"},
                      {},
                      {{{L"A", fake::null()}, {L"Extra", fake::null()}},
                       {{L"A", fake::str("a2")}, {L"Extra", fake::null()}}},
                      {"A", "Extra"},
                      1,
                      {{"", "a2"}, {"", ""}},
                      "    A = \n    Extra = \n    A = a2\n    Extra = \n  SELECT OK m:2, n: 1\n"},
        // Two found: they take the place of the items after "*".
        ExpansionCase{"star_with_items_after_it_two_columns",
                      {"*", "Extra"},
                      {},
                      {{{L"A", fake::str("a1")}, {L"B", fake::null()}},
                       {{L"A", fake::null()}, {L"B", fake::str("b2")}}},
                      {"A", "B"},
                      2,
                      {{"a1", ""}, {"", "b2"}},
                      "    A = a1\n    B = \n    A = \n    B = b2\n  SELECT OK m:2, n: 2\n"},
        // One object: exactly what the first-object rule gave.
        ExpansionCase{"one_object",
                      {"*"},
                      "KB",
                      {{{L"A", fake::str("1024")}, {L"B", fake::null()}, {L"C", fake::str_array({L"x", L"y"})}}},
                      {"A", "C"},
                      2,
                      {{"1"}, {"x y "}},
                      "    A = 1\n    C = x y \n  SELECT OK m:1, n: 2\n"
                      "CWMI::Thread:read_cwmi () finished ...\n"}),
    [](const ::testing::TestParamInfo<ExpansionCase>& info) { return std::string(info.param.label); });

// A line of the enumeration keeps its place among the rows of a "*" read,
// whose values are logged at its end: a failed Next after the rows read
// before it.
TEST_F(WmiQuery, StarReadLinesKeepTheirPlaceAmongTheRows)
{
    wmi.add_object(CIMV2, "Test_Class", {{L"A", fake::str("a1")}});
    wmi.add_object(CIMV2, "Test_Class", {{L"A", fake::str("a2")}});
    wmi.add_object(CIMV2, "Test_Class", {{L"A", fake::str("a3")}});
    wmi.next_fails_at = 2;
    wmi.next_result = static_cast<HResult>(0x80041006u);
    QueryList& list = add_list("Test_Class", {"*"});
    read(list);
    EXPECT_EQ(item_names(list), (Strings{"A"}));
    EXPECT_EQ(list.first_item->values, (Strings{"a1", "a2"}));
    EXPECT_TRUE(
        logged("    A = a1\n    A = a2\n"
               "Failed to enumerate Next! Error: 0x80041006\n  SELECT OK m:2, n: 1\n"))
        << log();
}
