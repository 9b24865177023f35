// One WMI read as its worker thread sees it: a copy of the list's query, the
// rows read so far, the state of the read and the moment the WMI service
// last answered. The worker and the reader object share the job; the worker
// never touches the list itself, nor the reader object, so the window may
// walk the chain at any time while a list is read, and a read that was given
// up can return whenever it likes.
//
// The data of the read are guarded by the job's mutex. The worker adds only
// whole rows and writes its log lines under it, and the reader gives a read
// up under it: once a job is given up its worker neither adds a row nor
// writes a line, however late its call returns.
#pragma once

#include "config/query_list.h"
#include "reader/wmi_service.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

using ReaderClock = std::chrono::steady_clock;

// The list's query as it was when the read started.
struct ReadQuery {
    struct Item {
        Text name;
        Text filt;
    };
    Text path;
    Text name;
    Text filt;
    Text var;
    std::vector<Item> items;  // chain order
    bool star = false;        // the first item stands for all properties
};

ReadQuery query_of(const QueryList& list);

// What a read hands over to its list.
struct ReadResult {
    int row_count = 0;
    int item_count = 0;
    // A "*" read that found properties holding a value: their names, which
    // take the "*" item's place (expand_star). Empty: the chain stays.
    std::vector<std::string> star_columns;
    // The texts of each item of the chain (after the expansion), chain order.
    std::vector<std::vector<std::string>> values;
};

// How one object gave one property.
enum CellKind : uint8_t {
    CELL_NONE = 0,    // not read (no such name on the object, or the read failed): "" and no log line
    CELL_SCALAR = 1,  // a value that is not an array (its text before the filt)
    CELL_ARRAY = 2,   // an array (never scaled or laid out as a date)
};

// One property of a "*" read, or one item named after the "*" item: its
// text on every object read so far. Which properties become items, and so
// which one takes the "*" item's filt, is known only when the read ends.
struct StarColumn {
    std::wstring wide;
    std::string name;   // the item's name (ANSI form)
    bool held = false;  // holds a value (not empty, NULL or an error) on some object
    std::vector<std::string> texts;
    std::vector<uint8_t> kinds;
    std::vector<std::pair<int, HResult>> failed_elements;  // (row, code), logged before the row's value
};

enum class ReadState {
    running,
    done,      // the query ran: the rows go to the list, which becomes read
    failed,    // ended before or at the query: the list stays pending
    given_up,  // the service did not answer in time: the rows read go to the list
};

class ReadJob {
public:
    ReadJob(ReadQuery query, std::chrono::milliseconds limit, bool window, bool set_security,
            const std::atomic<int>& read_all);
    ReadJob(const ReadJob&) = delete;
    ReadJob& operator=(const ReadJob&) = delete;

    const ReadQuery query;
    const std::chrono::milliseconds limit;  // the longest wait for one answer of the service
    const bool window;                      // the program has a main window to tell
    const bool set_security;                // the read sets the process-wide COM security up

    // ---- the worker ----
    // A call of the service is made now; bounded: it has a time-out of its
    // own (the limit), so the waiting side leaves it a moment to answer.
    void calling(const char* call, bool bounded = false);
    // The call returned. False once the read has been given up: the worker
    // then only releases what it holds and ends.
    bool answered();
    // A log line of the read; nothing once it was given up.
    void log(const char* format, ...);
    // A line of the enumeration: a "*" read, whose values are logged only
    // at its end, keeps it until then, before the next row's values.
    void note(const char* format, ...);
    // Under the job's mutex, unless the read was given up (false).
    template <typename F>
    bool locked(F f)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (state_ == ReadState::given_up)
            return false;
        f();
        return true;
    }
    // The read's end with the state done or failed, its last line written
    // first; read_all is looked at here, by the worker's last look at
    // anything outside the job. False when the read was given up.
    bool finish(ReadState state, const char* last_line, bool* read_all_set);
    // The worker's thread ends (its very last use of the job).
    void thread_ended();

    // The worker's data, under the mutex (locked()).
    ReadResult result;             // named items: the texts of each item
    std::vector<StarColumn> star;  // "*": every property seen, in order of first appearance
    std::unordered_map<std::wstring, size_t> star_index;
    std::vector<StarColumn> star_extra;  // "*": the items named after it
    // "*": the read's own lines (a failed Next or GetNames), each written
    // before the values of the row it comes before, when the rows are.
    std::vector<std::pair<int, std::string>> star_notes;
    bool security_done = false;  // the process-wide security exists
    // "*": the properties become items and their lines are logged (done by
    // the worker before its last lines, or by the give-up).
    void turn_star_into_items();

    // ---- the reader (the thread that owns the chain) ----
    // Waits until the read has ended, or the service has not answered for
    // longer than the limit, and then gives the read up. Answers the state.
    ReadState wait();
    // Gives the read up when the service has not answered within the limit;
    // answers whether the read has ended (in any way).
    bool ended_or_given_up_if_stalled();
    ReadState state();
    ReadResult take_result();
    bool security_set();
    // Waits until the worker's thread has ended, as long as its read shows
    // progress within the limit; never for a read that was given up.
    void wait_for_thread();
    bool thread_running();

private:
    void give_up_locked();
    ReaderClock::time_point deadline_locked() const;
    template <typename Done>
    bool wait_locked(std::unique_lock<std::mutex>& lock, Done done);

    const std::atomic<int>& read_all_;
    std::mutex mutex_;
    std::condition_variable changed_;
    ReadState state_ = ReadState::running;
    bool thread_ended_ = false;
    bool star_turned_ = false;
    std::atomic<bool> given_up_{false};
    std::atomic<const char*> call_{"CoInitialize"};
    std::atomic<bool> bounded_call_{false};
    std::atomic<ReaderClock::rep> last_answer_;
};

// Worker threads that have not ended yet, those of given-up reads included.
// A worker counts itself out as its very last step.
int reader_threads_alive();
void count_reader_thread(int change);

// The "*" expansion of the list: its "*" item becomes the first named
// property's item (keeping its disp and filt), each further name a new item.
// Items that followed the "*" item stay behind the first property's item
// until a second property is appended in their place.
void expand_star(QueryList& list, const std::vector<std::string>& columns);

// The read's result into its list: the expansion, the texts appended to the
// items, the counters; the list is read from then on.
void hand_over(QueryList& list, ReadResult result);
