#include "tests/support/test_app.h"

#include "app/platform.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#else
#include "app/platform_host.h"
#include <unistd.h>
#endif

namespace {

std::string make_temp_dir()
{
#ifdef _WIN32
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static int counter = 0;
    for (;;) {
        std::string dir = std::string(base) + "polrix_test_" + std::to_string(GetCurrentProcessId()) +
                          "_" + std::to_string(++counter);
        if (CreateDirectoryA(dir.c_str(), nullptr))
            return dir;
    }
#else
    // The program joins its paths with "\\", which on the host is part of a
    // file name: "<folder>/w\\polrix.log" is the file "w\\polrix.log" inside
    // the unique folder, so everything a test writes stays in that folder.
    char tmpl[] = "/tmp/polrix_test_XXXXXX";
    return std::string(mkdtemp(tmpl)) + "/w";
#endif
}

void set_env(const char* name, const std::string& value)
{
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

void unset_env(const char* name)
{
#ifdef _WIN32
    _putenv_s(name, "");
#else
    unsetenv(name);
#endif
}

}  // namespace

TestApp::TestApp(const std::string& program_name)
{
    dir_ = make_temp_dir();
    if (const char* t = std::getenv("TEMP")) {
        had_temp_ = true;
        saved_temp_ = t;
    }
    set_env("TEMP", dir_);
#ifndef _WIN32
    platform::host::set_module_file_name(dir_ + "\\" + program_name);
#else
    (void)program_name;
#endif
    app_ = std::make_unique<mapp>();
}

TestApp::~TestApp()
{
    app_.reset();
    std::error_code ignored;
#ifdef _WIN32
    std::filesystem::remove_all(dir_, ignored);
#else
    std::filesystem::remove_all(std::filesystem::path(dir_).parent_path(), ignored);
#endif
    if (had_temp_)
        set_env("TEMP", saved_temp_);
    else
        unset_env("TEMP");
}

std::string TestApp::path(const std::string& file) const { return dir_ + "\\" + file; }

std::string TestApp::log() const { return without_cr(read_file_bytes(path("polrix.log"))); }

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
