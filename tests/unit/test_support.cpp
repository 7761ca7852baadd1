// Shared test helpers: temporary folders, files, the fixed clock and the message recorder.
#include "tests/unit/test_support.h"
#include "frame/clock.h"
#include "frame/fault.h"
#include "frame/messages.h"
#include "frame/path.h"
#include "frame/platform.h"
#include "frame/text.h"
#include "timerec/directories.h"
#include "timerec/journal.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <dirent.h>
#include <unistd.h>

static std::string temp_root() {
    const char *names[] = {"TMPDIR", "TEMP", "TMP"};
    for (const char *name : names)
        if (const char *value = getenv(name))
            if (value[0]) return value;
    return "/tmp";
}

TempDir::TempDir() {
    static int counter;
    char name[PATH_MAX_TEXT];
    for (;;) {
        snprintf(name, sizeof name, "%s/kxtest-%ld-%d", temp_root().c_str(), platform_process_id(),
                 ++counter);
        if (platform_path_kind(name) == 0 && make_dir(name) == 0) break;
    }
    path = std::string(name) + "/";
}

// Removes the folder with everything in it.
static void remove_tree(const std::string &folder) {
    if (DIR *dir = opendir(folder.c_str())) {
        while (struct dirent *entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            std::string full = folder + "/" + name;
            if (platform_path_kind(full.c_str()) == 2)
                remove_tree(full);
            else
                remove(full.c_str());
        }
        closedir(dir);
    }
    rmdir(folder.c_str());
}

TempDir::~TempDir() {
    remove_tree(path.substr(0, path.size() - 1));
}

std::string read_file(const std::string &path) {
    std::string bytes;
    if (FILE *file = fopen(path.c_str(), "rb")) {
        char buffer[65536];
        size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
        fclose(file);
    }
    return bytes;
}

void write_file(const std::string &path, const std::string &bytes) {
    FILE *file = fopen(path.c_str(), "wb");
    if (!file) abort();
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

bool file_there(const std::string &path) {
    return platform_path_kind(path.c_str()) == 1;
}

std::vector<std::string> files_in(const std::string &folder) {
    std::vector<std::string> names;
    if (DIR *dir = opendir(folder.c_str())) {
        while (struct dirent *entry = readdir(dir))
            if (platform_path_kind((folder + "/" + entry->d_name).c_str()) != PATH_DIRECTORY)
                names.push_back(entry->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

int run_with_faults(const std::function<void()> &operation,
                    const std::function<void(bool struck)> &check, int kinds) {
    for (int n = 1;; n++) {
        fault_arm(n, kinds);
        operation();
        bool struck = fault_struck();
        fault_arm(0);
        check(struck);
        if (!struck) return n - 1;
    }
}

void set_now(int year, int month, int day, int hour, int minute) {
    platform_time moment = {year, month, day, hour, minute, 0};
    clock_fix(&moment);
}

static MessageRecorder *recorder;

static void record(int kind, const char *text) {
    if (!recorder) return;
    if (kind == MSG_STATUS) recorder->status.push_back(text);
    if (kind == MSG_WARN) recorder->warnings.push_back(text);
    if (kind == MSG_INFO) recorder->infos.push_back(text);
}

MessageRecorder::MessageRecorder() {
    recorder = this;
    messages_set_sink(MSG_STATUS, record);
    messages_set_sink(MSG_WARN, record);
    messages_set_sink(MSG_INFO, record);
}

MessageRecorder::~MessageRecorder() {
    recorder = nullptr;
    messages_set_sink(MSG_STATUS, nullptr);
    messages_set_sink(MSG_WARN, nullptr);
    messages_set_sink(MSG_INFO, nullptr);
}

void use_work_dir(const std::string &folder) {
    text_copy_max(WorkDir, folder.c_str(), DIRECTORY_MAX);
    journal_forget_file();
}
