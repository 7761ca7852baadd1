// Writes a year file of a given number of bookings for the report benchmarks, and the same
// bookings in timeclock format (project levels as colon-separated accounts) for a peer program.
// About 40 projects, most with two or three levels; every day ends with a pause.
// usage: make_journal YEAR BOOKINGS JOURNAL_FILE TIMECLOCK_FILE
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { PROJECTS = 40, DAYS_MAX = 366, DAY_MINUTES = 1440 };

static int is_leap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// The project names: customers with orders and tasks (three levels), internal work (two), and a
// few single words.
static void make_projects(char names[PROJECTS][16]) {
    static const char *const customers[] = {"KD", "MB", "RX", "TW", "AL"};
    static const char *const tasks[] = {"Test", "Doku", "Bau"};
    int n = 0;
    for (int c = 0; c < 5; c++)
        for (int order = 0; order < 4; order++)
            snprintf(names[n++], 16, "%s %d%03d %s", customers[c], 4 + c, 711 + order,
                     tasks[(c + order) % 3]);
    for (int c = 0; c < 5; c++)
        for (int order = 0; order < 2; order++)
            snprintf(names[n++], 16, "%s %d%03d", customers[c], 4 + c, 800 + order);
    static const char *const single[] = {
        "INT Verwaltung", "INT Schulung", "INT Meeting", "INT Reise", "URLAUB",
        "KRANK",          "SUPPORT",      "AKQUISE",     "IT",        "ORGA"};
    for (int i = 0; i < 10; i++) snprintf(names[n++], 16, "%s", single[i]);
}

static unsigned next_random(unsigned *state) {
    *state = *state * 1103515245u + 12345u;
    return *state >> 8;
}

// "KD 4711 Test" becomes the account "KD:4711:Test".
static void account_of(char *out, const char *name) {
    strcpy(out, name);
    for (char *p = out; *p; p++)
        if (*p == ' ') *p = ':';
}

int main(int argc, char **argv) {
    if (argc != 5) {
        fprintf(stderr, "usage: make_journal YEAR BOOKINGS JOURNAL_FILE TIMECLOCK_FILE\n");
        return 2;
    }
    int year = atoi(argv[1]);
    long bookings = atol(argv[2]);
    FILE *journal = fopen(argv[3], "wb"), *timeclock = fopen(argv[4], "wb");
    if (!journal || !timeclock) return 1;
    char names[PROJECTS][16];
    make_projects(names);
    static const int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int days = 365 + is_leap(year);
    unsigned random = 20031217u;
    long written = 0;
    int day_index = 0;
    for (int month = 1; month <= 12; month++) {
        int length = lengths[month - 1] + (month == 2 && is_leap(year));
        for (int day = 1; day <= length; day++, day_index++) {
            // The day's bookings (the closing pause counts as one) spread over its working time.
            long count = bookings * (day_index + 1) / days - written;
            if (count < 2) continue;
            int start = count < 600 ? 7 * 60 : 0;
            int span = count < 600 ? 11 * 60 : DAY_MINUTES - 1;
            char date[32], account[32];
            snprintf(date, sizeof date, "%04d-%02d-%02d", year, month, day);
            for (long i = 0; i < count; i++) {
                int minute = start + (int)(i * span / (count - 1));
                char time[16];
                snprintf(time, sizeof time, "%02d:%02d", minute / 60, minute % 60);
                if (i > 0) fprintf(timeclock, "o %04d/%02d/%02d %s:00\n", year, month, day, time);
                if (i == count - 1) {
                    fprintf(journal, "%s  %s   ---\n", date, time);
                    break;
                }
                const char *project = names[next_random(&random) % PROJECTS];
                fprintf(journal, "%-12.10s%-8.5s%-20.15s%s\n", date, time, project,
                        i % 3 == 0 ? "Arbeit am Projekt" : "");
                account_of(account, project);
                fprintf(timeclock, "i %04d/%02d/%02d %s:00 %s\n", year, month, day, time, account);
            }
            written += count;
        }
    }
    fclose(journal);
    fclose(timeclock);
    return 0;
}
