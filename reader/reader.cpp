// The reader object's life, the start of a worker thread, the waits and the
// hand-over. The query itself is in wmi_query.cpp, the job in read_job.cpp,
// the registry lists in registry_reader.cpp.
#include "reader/reader.h"

#include "base/log.h"
#include "base/platform.h"
#include "base/window_side.h"
#include "reader/read_job.h"
#include "base/frame_commands.h"

#include <algorithm>

CWMI::CWMI(const std::atomic<int>& read_all) : read_all_(read_all) { write_log("CWMI::CWMI () OK ...\n"); }

CWMI::~CWMI()
{
    // The chain may be gone already: a read still here is waited for
    // (bounded) but not handed over.
    if (job_)
        job_->wait_for_thread();
    for (const std::shared_ptr<ReadJob>& job : ending_)
        job->wait_for_thread();
    write_log("CWMI::~CWMI () OK ...\n");
}

bool CWMI::reading() { return job_ && job_->state() == ReadState::running; }

void CWMI::collect()
{
    if (job_ && job_->state() != ReadState::running)
        hand_over();
}

void CWMI::wait_for_read()
{
    if (!job_)
        return;
    job_->wait();
    hand_over();
}

bool CWMI::worker_running()
{
    auto runs = [](const std::shared_ptr<ReadJob>& job) {
        return job->thread_running() && job->state() != ReadState::given_up;
    };
    return (job_ && runs(job_)) || std::any_of(ending_.begin(), ending_.end(), runs);
}

void CWMI::wait_for_worker()
{
    wait_for_read();
    for (const std::shared_ptr<ReadJob>& job : ending_)
        job->wait_for_thread();
    ending_.clear();
}

// The one place where a WMI read reaches its list. It runs on the thread
// that owns the chain, and only once the read has ended or was given up:
// the worker then writes nothing of the job's data any more (a given-up
// worker is shut out by the job's mutex), and nothing else on this thread
// walks the chain while it runs. So the list changes in one step, from
// pending to read with all its rows.
void CWMI::hand_over()
{
    std::shared_ptr<ReadJob> job = std::move(job_);
    QueryList& list = *job_list_;
    job_list_ = nullptr;
    const ReadState state = job->state();
    if (state == ReadState::done || state == ReadState::given_up)
        ::hand_over(list, job->take_result());
    list.read_failed = state == ReadState::failed ? 1 : 0;
    if (job->security_set())
        sec_done = 1;
    list.busy = 0;
    // The threads of given-up reads are not waited for; the others may
    // still be sending their commands.
    ending_.erase(std::remove_if(ending_.begin(), ending_.end(),
                                 [](const std::shared_ptr<ReadJob>& j) { return !j->thread_running(); }),
                  ending_.end());
    if (state != ReadState::given_up)
        ending_.push_back(std::move(job));
    // A list of both kinds: its registry half once its WMI half has ended.
    if (list.is_reg && list.path && list.name)
        read_rkey(&list);
}

bool CWMI::start_cwmi(QueryList* list)
{
    if (!list)
        return false;
    collect();
    // WMI reads never overlap: a read that still gets answers within the
    // limit goes on and this request is ignored; the user clicks again once
    // it has ended. A stalled one is given up for the new one.
    if (job_) {
        if (!job_->ended_or_given_up_if_stalled())
            return false;
        hand_over();
    }

    const bool window = window_side().has_main_window();
    // In the batch run every read sets the security up again; with a window
    // the first read does it for the process.
    if (!window)
        sec_done = 0;
    auto job = std::make_shared<ReadJob>(query_of(*list), limit_, window, !sec_done, read_all_);

    cur_list = list;
    list->busy = 1;
    if (window)
        window_side().send_command(ID_STATUS_TEXT);

    // Counted before the thread exists, so that its last step (counting
    // itself out) can never come first.
    count_reader_thread(1);
    const bool started = platform::start_thread([job] {
        read_cwmi(*job);
        job->thread_ended();
        // The very last step of the thread; what follows only drops its
        // share of the job.
        count_reader_thread(-1);
    });
    if (!started) {
        // No thread could be made: the list goes back to pending as after a
        // failure end, and the status bar is told so.
        count_reader_thread(-1);
        list->busy = 0;
        write_log("CWMI::start_cwmi () no thread for list: %s!\n", list->name.value_or("").c_str());
        if (window)
            window_side().send_command(ID_STATUS_TEXT);
        return false;
    }
    job_ = std::move(job);
    job_list_ = list;
    write_log("CWMI::Thread:read_cwmi () started ...\n");
    return true;
}

void CWMI::read_lists(QueryList* first)
{
    // A read started by a click may still be running: begin after it.
    wait_for_read();
    for_each_list(first, [this](QueryList& list) {
        if (!list.pending)
            return;
        // The hand-over reads the registry half of a list of both kinds.
        if (list.is_wmi && list.path && list.name && start_cwmi(&list)) {
            wait_for_read();
            return;
        }
        if (list.is_reg && list.path && list.name)
            read_rkey(&list);
    });
}
