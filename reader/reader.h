// The reader object: reads one list at a time. A WMI list is read on a worker
// thread of its own (one per read); a registry list on the calling thread.
//
// A WMI read owns its data until it hands them over: the worker fills a job
// of its own (read_job.h) and never touches the list or this object. The
// hand-over moves the job's rows and items into the list in one step, on the
// thread that owns the chain (the window thread, or the batch run's only
// thread), in collect(), wait_for_read() and wait_for_worker(). Until then
// the list reads as pending, so the report, the result list and the exports
// never see half a list, and the window's paths need no lock.
//
// The worker tells the main window by blocking sends of the commands
// ID_STATUS_TEXT and ID_FILL_RESULT (base/frame_commands.h), always after its read
// has ended, so that a window thread waiting for the read can go on; the
// handlers of those commands call collect() first.
//
// Every run ends: no wait for one answer of the WMI service lasts longer
// than the limit (set_limit). A read whose service does not answer within it
// is given up by the waiting side: a "Failed to read list" line names the
// list, the rows read before are handed over (the list is read with what it
// has), and the run goes on. Its worker, whenever its call returns, touches
// nothing of the model, writes no line and sends nothing; it releases its
// objects and ends.
#pragma once

#include "config/query_list.h"
#include "reader/wmi_service.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <vector>

class ReadJob;

class CWMI {
public:
    // read_all: set while every list is being read at once; a worker that
    // ends normally then leaves the result list alone (no ID_FILL_RESULT). It
    // is looked at when the read ends, not when it starts.
    explicit CWMI(const std::atomic<int>& read_all);
    ~CWMI();  // waits (bounded) for a running read, without handing it over
    CWMI(const CWMI&) = delete;
    CWMI& operator=(const CWMI&) = delete;

    // The longest wait for one answer of the WMI service (60 s unless set).
    void set_limit(std::chrono::milliseconds limit) { limit_ = limit; }
    std::chrono::milliseconds limit() const { return limit_; }

    // Starts the worker thread that reads the WMI list; does not wait.
    // WMI reads never overlap: while another read runs and its service
    // answers within the limit, the request is ignored (false; cur_list and
    // the list are left as they are). A read that has not had an answer for
    // longer than the limit is given up first, and the new one starts.
    bool start_cwmi(QueryList* list);
    // The worker's body: reads the job's query into the job and finishes it
    // with one of its endings, after which the thread ends.
    static void read_cwmi(ReadJob& job);
    // Reads a registry list on the calling thread: 0 done, 1 not read (also
    // while the list's WMI half is being read).
    int read_rkey(QueryList* list);
    // Reads every pending list of the chain in chain order, each WMI list on
    // a worker that it waits for, each registry list on the spot. Waits first
    // for a read that is already running.
    void read_lists(QueryList* first);

    // A WMI read runs and has not ended.
    bool reading();
    // Hands an ended read over to its list; nothing while it still runs.
    // Then a list of both kinds has its registry half read.
    void collect();
    // Waits until no read runs (bounded by the limit since the service's
    // last answer), then hands it over.
    void wait_for_read();

    // True while a worker thread of a read that was not given up runs (it
    // may still be ending after its read has ended).
    bool worker_running();
    // For the end of the process: wait_for_read, then waits for the threads
    // of the reads that ended, each as long as it shows progress within the
    // limit. With the window gone, a worker's sends return at once.
    void wait_for_worker();

    QueryList* cur_list = nullptr;  // the list last handed to start_cwmi
    int sec_done = 0;               // the process-wide COM security is set

private:
    void hand_over();

    const std::atomic<int>& read_all_;
    std::chrono::milliseconds limit_{std::chrono::seconds(60)};
    std::shared_ptr<ReadJob> job_;                  // the read not yet handed over
    QueryList* job_list_ = nullptr;                 // its list
    std::vector<std::shared_ptr<ReadJob>> ending_;  // handed over; threads may still run
};
