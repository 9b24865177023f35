// The reader object's life, the start and the two endings of a worker
// thread. The query itself is in wmi_query.cpp, the registry lists in
// registry_reader.cpp.
#include "app/log.h"
#include "app/platform.h"
#include "app/window_side.h"
#include "reader/reader.h"
#include "res/resource.h"

#include <chrono>

namespace {

constexpr unsigned POLL_MS = 100;

}  // namespace

CWMI::CWMI(const std::atomic<int>& read_all) : read_all_(read_all) { write_log("CWMI::CWMI () OK ...\n"); }

CWMI::~CWMI()
{
    // The worker uses this object up to its last step.
    wait_for_worker();
    write_log("CWMI::~CWMI () OK ...\n");
}

// The waiting side looks again every 100 ms at the latest, and at once when
// a worker frees its list or ends: a batch run of many small lists does not
// spend a polling interval on each of them.
template <typename Done> void CWMI::wait_until(Done done)
{
    std::unique_lock<std::mutex> lock(wake_mutex_);
    while (!done())
        wake_.wait_for(lock, std::chrono::milliseconds(POLL_MS));
}

void CWMI::wake_waiters()
{
    // Taking the lock orders this wake-up after a waiter's last look, so it
    // is never lost between that look and the wait.
    { std::lock_guard<std::mutex> lock(wake_mutex_); }
    wake_.notify_all();
}

void CWMI::wait_for_read()
{
    wait_until([this] { return !reading(); });
}

void CWMI::wait_for_worker()
{
    wait_until([this] { return !worker_running(); });
}

bool CWMI::start_cwmi(QueryList* list)
{
    // One locator, one services object and one cur_list: a second read while
    // one runs is ignored. The user clicks again once the first has ended.
    if (!list || reading())
        return false;

    cur_list = list;
    reading_ = 1;
    list->busy = 1;
    if (window_side().has_main_window())
        window_side().send_command(ID_STATUS_TEXT);

    // Counted before the thread exists, so that its last step (counting
    // itself out) can never come first.
    ++running_workers_;
    const bool started = platform::start_thread([this] {
        read_cwmi();
        // The very last uses of this object by the thread.
        --running_workers_;
        wake_waiters();
    });
    if (!started) {
        // No thread could be made: the list goes back to pending as after a
        // failure end, and the status bar is told so.
        --running_workers_;
        list->busy = 0;
        reading_ = 0;
        write_log("CWMI::start_cwmi () no thread for list: %s!\n", list->name.value_or("").c_str());
        if (window_side().has_main_window())
            window_side().send_command(ID_STATUS_TEXT);
        return false;
    }
    write_log("CWMI::Thread:read_cwmi () started ...\n");
    return true;
}

void CWMI::normal_end()
{
    QueryList& list = *cur_list;
    write_log("  SELECT OK m:%i, n: %i\n", list.row_count, list.item_count);
    list.pending = 0;
    services.reset();
    locator.reset();
    wmi_service().uninitialize();
    write_log("CWMI::Thread:read_cwmi () finished ...\n");
    finish_read(true);
}

void CWMI::end_cwmi(bool com_started)
{
    services.reset();
    locator.reset();
    if (com_started)
        wmi_service().uninitialize();
    finish_read(false);
}

void CWMI::finish_read(bool normal)
{
    // The list is the window's again from here on: once busy is clear, the
    // chain may be freed, and a new read may set cur_list. Nothing below
    // touches either. busy goes first, so that whoever waits for reading()
    // to end finds the list free as well.
    cur_list->busy = 0;
    reading_ = 0;
    wake_waiters();
    if (!window_side().has_main_window())
        return;
    window_side().send_command(ID_STATUS_TEXT);
    if (normal && !read_all_)
        window_side().send_command(ID_FILL_RESULT);
}

void CWMI::read_lists(QueryList* first)
{
    // A read started by a click may still be running: begin after it.
    wait_for_read();
    for_each_list(first, [this](QueryList& list) {
        if (!list.pending)
            return;
        if (list.is_wmi && list.path && list.name) {
            if (start_cwmi(&list))
                wait_for_read();
        }
        if (list.is_reg && list.path && list.name)
            read_rkey(&list);
    });
}
