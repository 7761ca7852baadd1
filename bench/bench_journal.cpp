// Benchmarks of the journal: the last booking of a small and a huge year file (read from the end),
// and the walk over a year file of 1,000,000 lines next to `wc -l` on the same file (wc's time
// includes starting it, about a millisecond).
// Prints a table; never fails by time.
#include "frame/clock.h"
#include "frame/messages.h"
#include "timerec/directories.h"
#include "timerec/journal.h"
#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

static double seconds_now() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

template <typename F> static double median_seconds(int runs, F work) {
    std::vector<double> times;
    for (int i = 0; i < runs; i++) {
        double start = seconds_now();
        work();
        times.push_back(seconds_now() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

static long peak_kib() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A year file of about `lines` bookings: every day starts and ends with a pause, projects with
// two or three levels, some with texts.
static void generate(const std::string &path, long lines) {
    FILE *file = fopen(path.c_str(), "wb");
    long per_day = std::max(4L, lines / 365);
    long written = 0;
    for (int day = 0; written < lines; day++) {
        int month = 1 + day / 28 % 12, mday = 1 + day % 28;
        for (long i = 0; i < per_day && written < lines; i++, written++) {
            int minute = (int)(i * 1440 / per_day);
            bool pause = i == 0 || i == per_day - 1 || i % 7 == 3;
            char project[16];
            snprintf(project, sizeof project, "%s", pause ? "---" : "");
            if (!pause) snprintf(project, sizeof project, "P%02ld-%02ld-%ld", i % 40, i % 3, i % 2);
            fprintf(file, "2024-%02d-%02d  %02d:%02d   %-20s%s\n", month, mday, minute / 60,
                    minute % 60, project, i % 3 == 0 ? "Besprechung mit Kunde" : "");
        }
    }
    fclose(file);
}

static void count_period(const char *date, const char *project, int minutes, void *context) {
    *(long *)context += minutes;
}

static void quiet(int kind, const char *text) {}

// Runs `wc -l FILE` directly (no shell between), its output thrown away.
static void count_lines_with_wc(const std::string &path) {
    pid_t child = fork();
    if (child == 0) {
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        execlp("wc", "wc", "-l", path.c_str(), (char *)nullptr);
        _exit(127);
    }
    int status;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) exit(1);
}

int main(int argc, char **argv) {
    std::string folder = argc > 1 ? argv[1] : "/tmp/kx-bench-journal/";
    if (folder.back() != '/') folder += "/";
    std::string command = "mkdir -p " + folder;
    if (system(command.c_str()) != 0) return 1;
    messages_set_sink(MSG_STATUS, quiet);
    platform_time now = {2024, 12, 31, 18, 0, 0};
    clock_fix(&now);
    snprintf(WorkDir, sizeof WorkDir, "%s", folder.c_str());
    std::string year_file = folder + "2024.txt";

    printf("%-44s %12s %12s\n", "operation", "median", "peak RSS");
    // The last booking: a 1 KB and a 200 MB year file.
    for (long size_lines : {20L, 4000000L}) {
        generate(year_file, size_lines);
        FILE *f = fopen(year_file.c_str(), "rb");
        fseek(f, 0, SEEK_END);
        long bytes = ftell(f);
        fclose(f);
        journal_forget_file();
        booking last;
        double t = median_seconds(21, [&] { journal_last_booking(&last); });
        char label[64];
        snprintf(label, sizeof label, "journal_last_booking, %.0f KB file", bytes / 1e3);
        printf("%-44s %9.1f us %9ld KiB\n", label, t * 1e6, peak_kib());
    }
    // The walk over 1,000,000 lines against wc -l on the same file, same run.
    generate(year_file, 1000000);
    // wc and the walk take turns, so that both see the same load of a shared machine.
    long sum = 0;
    long peak_before = peak_kib();
    std::vector<double> wc_times, walk_times;
    for (int run = 0; run < 15; run++) {
        wc_times.push_back(median_seconds(1, [&] { count_lines_with_wc(year_file); }));
        walk_times.push_back(median_seconds(1, [&] {
            sum = 0;
            journal_walk("2024", "2024-01-01", "2024-12-31", count_period, &sum);
        }));
    }
    std::sort(wc_times.begin(), wc_times.end());
    std::sort(walk_times.begin(), walk_times.end());
    double wc_time = wc_times[wc_times.size() / 2], walk_time = walk_times[walk_times.size() / 2];
    printf("%-44s %9.1f ms\n", "wc -l, 1,000,000 lines", wc_time * 1e3);
    printf("%-44s %9.1f ms %9ld KiB\n", "journal_walk, 1,000,000 lines", walk_time * 1e3,
           peak_kib());
    printf("walk / wc -l = %.2f  (%.1f million lines/s; peak RSS grew %ld KiB during the walks;"
           " %ld minutes counted)\n",
           walk_time / wc_time, 1.0 / walk_time, peak_kib() - peak_before, sum);
    unlink(year_file.c_str());
    return 0;
}
