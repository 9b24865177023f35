// The reader object: reads one list at a time. A WMI list is read on a worker
// thread of its own (one per read); a registry list on the calling thread.
// The worker tells the main window by blocking sends of command 206 (status)
// and 201 (fill the result list), always after clearing the list's busy
// flag, so that a window thread waiting for that flag can go on.
#pragma once

#include "config/query_list.h"
#include "reader/wmi_service.h"

#include <atomic>
#include <memory>

class CWMI {
public:
    CWMI();
    ~CWMI();  // waits for a running worker before the chain can go
    CWMI(const CWMI&) = delete;
    CWMI& operator=(const CWMI&) = delete;

    // Starts the worker thread that reads the WMI list; does not wait.
    void start_cwmi(QueryList* list);
    // The worker's body: reads cur_list and ends with one of the two endings.
    void read_cwmi();
    // Reads a registry list on the calling thread: 0 done, 1 not read.
    int read_rkey(QueryList* list);

    // True while a worker thread runs (it may still be ending after the list
    // it read is no longer busy).
    bool worker_running() const { return running_workers_.load() > 0; }
    // Waits until no worker runs, pausing 100 ms between looks.
    void wait_for_worker();

    std::unique_ptr<WmiLocator> locator;
    std::unique_ptr<WmiServices> services;
    QueryList* cur_list = nullptr;  // the list last handed to start_cwmi
    int sec_done = 0;               // the process-wide COM security is set

private:
    void normal_end();
    void end_cwmi(bool com_started);

    std::atomic<int> running_workers_{0};
};
