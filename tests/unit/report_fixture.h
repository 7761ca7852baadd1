// What the report tests share: a work directory with a year file, a fixed clock, the messages
// recorded, and the lines a report hands out collected into a vector.
#pragma once
#include "frame/memory.h"
#include "tests/unit/test_support.h"
#include <gtest/gtest.h>
#include <stdio.h>
#include <string>
#include <vector>

using Lines = std::vector<std::string>;

inline void collect_line(const char *line, void *context) {
    ((Lines *)context)->push_back(line);
}

// A copy text as a string (empty for none); the block goes back.
inline std::string taken(char *text) {
    std::string copy = text ? text : "";
    ffree(text);
    return copy;
}

// One journal line of a booking, in the layout bookings are written in.
inline std::string booking_line(const std::string &date, const std::string &time,
                                const std::string &project, const std::string &text = "") {
    char line[200];
    snprintf(line, sizeof line, "%-12.10s%-8.5s%-20.15s%s\n", date.c_str(), time.c_str(),
             project.c_str(), text.c_str());
    return line;
}

// A pause at midnight, then count bookings of the projects P0000, P0001, ... one minute apart.
inline std::string many_projects(const std::string &date, int count) {
    std::string content = booking_line(date, "00:00", "---");
    for (int i = 0; i < count; i++) {
        char project[16], time[16];
        snprintf(project, sizeof project, "P%04d", i % 10000);
        snprintf(time, sizeof time, "%02d:%02d", i / 60 % 100, i % 60);
        content += booking_line(date, time, project);
    }
    return content;
}

struct ReportTest : ::testing::Test {
    TempDir dir;
    MessageRecorder messages;
    void SetUp() override {
        use_work_dir(dir.path);
        set_now(2004, 2, 2, 12, 0);
    }
    void journal(const std::string &year, const std::string &content) {
        write_file(dir.file(year + ".txt"), content);
    }
};
