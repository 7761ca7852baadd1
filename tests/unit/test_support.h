// Shared test helpers: a fresh folder per test, whole-file reads and writes, a fixed clock and a
// recorder of the messages the core shows.
#pragma once
#include <string>
#include <vector>

// A new empty folder below the system's temporary folder, removed (with its files) at the end.
struct TempDir {
    TempDir();
    ~TempDir();
    // The folder with a final separator, and a path inside it.
    std::string path;
    std::string file(const std::string &name) const { return path + name; }
};

std::string read_file(const std::string &path);
void write_file(const std::string &path, const std::string &bytes);
bool file_there(const std::string &path);

// Fixes the clock at the given local moment for the rest of the test.
void set_now(int year, int month, int day, int hour, int minute);

// Records every message of the core, per kind, while it lives; restores the defaults after.
struct MessageRecorder {
    MessageRecorder();
    ~MessageRecorder();
    std::vector<std::string> status, warnings, infos;
    std::string last_status() const { return status.empty() ? "" : status.back(); }
};

// Points the work directory at folder (with separator) and forgets the current year file.
void use_work_dir(const std::string &folder);
