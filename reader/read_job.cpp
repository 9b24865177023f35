// The job of one WMI read: its progress, its end, the give-up, the "*"
// properties turned into items, and the hand-over to the list.
#include "reader/read_job.h"

#include "base/log.h"
#include "base/text_file.h"
#include "reader/value_format.h"

#include <algorithm>
#include <cstdarg>

namespace {

std::atomic<int> g_threads_alive{0};

ReaderClock::rep ticks_now() { return ReaderClock::now().time_since_epoch().count(); }

// The limit as the give-up line says it: whole seconds as seconds, anything
// else in milliseconds.
std::string limit_text(std::chrono::milliseconds limit)
{
    const long long ms = static_cast<long long>(limit.count());
    if (ms % 1000 == 0)
        return std::to_string(ms / 1000) + " s";
    return std::to_string(ms) + " ms";
}

// Longest the waiting side leaves a call that has a time-out of its own
// (Next) beyond the limit, so that the call's own answer comes first.
constexpr std::chrono::milliseconds OWN_TIMEOUT_MARGIN{1000};

constexpr std::chrono::milliseconds LOOK_AGAIN{100};

}  // namespace

ReadQuery query_of(const QueryList& list)
{
    ReadQuery query;
    query.path = list.path;
    query.name = list.name;
    query.filt = list.filt;
    query.var = list.var;
    for (const QueryItem* item = list.first_item.get(); item; item = item->next.get())
        query.items.push_back({item->name, item->filt});
    query.star = list.first_item && names_all(list.first_item->name);
    return query;
}

ReadJob::ReadJob(ReadQuery q, std::chrono::milliseconds l, bool w, bool s, const std::atomic<int>& read_all)
    : query(std::move(q)), limit(l), window(w), set_security(s), read_all_(read_all), last_answer_(ticks_now())
{
    // A read given up before it reached its query still counts its items.
    result.item_count = static_cast<int>(query.items.size());
    result.values.resize(query.star ? 0 : query.items.size());
}

void ReadJob::calling(const char* call, bool bounded)
{
    call_ = call;
    bounded_call_ = bounded;
}

bool ReadJob::answered()
{
    last_answer_ = ticks_now();
    return !given_up_;
}

void ReadJob::log(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::string line = vformat_text(format, args);
    va_end(args);
    locked([&] { write_log("%s", line.c_str()); });
}

void ReadJob::note(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::string line = vformat_text(format, args);
    va_end(args);
    locked([&] {
        if (query.star && !star_turned_)
            star_notes.emplace_back(result.row_count, std::move(line));
        else
            write_log("%s", line.c_str());
    });
}

bool ReadJob::finish(ReadState state, const char* last_line, bool* read_all_set)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (state_ == ReadState::given_up)
        return false;
    if (last_line)
        write_log("%s", last_line);
    if (read_all_set)
        *read_all_set = read_all_ != 0;
    state_ = state;
    changed_.notify_all();
    return true;
}

void ReadJob::thread_ended()
{
    std::lock_guard<std::mutex> lock(mutex_);
    thread_ended_ = true;
    changed_.notify_all();
}

ReaderClock::time_point ReadJob::deadline_locked() const
{
    ReaderClock::time_point last{ReaderClock::duration(last_answer_.load())};
    ReaderClock::duration allowed = limit;
    if (bounded_call_)
        allowed += std::min(limit, OWN_TIMEOUT_MARGIN);
    return last + allowed;
}

void ReadJob::give_up_locked()
{
    // The rows read so far are handed over; a "*" read's properties become
    // items now, their lines logged before the line that ends the read, as
    // before a failed Next.
    if (query.star && !star_turned_)
        turn_star_into_items();
    state_ = ReadState::given_up;
    given_up_ = true;
    write_log("Failed to read list: %s! No answer from %s within %s\n", query.name.value_or("").c_str(),
              call_.load(), limit_text(limit).c_str());
    changed_.notify_all();
}

// Waits, with the lock held, until done() or the service has not answered
// within the limit; false in the second case. Looks again every 100 ms, and
// at once when the job changes.
template <typename Done>
bool ReadJob::wait_locked(std::unique_lock<std::mutex>& lock, Done done)
{
    for (;;) {
        if (done())
            return true;
        const ReaderClock::time_point deadline = deadline_locked();
        const ReaderClock::time_point now = ReaderClock::now();
        if (now >= deadline)
            return false;
        changed_.wait_until(lock, std::min(deadline, now + LOOK_AGAIN));
    }
}

ReadState ReadJob::wait()
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (!wait_locked(lock, [this] { return state_ != ReadState::running; }))
        give_up_locked();
    return state_;
}

bool ReadJob::ended_or_given_up_if_stalled()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (state_ == ReadState::running && ReaderClock::now() >= deadline_locked())
        give_up_locked();
    return state_ != ReadState::running;
}

ReadState ReadJob::state()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return state_;
}

ReadResult ReadJob::take_result()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return std::move(result);
}

bool ReadJob::security_set()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return security_done;
}

void ReadJob::wait_for_thread()
{
    std::unique_lock<std::mutex> lock(mutex_);
    const bool ended = wait_locked(lock, [this] { return thread_ended_ || state_ == ReadState::given_up; });
    // Still running its read: that read is given up. Ended, but its thread
    // stuck on its way out: no longer waited for.
    if (!ended && state_ == ReadState::running)
        give_up_locked();
}

bool ReadJob::thread_running()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return !thread_ended_;
}

// Called with the mutex held. "*" keeps every property that any object
// holds, not only those of the first: every property that holds a value on
// some object becomes an item, in the order in which the objects first named
// them (the first object's names array, then names that later objects
// bring, in their order). Rows without a value for a property get the empty
// text. The log lines come row by row, item by item, as a read of named
// items writes them: a list of one object logs exactly what it did when the
// columns were taken from the first object.
void ReadJob::turn_star_into_items()
{
    star_turned_ = true;
    std::vector<StarColumn*> chain;
    for (StarColumn& column : star)
        if (column.held)
            chain.push_back(&column);
    const size_t found = chain.size();
    result.star_columns.clear();
    for (StarColumn* column : chain)
        result.star_columns.push_back(column->name);

    // What stays of the items written in the query file: with no property,
    // the "*" item and the items after it; with one, the items after it.
    StarColumn star_item;
    star_item.name = query.items.empty() ? std::string() : query.items[0].name.value_or(std::string());
    if (found == 0)
        chain.insert(chain.begin(), &star_item);
    if (found <= 1)
        for (StarColumn& extra : star_extra)
            chain.push_back(&extra);

    const Text first_filt = query.items.empty() ? Text() : query.items[0].filt;
    const int rows = result.row_count;
    result.values.assign(chain.size(), {});
    std::vector<size_t> next_failed(chain.size(), 0);
    std::string lines;
    size_t note = 0;
    for (int row = 0; row < rows; ++row) {
        while (note < star_notes.size() && star_notes[note].first <= row)
            lines += star_notes[note++].second;
        for (size_t k = 0; k < chain.size(); ++k) {
            StarColumn& column = *chain[k];
            const size_t r = static_cast<size_t>(row);
            const uint8_t kind = r < column.kinds.size() ? column.kinds[r] : uint8_t(CELL_NONE);
            std::string text = r < column.texts.size() ? std::move(column.texts[r]) : std::string();
            // The "*" item's filt goes with the first property.
            if (k == 0 && found >= 1 && kind == CELL_SCALAR)
                text = apply_filt(first_filt, std::move(text));
            std::vector<std::pair<int, HResult>>& failed = column.failed_elements;
            while (next_failed[k] < failed.size() && failed[next_failed[k]].first == row)
                lines += element_error_line(failed[next_failed[k]++].second);
            if (kind != CELL_NONE)
                lines += entry_log_line(column.name, text);
            result.values[k].push_back(std::move(text));
        }
        // One write per row keeps the log file's writes few for large lists.
        write_log("%s", lines.c_str());
        lines.clear();
    }
    for (; note < star_notes.size(); ++note)
        lines += star_notes[note].second;
    if (!lines.empty())
        write_log("%s", lines.c_str());
    star_notes.clear();
    result.item_count = found >= 1 ? static_cast<int>(found) : static_cast<int>(query.items.size());
    star.clear();
    star_index.clear();
    star_extra.clear();
}

int reader_threads_alive() { return g_threads_alive.load(); }

void count_reader_thread(int change) { g_threads_alive += change; }

void expand_star(QueryList& list, const std::vector<std::string>& columns)
{
    for (const std::string& name : columns) {
        std::unique_ptr<QueryItem> item;
        if (list.first_item && names_all(list.first_item->name)) {
            // The chain starts anew with the "*" item. It is taken out and
            // appended again with its next link as it was.
            list.item_count = 0;
            item = std::move(list.first_item);
            item->name.reset();
            list.last_item = nullptr;
        } else {
            item = init_item();
        }
        item->name = name;
        item->checked = 1;
        append_item(list, std::move(item));
        ++list.item_count;
    }
}

void hand_over(QueryList& list, ReadResult result)
{
    if (!result.star_columns.empty())
        expand_star(list, result.star_columns);
    list.row_count = result.row_count;
    list.item_count = result.item_count;
    size_t k = 0;
    for (QueryItem* item = list.first_item.get(); item; item = item->next.get(), ++k) {
        if (k < result.values.size()) {
            std::vector<std::string>& texts = result.values[k];
            if (item->values.empty())
                item->values = std::move(texts);
            else
                item->values.insert(item->values.end(), std::make_move_iterator(texts.begin()),
                                    std::make_move_iterator(texts.end()));
        }
        if (item->values.size() < static_cast<size_t>(list.row_count))
            item->valid = 0;
    }
    list.pending = 0;
}
