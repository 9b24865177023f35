#include "tests/support/test_folder.h"

#include "base/log.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#ifdef _WIN32
#include "base/windows_win32.h"
#else
#include <cstdlib>
#include <unistd.h>
#endif

namespace {

std::string make_temp_dir()
{
#ifdef _WIN32
    // The temporary folder's path may be of any length: ask for its size.
    std::string base(GetTempPathA(0, nullptr), '\0');
    base.resize(GetTempPathA(static_cast<DWORD>(base.size()), &base[0]));
    static int counter = 0;
    for (;;) {
        std::string dir = base + "polrix_test_" + std::to_string(GetCurrentProcessId()) + "_" +
                          std::to_string(++counter);
        if (CreateDirectoryA(dir.c_str(), nullptr))
            return dir;
    }
#else
    // The program joins its paths with "\\", which on the host is part of a
    // file name: "<folder>/w\\polrix.log" is the file "w\\polrix.log" inside
    // the unique folder made here. Everything a test writes stays in that
    // unique folder, which goes with the test.
    char tmpl[] = "/tmp/polrix_test_XXXXXX";
    return std::string(mkdtemp(tmpl)) + "/w";
#endif
}

}  // namespace

TestFolder::TestFolder() : dir_(make_temp_dir()) {}

TestFolder::~TestFolder()
{
    std::error_code ignored;
#ifdef _WIN32
    std::filesystem::remove_all(dir_, ignored);
#else
    std::filesystem::remove_all(std::filesystem::path(dir_).parent_path(), ignored);
#endif
}

TestLog::TestLog()
{
    file_.open(folder_.path("polrix.log"), 'w');
    set_log_file(&file_);
}

TestLog::~TestLog()
{
    if (log_file() == &file_)
        set_log_file(nullptr);
}

std::string TestLog::text() const { return without_cr(read_file_bytes(folder_.path("polrix.log"))); }

std::string read_file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void write_file_bytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string without_cr(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\r')
            out += c;
    return out;
}

std::string regex_quote(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos)
            out += '\\';
        out += c;
    }
    return out;
}
