// Test helper: stands in for a program that another program starts. Each
// start appends its own command line, exactly as the system hands it over,
// and a line feed to "recorder.txt" in the folder the program lies in, so a
// test sees how often it was started and with what.
//   recorder [ANYTHING...]
// Exit code 0 when the line was written, 1 when not.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// The program's own path, however long.
std::string own_path()
{
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::string();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

int main()
{
    std::string path = own_path();
    std::string::size_type slash = path.find_last_of('\\');
    if (slash == std::string::npos)
        return 1;
    std::string record = path.substr(0, slash + 1) + "recorder.txt";
    std::FILE* file = std::fopen(record.c_str(), "ab");
    if (!file)
        return 1;
    std::string line = std::string(GetCommandLineA()) + "\n";
    bool written = std::fwrite(line.data(), 1, line.size(), file) == line.size();
    return std::fclose(file) == 0 && written ? 0 : 1;
}
