// Benchmark of the handheld exchange: taking over a backup of 10,000 records into a year file of
// 100,000 lines, and building "Zeiten.PDB" from a year file of 100,000 lines. Each step runs in
// its own process (see run-handheld.sh), so the peak memory it reports is that step's.
//   bench_handheld prepare DIR | take-over DIR | build-times DIR
#include "frame/clock.h"
#include "frame/files.h"
#include "frame/messages.h"
#include "frame/path.h"
#include "frame/settings.h"
#include "handheld/palm.h"
#include "handheld/pdb.h"
#include "timerec/directories.h"
#include <stdio.h>
#include <string.h>
#include <string>
#include <sys/resource.h>
#include <time.h>

enum { YEAR_LINES = 100000, BACKUP_RECORDS = 10000 };

static std::string folder;

static long peak_kilobytes(void) {
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

static double seconds_now(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}

// The date and time of booking number i: about 274 bookings a day over the year 2003.
static void moment(int i, char *date, char *time) {
    int day = i / 274, minute = 300 + (i % 274) * 3;
    static const int month_days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int month = 0;
    while (day >= month_days[month]) day -= month_days[month++];
    sprintf(date, "2003-%02d-%02d", month + 1, day + 1);
    sprintf(time, "%02d:%02d", minute / 60, minute % 60);
}

static void write_year_file(const std::string &path) {
    FILE *file = fopen(path.c_str(), "wb");
    char date[16], time[8];
    for (int i = 0; i < YEAR_LINES; i++) {
        moment(i, date, time);
        fprintf(file, "%-12.10s%-8.5s%-20.15sBesprechung Nr. %d\n", date, time,
                i % 7 ? "KD4711" : "---", i);
    }
    fclose(file);
}

static void put(FILE *file, uint32_t value, int bytes) {
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        fputc((int)(value >> shift & 0xFF), file);
}

// A backup as the handheld holds it (no builder limits): half of its records repeat bookings of
// the year file, half are new ones at the minutes in between.
static void write_backup(const std::string &path) {
    std::string data;
    uint32_t offsets[BACKUP_RECORDS];
    uint32_t start = PDB_HEADER + PDB_ENTRY * BACKUP_RECORDS + 2;
    char date[16], time[8], record[PALM_LINE_MAX];
    for (int i = 0; i < BACKUP_RECORDS; i++) {
        int booking = YEAR_LINES - BACKUP_RECORDS + i;
        moment(booking, date, time);
        if (i % 2) time[4] = (char)(time[4] + 1); // a minute not booked on the computer
        snprintf(record, sizeof record, "%-10.10s %-5.5s %-10.10s %s", date, time, "PALM",
                 "vom Handheld");
        offsets[i] = start + (uint32_t)data.size();
        data.append(record, strlen(record) + 1);
    }
    FILE *file = fopen(path.c_str(), "wb");
    char header[PDB_HEADER] = "Zeiten";
    memcpy(header + 60, "DATAKvxr", 8);
    header[76] = (char)(BACKUP_RECORDS >> 8);
    header[77] = (char)(BACKUP_RECORDS & 0xFF);
    fwrite(header, 1, sizeof header, file);
    for (int i = 0; i < BACKUP_RECORDS; i++) {
        put(file, offsets[i], 4);
        put(file, (uint32_t)i, 4);
    }
    put(file, 0, 2);
    fwrite(data.data(), 1, data.size(), file);
    fclose(file);
}

static void quiet(int kind, const char *text) {}

static void use_folder(void) {
    for (int kind = 0; kind < MSG_KINDS; kind++)
        if (kind != MSG_FATAL) messages_set_sink(kind, quiet);
    platform_time now = {2003, 12, 30, 18, 0, 0};
    clock_fix(&now);
    settings_set_file((folder + "kx.ini").c_str());
    snprintf(WorkDir, sizeof WorkDir, "%swork/", folder.c_str());
    change_dir(folder.c_str());
}

static void report_year(const journal_merge_year *year, void *context) {
    printf("  %04d.txt: %ld -> %ld lines\n", year->year, year->lines_before, year->lines_after);
}

int main(int argc, char **argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: bench_handheld prepare|take-over|build-times DIR\n");
        return 2;
    }
    folder = argv[2];
    if (folder.back() != '/') folder += '/';
    use_folder();
    std::string step = argv[1];
    if (step == "prepare") {
        make_path((folder + "work").c_str());
        make_path((folder + "backup").c_str());
        write_year_file(folder + "pristine-2003.txt");
        write_backup(folder + "backup/Zeiten.PDB");
        settings_write(SETTINGS_SECTION, "PalmBak", (folder + "backup/").c_str());
        return 0;
    }
    // The year file as prepared, copied in before the clock starts.
    file_copy((folder + "pristine-2003.txt").c_str(), (folder + "work/2003.txt").c_str());
    long before = peak_kilobytes();
    double started = seconds_now();
    int result;
    if (step == "take-over") {
        palm_conversion conversion;
        result = palm_take_over(&conversion, report_year, nullptr);
        printf("  records read: %d\n", conversion.records);
    } else if (step == "build-times") {
        result = palm_build_times();
        printf("  records written: %d (of %d lines; the rest does not fit the database)\n", result,
               YEAR_LINES);
    } else {
        fprintf(stderr, "bench_handheld: unknown step %s\n", step.c_str());
        return 2;
    }
    double elapsed = seconds_now() - started;
    printf("%s: %.1f ms, peak memory %ld KiB (%ld KiB before the step)\n", step.c_str(),
           elapsed * 1000, peak_kilobytes(), before);
    return result < 0 ? 1 : 0;
}
