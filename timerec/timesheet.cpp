// The monthly timesheet's days: the counted periods of a year file summed per day through the
// journal walk, each day judged against its target, holiday, absences and the working-time rules,
// and the balance carried from its start over the years.
#include "timerec/timesheet.h"
#include "frame/messages.h"
#include "frame/platform.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include "timerec/holidays.h"
#include "timerec/journal.h"
#include "timerec/worktime.h"
#include <stdio.h>
#include <string.h>

namespace {

enum {
    DAYS_MAX = 366,
    DAY_MINUTES = 24 * 60,
    OVER_TEN_HOURS = 10 * 60,
    SIX_HOURS = 6 * 60,
    NINE_HOURS = 9 * 60,
    PAUSE_30 = 30,
    PAUSE_45 = 45,
    REST_MINUTES = 11 * 60,
};

// What the walk told of one day: the time of its first booking, the end of its last counted
// period, the minutes counted, and which kinds of booking it holds.
struct sheet_day {
    long begin, end;
    long worked;
    bool booked;  // begin is known
    bool periods; // end is known
    bool work;    // a booking that is no absence
    bool absence;
    bool open; // a booking without closure, or the running one
    char absence_name[JOURNAL_PROJECT + 1];
};

// One year being summed.
struct sheet_year {
    int year;
    char year_text[5];
    int length;
    sheet_day days[DAYS_MAX];
    char seen[JOURNAL_DATE + 1];
    int day; // the index of seen in days, or -1
    const worktime *settings;
};

// The days of one year judged in turn, with what carries from one day to the next.
struct sheet_pass {
    const worktime *settings;
    const holiday_table *holidays;
    char today[DATE_TEXT + 1];
    char begin[DATE_TEXT + 1];
    bool had_end; // the day before ended with a known time
    long end;
};

} // namespace

static sheet_year year_state;

static void add_minutes(long *sum, long minutes) {
    long long total = (long long)*sum + minutes;
    *sum = total > 2000000000LL ? 2000000000L : total < -2000000000LL ? -2000000000L : (long)total;
}

// The index of a date in the year summed, or -1 for a date of another year or none.
static int day_index(const sheet_year *y, const char *date) {
    if (strncmp(date, y->year_text, 4) != 0 || !date_text_valid(date)) return -1;
    date_rec day;
    date_parse_iso(&day, date);
    return date_day_of_year(&day);
}

// The day of date, or NULL for a date outside the year.
static sheet_day *day_of(sheet_year *y, const char *date) {
    if (journal_next_day(y->seen, date)) y->day = day_index(y, date);
    return y->day < 0 ? nullptr : &y->days[y->day];
}

// The day of a booking the walk delivers, with the booking taken: the first one gives the time of
// coming, absences are told apart; end receives the end of its period. NULL for a day outside
// the year.
static sheet_day *take_booking(sheet_year *y, const char *date, const char *project, long *end) {
    sheet_day *day = day_of(y, date);
    if (!day) return nullptr;
    long begin;
    journal_walk_times(&begin, end);
    if (!day->booked) day->begin = begin;
    day->booked = true;
    if (!worktime_is_absence_padded(y->settings, project)) {
        day->work = true;
    } else if (!day->absence) {
        day->absence = true;
        text_copy_max(day->absence_name, project, JOURNAL_PROJECT);
    }
    return day;
}

static void take_period(const char *date, const char *project, int minutes, void *context) {
    long end;
    sheet_day *day = take_booking((sheet_year *)context, date, project, &end);
    if (!day) return;
    day->end = end;
    day->periods = true;
    add_minutes(&day->worked, minutes);
    if (journal_walk_running()) day->open = true;
}

static void take_open_day(const char *date, const char *project, void *context) {
    long end;
    sheet_day *day = take_booking((sheet_year *)context, date, project, &end);
    if (day) day->open = true;
}

// Sums the year file of year per day; -1 when it is missing (its days stay without bookings).
static int sum_year(int year, const worktime *settings) {
    sheet_year *y = &year_state;
    memset(y->days, 0, sizeof y->days);
    memset(y->seen, 0, sizeof y->seen);
    y->day = -1;
    y->year = year;
    y->settings = settings;
    snprintf(y->year_text, sizeof y->year_text, "%04d", year % 10000);
    y->length = 365 + date_is_leap(year);
    char from[DATE_TEXT + 1];
    snprintf(from, sizeof from, "%s-01-01", y->year_text);
    // The range reaches beyond the year, so that the last day's closure is judged too.
    return journal_walk_days(y->year_text, from, "9999-12-31", take_period, take_open_day, y) < 0
               ? -1
               : 0;
}

// Appends a piece to a remark, separated by ", ".
static void remark_add(char *remark, const char *piece) {
    size_t length = strlen(remark);
    snprintf(remark + length, SHEET_REMARK + 1 - length, "%s%s", length ? ", " : "", piece);
}

// The marks of the working-time rules for a day with its times.
static void rule_marks(sheet_row *row, const sheet_pass *pass) {
    if (row->worked > OVER_TEN_HOURS) remark_add(row->remark, text(TXT_MARK_OVER_TEN_HOURS));
    if (row->has_pause && row->worked > NINE_HOURS && row->pause < PAUSE_45)
        remark_add(row->remark, text(TXT_MARK_PAUSE_45));
    else if (row->has_pause && row->worked > SIX_HOURS && row->pause < PAUSE_30)
        remark_add(row->remark, text(TXT_MARK_PAUSE_30));
    if (row->has_begin && pass->had_end && row->begin + DAY_MINUTES - pass->end < REST_MINUTES)
        remark_add(row->remark, text(TXT_MARK_REST));
}

// The target of a day: its weekday's in the version that holds, lowered on a holiday.
static long day_target(const sheet_pass *pass, const sheet_row *row, const holiday *free_day) {
    long target = worktime_target(pass->settings, row->date, row->weekday);
    if (free_day && free_day->target < target) target = free_day->target;
    return target;
}

// Judges one day of the year summed: the row's times, durations and remark, and its difference
// when it is not after today.
static void judge_day(const sheet_day *day, const date_rec *date, sheet_pass *pass,
                      sheet_row *row) {
    memset(row, 0, sizeof *row);
    date_iso_text(row->date, date);
    row->weekday = date_weekday(date);
    const holiday *free_day = holidays_find(pass->holidays, row->date);
    row->target = day_target(pass, row, free_day);
    if (free_day) remark_add(row->remark, free_day->name);
    row->booked = day->booked;
    bool absent = day->absence && !day->work;
    if (day->absence) remark_add(row->remark, day->absence_name);
    if (absent) {
        row->worked = row->target;
    } else {
        row->worked = day->worked;
        row->has_begin = day->booked;
        row->begin = day->booked ? day->begin : 0;
        row->has_end = row->has_pause = day->periods && !day->open;
        row->end = row->has_end ? day->end : 0;
        row->pause = row->has_pause ? row->end - row->begin - row->worked : 0;
        if (day->open) remark_add(row->remark, text(TXT_SHEET_OPEN));
        rule_marks(row, pass);
    }
    row->counted = strcmp(row->date, pass->today) <= 0;
    row->difference = row->counted ? row->worked - row->target : 0;
    pass->had_end = row->has_end;
    pass->end = row->end;
}

// Whether a counted day adds to the balance.
static bool in_balance(const sheet_row *row, const sheet_pass *pass) {
    return row->counted && strcmp(row->date, pass->begin) >= 0;
}

// The name of a missing year file added to a remark.
static void missing_file(char *remark, int year) {
    char name[16], piece[64];
    snprintf(name, sizeof name, "%04d.txt", year);
    snprintf(piece, sizeof piece, text(TXT_SHEET_FILE_MISSING), name);
    remark_add(remark, piece);
}

// The days of the year summed from day first on, up to before day last (indexes), judged in
// turn; their differences within the balance are added to balance. row receives each day.
static void judge_days(sheet_pass *pass, int first, int last, long *balance, sheet_row *rows) {
    date_rec date = {(unsigned char)(year_state.year - 1900), 1, 1};
    date_add_days(&date, &date, first);
    sheet_row scratch;
    for (int i = first; i < last; i++) {
        sheet_row *row = rows ? &rows[i - first] : &scratch;
        judge_day(&year_state.days[i], &date, pass, row);
        if (in_balance(row, pass)) {
            add_minutes(balance, row->difference);
            row->has_balance = true;
            row->balance = *balance;
        }
        date_add_days(&date, &date, 1);
    }
}

void timesheet_this_month(int *year, int *month) {
    date_rec today;
    date_today(&today);
    *year = today.year + 1900;
    *month = today.month;
}

void timesheet_step(int *year, int *month, int months) {
    int index = *year * 12 + (*month - 1) + months;
    *year = index / 12;
    *month = index % 12 + 1;
}

// The years before the one shown, from the start of the balance on: their differences into
// balance, their missing year files into the carry's remark, the end of the last day kept.
static void carry_years(timesheet *out, sheet_pass *pass, int first_year, long *balance) {
    for (int year = first_year; year < out->year; year++) {
        if (sum_year(year, pass->settings) != 0) missing_file(out->carry_remark, year);
        judge_days(pass, 0, year_state.length, balance, nullptr);
    }
}

// Without the year before in the balance, the end of its last day (the rest before 1 January)
// is taken from its year file when there is one.
static void previous_day_end(int year, sheet_pass *pass) {
    char path[JOURNAL_PATH_MAX + 1];
    journal_year_path(path, sizeof path, year);
    pass->had_end = false;
    if (platform_path_kind(path) != PATH_FILE || sum_year(year, pass->settings) != 0) return;
    date_rec last = {(unsigned char)(year - 1900), 12, 31};
    sheet_row row;
    judge_day(&year_state.days[year_state.length - 1], &last, pass, &row);
}

int timesheet_evaluate(timesheet *out, int year, int month) {
    memset(out, 0, sizeof *out);
    out->year = year;
    out->month = month;
    date_rec first = {(unsigned char)(year - 1900), (unsigned char)month, 1};
    out->days = date_month_length(&first);
    worktime settings;
    worktime_load(&settings);
    sheet_pass pass = {};
    pass.settings = &settings;
    date_today_iso(pass.today);
    if (settings.begin[0])
        text_copy_max(pass.begin, settings.begin, DATE_TEXT);
    else
        snprintf(pass.begin, sizeof pass.begin, "%04d-01-01", year);
    int begin_year = (pass.begin[0] - '0') * 1000 + (pass.begin[1] - '0') * 100 +
                     (pass.begin[2] - '0') * 10 + (pass.begin[3] - '0');
    holiday_table holidays = {};
    if (holidays_load(&holidays, begin_year < year ? begin_year : year, year) != 0) {
        holidays_free(&holidays);
        return -1;
    }
    pass.holidays = &holidays;
    long balance = settings.opening;
    if (begin_year < year)
        carry_years(out, &pass, begin_year, &balance);
    else if (month == 1)
        previous_day_end(year - 1, &pass);
    out->year_file_missing = sum_year(year, &settings) != 0;
    if (out->year_file_missing) missing_file(out->sum_remark, year);
    int first_index = date_day_of_year(&first);
    judge_days(&pass, 0, first_index, &balance, nullptr);
    out->carry = balance;
    judge_days(&pass, first_index, first_index + out->days, &balance, out->rows);
    out->balance = balance;
    holidays_free(&holidays);

    char last_date[DATE_TEXT + 1];
    snprintf(last_date, sizeof last_date, "%04d-%02d-%02d", year, month, out->days);
    out->has_carry = out->has_balance = strcmp(pass.begin, last_date) <= 0;
    for (int i = 0; i < out->days; i++) {
        const sheet_row *row = &out->rows[i];
        if (!row->counted) continue;
        add_minutes(&out->worked, row->worked);
        add_minutes(&out->target, row->target);
        add_minutes(&out->difference, row->difference);
    }
    return 0;
}
