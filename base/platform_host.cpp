#include "base/platform.h"
#include "base/platform_host.h"

#include <cstdlib>
#include <system_error>
#include <thread>

namespace {
platform::Version g_version{6, 1};
std::string g_module = "C:\\Tools\\polrix.exe";
bool g_other_running = false;
}  // namespace

namespace platform {

Version windows_version() { return g_version; }
std::string module_file_name() { return g_module; }

bool start_thread(std::function<void()> body)
{
    try {
        std::thread(std::move(body)).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}
std::optional<std::string> environment_variable(const char* name)
{
    if (const char* value = std::getenv(name))
        return std::string(value);
    return std::nullopt;
}

bool create_instance_mutex(const char*) { return !g_other_running; }

bool instance_mutex_held(const char*) { return g_other_running; }

// The host has no code page: the first 256 code points map to bytes one to
// one, anything else becomes "?", as a narrow conversion would show it.
std::string to_ansi(const std::wstring& text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text)
        out += (static_cast<unsigned long>(c) < 256) ? static_cast<char>(c) : '?';
    return out;
}

std::wstring from_ansi(const std::string& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (char c : text)
        out += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return out;
}

namespace host {
void set_version(int major, int minor) { g_version = {major, minor}; }
void set_module_file_name(const std::string& path) { g_module = path; }
void set_other_instance_running(bool running) { g_other_running = running; }
}  // namespace host

}  // namespace platform
