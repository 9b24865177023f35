// The reader object: reads one list at a time. A WMI list is read on a worker
// thread of its own (one per read); a registry list on the calling thread.
// The worker tells the main window by blocking sends of the commands
// ID_STATUS_TEXT and ID_FILL_RESULT (res/resource.h), always after clearing
// the list's busy flag, so that a window thread waiting for that flag can go
// on.
//
// Two flags tell how far a worker is:
//   reading()        a worker is reading a list: its busy flag is set, and it
//                    owns locator, services and the list. Ends before the
//                    worker sends anything.
//   worker_running() a worker thread exists; it may still be ending (blocked
//                    in a send to the window) after its list is no longer busy.
#pragma once

#include "config/query_list.h"
#include "reader/wmi_service.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

class CWMI {
public:
    // read_all: set while every list is being read at once; a worker that
    // ends normally then leaves the result list alone (no command 201). It
    // is looked at when the read ends, not when it starts.
    explicit CWMI(const std::atomic<int>& read_all);
    ~CWMI();  // waits for a running worker before the chain can go
    CWMI(const CWMI&) = delete;
    CWMI& operator=(const CWMI&) = delete;

    // Starts the worker thread that reads the WMI list; does not wait.
    // WMI reads never overlap: while another list is being read the request
    // is ignored (false; cur_list and the list are left as they are).
    bool start_cwmi(QueryList* list);
    // The worker's body: reads cur_list and finishes with one of the two
    // endings (normal_end or end_cwmi), after which the thread ends.
    void read_cwmi();
    // Reads a registry list on the calling thread: 0 done, 1 not read.
    int read_rkey(QueryList* list);
    // Reads every pending list of the chain in chain order, each WMI list on
    // a worker that it waits for, each registry list on the spot. Waits first
    // for a read that is already running.
    void read_lists(QueryList* first);

    bool reading() const { return reading_.load() != 0; }
    // Waits until no list is being read, looking again at least every 100 ms. Safe
    // on the window thread: the worker sends nothing before its list is free.
    void wait_for_read();

    // True while a worker thread runs (it may still be ending after the list
    // it read is no longer busy).
    bool worker_running() const { return running_workers_.load() > 0; }
    // Waits until no worker runs, looking again at least every 100 ms. For the end of
    // the process: on the window thread while the window still takes
    // messages, a worker blocked in a send to it could not end.
    void wait_for_worker();

    std::unique_ptr<WmiLocator> locator;
    std::unique_ptr<WmiServices> services;
    QueryList* cur_list = nullptr;  // the list last handed to start_cwmi
    int sec_done = 0;               // the process-wide COM security is set

private:
    // The normal end: the query ran and the enumeration finished.
    void normal_end();
    // The failure end: com_started tells whether COM still has to be ended.
    void end_cwmi(bool com_started);
    // Last steps of both endings: frees the list, then tells the window.
    void finish_read(bool normal);

    template <typename Done> void wait_until(Done done);
    void wake_waiters();

    const std::atomic<int>& read_all_;
    std::atomic<int> reading_{0};
    std::mutex wake_mutex_;
    std::condition_variable wake_;
    std::atomic<int> running_workers_{0};
};
