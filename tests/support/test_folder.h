// A folder of its own for one test, removed with all it holds when the test
// ends, and a log file opened in it for the tests that need the program's
// log but no application object.
#pragma once

#include "base/text_file.h"

#include <string>

class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& dir() const { return dir_; }  // native form
    // Path of a file in the folder, joined with "\\" as the program joins
    // its own paths.
    std::string path(const std::string& file) const { return dir_ + "\\" + file; }

private:
    std::string dir_;
};

// The program's log as "polrix.log" in a folder of its own, installed as the
// log for the life of this object.
class TestLog {
public:
    TestLog();
    ~TestLog();

    // The log as written so far (CR LF turned into LF).
    std::string text() const;
    bool holds(const std::string& line) const { return text().find(line) != std::string::npos; }
    const TestFolder& folder() const { return folder_; }

private:
    TestFolder folder_;
    TextFile file_;
};

// Whole file content as bytes; empty when it cannot be read.
std::string read_file_bytes(const std::string& path);
void write_file_bytes(const std::string& path, const std::string& bytes);
// CR LF -> LF.
std::string without_cr(const std::string& text);
// The text as a regular expression that matches exactly it (death tests
// match their message as a regular expression; paths hold backslashes).
std::string regex_quote(const std::string& text);
