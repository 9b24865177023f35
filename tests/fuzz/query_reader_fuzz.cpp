// Fuzzes the query file reader: any bytes, read as a query file into a fresh
// chain, numbered and freed. The reader reports malformed files by its error
// text and never ends the process, so every input runs to the end.
#include "inventory/inventory.h"
#include "config/query_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <memory>
#include <string>
#include <vector>
#include <unistd.h>

namespace {

// One input file per process, removed when the process ends.
struct InputFile {
    std::string path = "/tmp/polrix_query_reader_fuzz_" + std::to_string(getpid()) + ".xml";
    ~InputFile() { std::remove(path.c_str()); }
};

const std::string& input_path()
{
    static const InputFile file;
    return file.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::FILE* f = std::fopen(input_path().c_str(), "wb");
    if (!f)
        return 0;
    if (size)
        std::fwrite(data, 1, size, f);
    std::fclose(f);

    static const std::vector<std::string> class_names(std::begin(KNOWN_CLASS_NAMES), std::end(KNOWN_CLASS_NAMES));
    std::unique_ptr<QueryList> chain;
    std::string error;
    bool ok = read_query_file(input_path(), chain, error);
    // A failed read names its cause; a good one leaves nothing to say.
    if (ok != error.empty())
        __builtin_trap();
    number_lists(chain.get(), class_names);
    for_each_list(chain.get(), [](QueryList& list) {
        // Every item the reader makes is checked and the list's last item is
        // the end of its chain.
        QueryItem* last = nullptr;
        for_each_item(list, [&](QueryItem& item) {
            if (!item.checked)
                __builtin_trap();
            last = &item;
        });
        if (last != list.last_item || (last && last->next))
            __builtin_trap();
        if (list.var.has_value() != list.var_as_written.has_value())
            __builtin_trap();
    });
    free_lists(chain);
    return 0;
}
