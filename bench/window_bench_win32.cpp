// The window's benchmarks in this process: the program's own frame, views
// and controls, made by the interactive start and driven by their messages
// (a click on a tree item is the button press and release the tree control
// gets from the mouse). The query file is the one beside this program
// (window_bench.xml), as for polrix.exe. One line of figures on stdout.
//   window_bench click NAME ROWS     clicks the list item NAME until the result
//                                    list shows ROWS rows: the time of the
//                                    reading click, of the showing click and
//                                    of both
//   window_bench root                the full read of a click on the root
//   window_bench batch               the batch run's work (InitInstance with
//                                    a command line), for comparison
//   window_bench soak FILLS WARMUP   FILLS list fills in one window's life,
//                                    with check-box mode switched on and off;
//                                    memory and object counts after WARMUP
//                                    fills and at the end
// Exit code 0 when the window did what was asked, 1 when it did not.
#include "app/application_win32.h"
#include "res/resource.h"
#include "ui/frame_win32.h"
#include "ui/result_list_win32.h"
#include "tests/support/program_window_win32.h"
#include "ui/tree_view_win32.h"

#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// ---- the controls -----------------------------------------------------------
// The queue as the program's loop runs it, the tree and clicks on its items
// come from tests/support/program_window_win32.h, which the Windows tests
// drive the same window with.

HWND list_window() { return app().window().result_list.m_hWnd; }

int list_rows() { return ListView_GetItemCount(list_window()); }

// The toolbar's check-box button: the command it sends the frame.
void switch_check_mode()
{
    if (mwin* frame = main_frame())
        SendMessageA(frame->m_hWnd, WM_COMMAND, ID_CHECK_MODE, 0);
}

QueryList* list_named(const std::string& name)
{
    QueryList* found = nullptr;
    for_each_list(app().inventory().first_list.get(), [&](QueryList& list) {
        if (!found && list.name && *list.name == name)
            found = &list;
    });
    return found;
}

bool every_list_read()
{
    bool all = true;
    for_each_list(app().inventory().first_list.get(), [&](QueryList& list) { all = all && !list.pending; });
    return all;
}

// Closes the frame as its system menu does and runs the queue until the
// window is gone.
bool close_window(mapp& application) { return main_frame() && close_program_window(application); }

// ---- what the process holds -------------------------------------------------

struct Holdings {
    double private_mib = 0;   // PrivateUsage (Wine 8: always 0)
    double pagefile_mib = 0;  // PagefileUsage
    double working_set_mib = 0;
    double committed_mib = 0;   // committed private regions of the address space
    unsigned user_objects = 0;  // GetGuiResources (Wine: always 0)
    unsigned gdi_objects = 0;
    unsigned windows = 0;  // this thread's windows with every descendant
    long gdi_slots = 0;    // live GDI objects as Wine's handle table shows them
};

BOOL CALLBACK count_child(HWND, LPARAM count)
{
    ++*reinterpret_cast<unsigned*>(count);
    return TRUE;
}

BOOL CALLBACK count_window(HWND hwnd, LPARAM count)
{
    ++*reinterpret_cast<unsigned*>(count);
    EnumChildWindows(hwnd, count_child, count);  // every descendant, not only the children
    return TRUE;
}

double committed_private_mib()
{
    size_t total = 0;
    MEMORY_BASIC_INFORMATION region{};
    const char* at = nullptr;
    while (VirtualQuery(at, &region, sizeof region) == sizeof region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= at)
            break;
        at = next;
    }
    return total / 1048576.0;
}

// GDI handles under Wine are slot numbers (their low word) in a table of the
// process; a new object takes the most recently freed slot first, then the
// lowest slot never used. So of PROBE new objects, more than there are free
// slots, the highest slot less PROBE is the number of live objects (plus the
// table's few reserved slots): it grows by one for each object kept alive.
long gdi_slots_in_use()
{
    constexpr int PROBE = 3000;
    std::vector<HBRUSH> made;
    made.reserve(PROBE);
    long highest = -1;
    for (int i = 0; i < PROBE; ++i) {
        HBRUSH brush = CreateSolidBrush(RGB(i & 255, (i >> 8) & 255, 7));
        if (!brush)
            break;
        made.push_back(brush);
        highest = std::max(highest, static_cast<long>(LOWORD(reinterpret_cast<UINT_PTR>(brush))));
    }
    for (HBRUSH brush : made)
        DeleteObject(brush);
    return highest + 1 - static_cast<long>(made.size());
}

Holdings holdings()
{
    Holdings h;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters)) {
        h.private_mib = counters.PrivateUsage / 1048576.0;
        h.pagefile_mib = counters.PagefileUsage / 1048576.0;
        h.working_set_mib = counters.WorkingSetSize / 1048576.0;
    }
    h.committed_mib = committed_private_mib();
    h.user_objects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    h.gdi_objects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    EnumThreadWindows(GetCurrentThreadId(), count_window, reinterpret_cast<LPARAM>(&h.windows));
    h.gdi_slots = gdi_slots_in_use();
    return h;
}

void print_holdings(const char* when, const Holdings& h)
{
    std::printf(
        "%s: private=%.2f MiB pagefile=%.2f MiB working_set=%.2f MiB committed=%.2f MiB user_objects=%u "
        "gdi_objects=%u windows=%u gdi_slots=%ld\n",
        when, h.private_mib, h.pagefile_mib, h.working_set_mib, h.committed_mib, h.user_objects, h.gdi_objects,
        h.windows, h.gdi_slots);
}

// ---- the benchmarks ---------------------------------------------------------

int fail(const char* what)
{
    std::printf("failed: %s\n", what);
    return 1;
}

bool window_ready(mapp& application)
{
    if (!start_window(application) || !tree_window() || !list_window())
        return false;
    run_program_queue(application);
    return true;
}

int bench_click(mapp& application, const std::string& name, int rows)
{
    if (!window_ready(application))
        return fail("no window");
    HWND tree = tree_window();
    HTREEITEM item = find_tree_item(tree, name);
    QueryList* list = list_named(name);
    if (!item || !list)
        return fail("no such list in the tree");
    const Clock::time_point start = Clock::now();
    click_tree_item(tree, item);
    // A registry list is read by the first click on the window thread, a
    // WMI list on the worker.
    if (!run_program_queue_until(
            application, [&] { return !list->pending; }, 120000))
        return fail("the list was not read");
    const double read_ms = ms_since(start);
    const Clock::time_point shown = Clock::now();
    if (list_rows() != rows)
        click_tree_item(tree, item);
    if (!run_program_queue_until(
            application, [&] { return list_rows() == rows; }, 60000))
        return fail("the list does not show the rows");
    std::printf("click_to_list_ms=%.1f read_click_ms=%.1f show_click_ms=%.1f rows=%d\n", ms_since(start), read_ms,
                ms_since(shown), list_rows());
    return close_window(application) ? 0 : fail("the window did not close");
}

int bench_root(mapp& application)
{
    if (!window_ready(application))
        return fail("no window");
    HWND tree = tree_window();
    // Timed from the click itself: the test's scroll that finds the click
    // point is no work of the program (the batch side starts at its call).
    const LPARAM root = tree_item_point(tree, TreeView_GetRoot(tree));
    const Clock::time_point start = Clock::now();
    click_tree_at(tree, root);
    const double handler = ms_since(start);
    run_program_queue(application);
    const double took = ms_since(start);
    if (!every_list_read())
        return fail("a list is still unread");
    // The handler's part, and what the queue held after it (the workers'
    // status and the page's reload).
    std::printf("root_click_ms=%.1f handler_ms=%.1f\n", took, handler);
    return close_window(application) ? 0 : fail("the window did not close");
}

int bench_batch(mapp& application)
{
    application.command_line = "x";
    const Clock::time_point start = Clock::now();
    application.InitInstance();
    const double took = ms_since(start);
    if (!every_list_read())
        return fail("a list is still unread");
    std::printf("batch_ms=%.1f\n", took);
    return 0;
}

int bench_soak(mapp& application, int fills, int warmup)
{
    if (!window_ready(application))
        return fail("no window");
    HWND tree = tree_window();
    click_tree_item(tree, TreeView_GetRoot(tree));  // every list read
    run_program_queue(application);
    // The lists that show rows, each by its tree item.
    std::vector<HTREEITEM> shown;
    for (HTREEITEM item : tree_items(tree)) {
        QueryList* list = list_named(tree_item(tree, item).text);
        if (list && list->row_count > 0 && list->first_item)
            shown.push_back(item);
    }
    if (shown.size() < 2)
        return fail("fewer than two lists with rows");
    std::printf("lists with rows: %zu\n", shown.size());
    const Holdings before = holdings();
    print_holdings("start", before);
    Holdings warm;
    const Clock::time_point start = Clock::now();
    for (int fill = 1; fill <= fills; ++fill) {
        click_tree_item(tree, shown[static_cast<size_t>(fill) % shown.size()]);
        if (fill % 7 == 0)
            switch_check_mode();
        run_program_queue(application);
        if (list_rows() == 0)
            return fail("a fill left the list empty");
        if (fill == warmup) {
            warm = holdings();
            print_holdings("after warm-up", warm);
        }
    }
    const double took = ms_since(start);
    const Holdings end = holdings();
    print_holdings("end", end);
    std::printf(
        "fills=%d in %.1f s; growth after warm-up: private %+.2f MiB, pagefile %+.2f MiB, working set "
        "%+.2f MiB, committed %+.2f MiB, user_objects %+d, gdi_objects %+d, windows %+d, gdi_slots %+ld\n",
        fills, took / 1000, end.private_mib - warm.private_mib, end.pagefile_mib - warm.pagefile_mib,
        end.working_set_mib - warm.working_set_mib, end.committed_mib - warm.committed_mib,
        static_cast<int>(end.user_objects - warm.user_objects),
        static_cast<int>(end.gdi_objects - warm.gdi_objects), static_cast<int>(end.windows - warm.windows),
        end.gdi_slots - warm.gdi_slots);
    // The GDI measure sees objects that are kept: 100 brushes held now.
    std::vector<HBRUSH> kept;
    for (int i = 0; i < 100; ++i)
        kept.push_back(CreateSolidBrush(RGB(i, 1, 2)));
    std::printf("gdi_slots with 100 brushes kept: %+ld\n", gdi_slots_in_use() - end.gdi_slots);
    for (HBRUSH brush : kept)
        DeleteObject(brush);
    return close_window(application) ? 0 : fail("the window did not close");
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    int result = 2;
    {
        auto application = std::make_unique<mapp>();
        if (mode == "click" && argc > 3)
            result = bench_click(*application, argv[2], std::atoi(argv[3]));
        else if (mode == "root")
            result = bench_root(*application);
        else if (mode == "batch")
            result = bench_batch(*application);
        else if (mode == "soak")
            result = bench_soak(*application, argc > 2 ? std::atoi(argv[2]) : 1000,
                                argc > 3 ? std::atoi(argv[3]) : 100);
        else
            std::fprintf(stderr, "usage: window_bench click NAME ROWS | root | batch | soak [FILLS [WARMUP]]\n");
    }
    std::fflush(stdout);
    return result;
}
