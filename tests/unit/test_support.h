// Shared test helpers: a fresh folder per test, whole-file reads and writes, a fixed clock and a
// recorder of the messages the core shows.
#pragma once
#include <functional>
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

// The names of the files in folder (no folders), sorted.
std::vector<std::string> files_in(const std::string &folder);

// Runs operation with the n-th writing operation of the platform layer failing, n = 1, 2, ...,
// until a run meets no failure; kinds (bits of fault_kind) says which operations may fail. After
// every run check gets whether a failure struck (the operation's own result is for check to
// judge). The number of failures injected.
int run_with_faults(const std::function<void()> &operation,
                    const std::function<void(bool struck)> &check, int kinds = 3);

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
