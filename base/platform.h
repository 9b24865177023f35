// What the program asks of the operating system outside the window side:
// the version, its own file name, the environment, the single-instance
// marker and the text conversion between the ANSI code page and wide strings.
// platform_win32.cpp holds the real calls; platform_host.cpp stands in for
// them on the host, where tests set the answers.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace platform {

struct Version {
    int major = 0;
    int minor = 0;
};
Version windows_version();

// Full path of the program file.
std::string module_file_name();

// The process environment's variable of the name, of any length; none when
// it is not set (a variable set to nothing is an empty text).
std::optional<std::string> environment_variable(const char* name);

// Creates the named mutex, owned by the caller, and keeps it for the rest of
// the process. False when another copy already holds it; the handle is then
// closed again.
bool create_instance_mutex(const char* name);
// Whether a copy holds the named mutex already, without creating it.
bool instance_mutex_held(const char* name);

// Runs the body on a new thread of its own, which ends when the body
// returns; nobody waits for it. False when no thread could be made (the
// body is then never run). Windows: a thread of the C runtime
// (_beginthreadex); the host: std::thread.
bool start_thread(std::function<void()> body);

// ANSI code page <-> UTF-16.
std::string to_ansi(const std::wstring& text);
std::wstring from_ansi(const std::string& text);

}  // namespace platform
