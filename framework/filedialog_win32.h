// The open and save file dialogs of the system (GetOpenFileNameA,
// GetSaveFileNameA). The filter is written as pairs of text and pattern
// separated by "|" and ended by "||", as "XML Files (*.xml)|*.xml||". A
// chosen path of any length comes back whole.
#pragma once

#include "base/windows_win32.h"

#include <commdlg.h>

#include <string>

class CWnd;

class CFileDialog {
public:
    CFileDialog(bool open, const std::string& default_extension, const std::string& file_name, DWORD flags,
                const std::string& filter, CWnd* parent);

    // IDOK when a file was chosen, IDCANCEL when the user cancelled or the
    // dialog failed.
    int DoModal();
    const std::string& GetPathName() const { return path_; }

    // The dialog's options before DoModal: OFN_ flags, owner, and the size
    // of the buffer the path is read into at first, in characters.
    OPENFILENAMEA& options() { return options_; }
    void set_initial_buffer(size_t characters) { buffer_size_ = characters; }

private:
    bool open_;
    std::string default_extension_;
    std::string filter_;  // with its "|" turned into the zeros the call wants
    std::string path_;
    OPENFILENAMEA options_{};
    size_t buffer_size_;
};

// The filter text with each "|" as a zero character.
std::string file_filter(const std::string& filter);
