// The chain of query lists: appending, ID numbers and freeing.
#include "inventory/inventory.h"
#include "config/query_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::vector<std::string> kClasses(std::begin(KNOWN_CLASS_NAMES), std::end(KNOWN_CLASS_NAMES));

// A chain of lists with the given names; "-" stands for a list without one.
std::unique_ptr<QueryList> chain_of(const std::vector<std::string>& names)
{
    std::unique_ptr<QueryList> first;
    for (const auto& n : names) {
        auto l = init_list();
        if (n != "-")
            l->name = n;
        append_list(first, std::move(l));
    }
    return first;
}

std::vector<int> ids_of(QueryList* first)
{
    std::vector<int> ids;
    for_each_list(first, [&](QueryList& l) { ids.push_back(l.id); });
    return ids;
}

struct NumberingCase {
    const char* what;
    std::vector<std::string> names;
    std::vector<int> ids;
};

class Numbering : public ::testing::TestWithParam<NumberingCase> {};

TEST_P(Numbering, GivesTheIdNumbers)
{
    auto first = chain_of(GetParam().names);
    number_lists(first.get(), kClasses);
    EXPECT_EQ(ids_of(first.get()), GetParam().ids) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Numbering,
    ::testing::Values(
        NumberingCase{"known class in other letter case", {"win32_bios"}, {2}},
        NumberingCase{"trailing blank is another name", {"Win32_Bios "}, {17}},
        NumberingCase{"all capitals", {"WIN32_PRODUCT"}, {16}},
        NumberingCase{"no name: 0, counter not moved", {"-", "HKLM-key", "-"}, {0, 17, 0}},
        NumberingCase{"same known class twice", {"Win32_Processor", "Win32_Processor"}, {3, 3}},
        NumberingCase{"equal other names get distinct numbers", {"a", "a", "Win32_Bios", "b"}, {17, 18, 2, 19}},
        NumberingCase{"known classes in any order, then a registry list",
                      {"Win32_Product", "Win32_SystemEnclosure", "Win32_OperatingSystem",
                       "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"},
                      {16, 1, 15, 17}}));

TEST(Numbering, AllSixteenClassesInTableOrderThenARegistryList)
{
    std::vector<std::string> names(kClasses.rbegin(), kClasses.rend());
    names.push_back("SOFTWARE\\Something");
    auto first = chain_of(names);
    number_lists(first.get(), kClasses);
    std::vector<int> expected;
    for (int id = 16; id >= 1; --id)
        expected.push_back(id);
    expected.push_back(17);
    EXPECT_EQ(ids_of(first.get()), expected);
}

TEST(Chain, NewListsAndItemsStartAsTheReaderExpects)
{
    auto l = init_list();
    EXPECT_FALSE(l->name.has_value());
    EXPECT_EQ(l->pending, 1);
    EXPECT_EQ(l->busy.load(), 0);
    EXPECT_EQ(l->is_wmi + l->is_reg + l->enum_keys + l->enum_values + l->selection_made, 0);
    auto i = init_item();
    EXPECT_EQ(i->valid, 1);
    EXPECT_EQ(i->checked, 0);
    EXPECT_FALSE(i->filt.has_value());
    i->filt = "";
    EXPECT_TRUE(i->filt.has_value()) << "an empty text is not none";
}

TEST(Chain, AppendKeepsOrderAndNoneIsRefused)
{
    std::unique_ptr<QueryList> first;
    EXPECT_EQ(append_list(first, nullptr), nullptr);
    EXPECT_EQ(first, nullptr);
    QueryList* a = append_list(first, init_list());
    QueryList* b = append_list(first, init_list());
    EXPECT_EQ(first.get(), a);
    EXPECT_EQ(a->next.get(), b);
    EXPECT_EQ(b->next, nullptr);

    QueryItem* x = append_item(*a, init_item());
    QueryItem* y = append_item(*a, init_item());
    EXPECT_EQ(a->first_item.get(), x);
    EXPECT_EQ(x->next.get(), y);
    EXPECT_EQ(a->last_item, y);
}

TEST(Chain, ListAtAPositionIsThatListAlsoWhenNamesRepeat)
{
    // Two lists of one name: each position answers its own list.
    std::unique_ptr<QueryList> first = chain_of({"Win32_LogicalDisk", "-", "Win32_LogicalDisk"});
    QueryList* second = first->next.get();
    QueryList* third = second->next.get();
    const struct {
        int position;
        QueryList* expected;
    } cases[] = {{-1, nullptr}, {0, nullptr}, {1, first.get()}, {2, second}, {3, third}, {4, nullptr}};
    for (const auto& c : cases)
        EXPECT_EQ(list_at(first.get(), c.position), c.expected) << "position " << c.position;
    EXPECT_EQ(list_at(nullptr, 1), nullptr);
}

TEST(Chain, FreeingEmptiesAndAppendAfterFreeStartsAtTheHead)
{
    std::unique_ptr<QueryList> first;
    free_lists(first);  // an empty chain
    EXPECT_EQ(first, nullptr);

    first = chain_of({"a", "b", "c"});
    append_item(*first, init_item())->values = {"1", "2"};
    free_lists(first);
    EXPECT_EQ(first, nullptr);

    QueryList* d = append_list(first, init_list());
    EXPECT_EQ(first.get(), d) << "the new list is the head, not behind a freed one";
    EXPECT_EQ(d->next, nullptr);
}

TEST(Chain, ALongChainIsFreedWithoutDeepRecursion)
{
    std::unique_ptr<QueryList> first;
    for (int i = 0; i < 200000; ++i)
        append_list(first, init_list());
    QueryList& l = *first;
    for (int i = 0; i < 200000; ++i)
        append_item(l, init_item());
    free_lists(first);
    EXPECT_EQ(first, nullptr);
}

}  // namespace
