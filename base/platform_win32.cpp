// The real system calls behind platform.h.
#include "base/platform.h"

#include "base/windows_win32.h"

#include <process.h>

#include <memory>
#include <vector>

namespace platform {

Version windows_version()
{
    DWORD v = GetVersion();
    return {static_cast<int>(LOBYTE(LOWORD(v))), static_cast<int>(HIBYTE(LOWORD(v)))};
}

namespace {

unsigned __stdcall run_thread_body(void* parameter)
{
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
    (*body)();
    return 0;
}

}  // namespace

bool start_thread(std::function<void()> body)
{
    // The runtime's own thread start, not the threads library's: the body
    // runs on a thread that the runtime set up for it, and the handle is
    // closed at once (nobody joins the thread).
    auto owned = std::make_unique<std::function<void()>>(std::move(body));
    uintptr_t handle = _beginthreadex(nullptr, 0, run_thread_body, owned.get(), 0, nullptr);
    if (handle == 0)
        return false;
    owned.release();  // the thread owns it now
    CloseHandle(reinterpret_cast<HANDLE>(handle));
    return true;
}

std::string module_file_name()
{
    // Grow the buffer until the whole path fits: no path is cut short.
    std::vector<char> buf(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0)
            return std::string();
        if (n < buf.size())
            return std::string(buf.data(), n);
        buf.resize(buf.size() * 2);
    }
}

std::optional<std::string> environment_variable(const char* name)
{
    // The size asked first counts the terminating zero; a variable that
    // grows between the two calls is asked again.
    for (;;) {
        DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
        if (size == 0)
            return std::nullopt;
        std::string text(size, '\0');
        SetLastError(ERROR_SUCCESS);  // an empty value also answers 0
        DWORD length = GetEnvironmentVariableA(name, &text[0], size);
        if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND)
            return std::nullopt;
        if (length < size) {
            text.resize(length);
            return text;
        }
    }
}

bool create_instance_mutex(const char* name)
{
    HANDLE mutex = CreateMutexA(nullptr, TRUE, name);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        if (mutex)
            CloseHandle(mutex);
        return false;
    }
    // Kept open on purpose: it marks the running copy until the process ends.
    return true;
}

bool instance_mutex_held(const char* name)
{
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, name);
    if (!mutex)
        return false;
    CloseHandle(mutex);
    return true;
}

std::string to_ansi(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring from_ansi(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

}  // namespace platform
