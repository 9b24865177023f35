#include "framework/filedialog_win32.h"

#include "framework/wnd_win32.h"
#include "framework/winapp_win32.h"

#include <cderr.h>

#include <vector>

namespace {
// The longest path the system takes, with its terminating zero.
constexpr size_t LONG_PATH = 32768;
}  // namespace

std::string file_filter(const std::string& filter)
{
    std::string zeros = filter;
    for (char& c : zeros) {
        if (c == '|')
            c = '\0';
    }
    // The call wants the list ended by two zeros.
    zeros.push_back('\0');
    zeros.push_back('\0');
    return zeros;
}

CFileDialog::CFileDialog(bool open, const std::string& default_extension, const std::string& file_name,
                         DWORD flags, const std::string& filter, CWnd* parent)
    : open_(open), default_extension_(default_extension),
      filter_(filter.empty() ? std::string() : file_filter(filter)), path_(file_name), buffer_size_(LONG_PATH)
{
    options_.lStructSize = sizeof options_;
    options_.Flags = flags | OFN_EXPLORER;
    if (parent) {
        options_.hwndOwner = parent->m_hWnd;
    } else if (CWinApp* app = AfxGetApp()) {
        options_.hwndOwner = app->main_window;
    }
}

int CFileDialog::DoModal()
{
    std::vector<char> buffer(buffer_size_ > path_.size() ? buffer_size_ : path_.size() + 1, '\0');
    path_.copy(buffer.data(), path_.size());
    for (;;) {
        options_.lpstrFile = buffer.data();
        options_.nMaxFile = static_cast<DWORD>(buffer.size());
        options_.lpstrFilter = filter_.empty() ? nullptr : filter_.c_str();
        options_.lpstrDefExt = default_extension_.empty() ? nullptr : default_extension_.c_str();
        BOOL chosen = open_ ? ::GetOpenFileNameA(&options_) : ::GetSaveFileNameA(&options_);
        if (chosen) {
            path_ = buffer.data();
            return IDOK;
        }
        if (::CommDlgExtendedError() != FNERR_BUFFERTOOSMALL)
            return IDCANCEL;
        // The first two bytes hold the size the path needs: ask again with
        // room for it, starting from what the user chose.
        unsigned needed = static_cast<unsigned char>(buffer[0]) | (static_cast<unsigned char>(buffer[1]) << 8);
        size_t larger = buffer.size() * 2;
        if (needed + 1 > larger)
            larger = needed + 1;
        buffer.assign(larger, '\0');
    }
}
