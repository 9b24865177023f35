// A window side for tests: it can pretend to have a main window, records the
// commands sent and posted, and answers message boxes and the process end by
// writing the text to standard error and exiting for real (death tests match
// both).
#pragma once

#include "base/window_side.h"

#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

class RecordingWindowSide : public WindowSide {
public:
    explicit RecordingWindowSide(bool with_main_window) : main_window(with_main_window) { set_window_side(this); }
    ~RecordingWindowSide() override { set_window_side(nullptr); }

    bool has_main_window() override { return main_window; }
    void send_command(int command) override
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            sent.push_back(command);
        }
        if (on_send)
            on_send(command);
    }
    void post_command(int command) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        posted.push_back(command);
    }
    void stop_box(const std::string& text) override
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            boxes.push_back(text);
        }
        print_stop_box(text);
    }
    [[noreturn]] void end_process(int exit_code) override { std::exit(exit_code); }

    std::vector<int> sent_commands()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return sent;
    }
    std::vector<int> posted_commands()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return posted;
    }
    std::vector<std::string> stop_boxes()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return boxes;
    }

    bool main_window;
    std::function<void(int)> on_send;  // runs on the sending thread

private:
    std::mutex mutex;
    std::vector<int> sent;
    std::vector<int> posted;
    std::vector<std::string> boxes;
};
