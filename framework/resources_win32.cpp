#include "framework/resources_win32.h"

bool load_string(UINT id, std::string& text)
{
    text.clear();
    // LoadStringW with a zero length gives a pointer to the resource text
    // itself, so a string of any length is read whole.
    const wchar_t* resource = nullptr;
    int length = ::LoadStringW(::GetModuleHandleA(nullptr), id, reinterpret_cast<LPWSTR>(&resource), 0);
    if (length <= 0 || !resource)
        return false;
    int bytes = ::WideCharToMultiByte(CP_ACP, 0, resource, length, nullptr, 0, nullptr, nullptr);
    text.assign(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, resource, length, &text[0], bytes, nullptr, nullptr);
    return true;
}

std::string command_prompt(UINT id)
{
    std::string text;
    load_string(id, text);
    return text.substr(0, text.find('\n'));
}

std::string command_tip(UINT id)
{
    std::string text;
    load_string(id, text);
    size_t newline = text.find('\n');
    return newline == std::string::npos ? std::string() : text.substr(newline + 1);
}
