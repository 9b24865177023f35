#include "config/query_list.h"

#include "base/ascii_case.h"

namespace {
// End of the chain, used by append_list only. It is left as it is when the
// chain is freed: it is followed only while the chain has a head, and the
// first append to an empty chain starts from the head again.
QueryList* g_last_list = nullptr;

template <typename Node>
void unlink_chain(std::unique_ptr<Node>& next)
{
    // Destroying a long chain node by node would recurse once per node.
    while (next) {
        std::unique_ptr<Node> rest = std::move(next->next);
        next = std::move(rest);
    }
}
}  // namespace

QueryItem::~QueryItem() { unlink_chain(next); }

QueryList::~QueryList()
{
    unlink_chain(first_item);
    unlink_chain(next);
}

std::unique_ptr<QueryList> init_list() { return std::make_unique<QueryList>(); }

std::unique_ptr<QueryItem> init_item() { return std::make_unique<QueryItem>(); }

QueryList* append_list(std::unique_ptr<QueryList>& first, std::unique_ptr<QueryList> list)
{
    if (!list)
        return nullptr;
    QueryList* added = list.get();
    added->next.reset();
    if (!first)
        first = std::move(list);
    else
        g_last_list->next = std::move(list);
    g_last_list = added;
    return added;
}

QueryItem* append_item(QueryList& list, std::unique_ptr<QueryItem> item)
{
    QueryItem* added = item.get();
    if (!list.first_item)
        list.first_item = std::move(item);
    else
        list.last_item->next = std::move(item);
    list.last_item = added;
    return added;
}

const std::string& value_of_row(const QueryItem& item, int row)
{
    static const std::string none;
    if (row < 0 || static_cast<size_t>(row) >= item.values.size())
        return none;
    return item.values[static_cast<size_t>(row)];
}

QueryList* list_at(QueryList* first, int position)
{
    if (position < 1)
        return nullptr;
    QueryList* list = first;
    for (int k = 1; list && k < position; ++k)
        list = list->next.get();
    return list;
}

int count_items(QueryList& list)
{
    int count = 0;
    for_each_item(list, [&](QueryItem&) { ++count; });
    return count;
}

bool names_all(const Text& item_name) { return item_name && !item_name->empty() && (*item_name)[0] == '*'; }

void number_lists(QueryList* first, const std::vector<std::string>& class_names)
{
    for_each_list(first, [&](QueryList& l) {
        if (!l.name)
            return;
        for (size_t k = 0; k < class_names.size(); ++k)
            if (equals_ignoring_case(*l.name, class_names[k]))
                l.id = static_cast<int>(k) + 1;
    });
    int counter = 17;
    for_each_list(first, [&](QueryList& l) {
        if (l.name && l.id == 0)
            l.id = counter++;
    });
}

void free_lists(std::unique_ptr<QueryList>& first) { unlink_chain(first); }
