// The journal check: one pass over a year file in blocks. Each line is read as the journal walk
// reads it (its first 100 characters, carriage returns left out, leading white space dropped,
// tabs expanded, the text ending at a byte 0x1A) and judged; findings go out in line order.
#include "timerec/journal_check.h"
#include "frame/bfile.h"
#include "frame/dates.h"
#include "frame/memory.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include "timerec/journal.h"
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum {
    TIME_COLUMN = 12,
    PAUSE_COLUMN = 20,
    DAY_MINUTES = 1440,
    YEAR_DAYS = 366,
    DEFERRED_MAX = 64,
    LINE_AREA = TEXT_TABS_MAX + 1,
};
static_assert((int)CHECK_TEXT_MAX == (int)JOURNAL_WALK_LINE, "a finding shows what the walk reads");

static const int reason_texts[CHECK_REASONS] = {
    TXT_CHECK_BAD_DATE,  TXT_CHECK_COLUMNS,   TXT_CHECK_BAD_TIME,  TXT_CHECK_OTHER_YEAR,
    TXT_CHECK_DATE_BACK, TXT_CHECK_TIME_BACK, TXT_CHECK_SAME_TIME, TXT_CHECK_NOT_CLOSED,
    TXT_CHECK_TOO_LONG,  TXT_CHECK_AFTER_END,
};

// A line as its bytes stream in: its first characters and what lies beyond them.
struct raw_line {
    char text[CHECK_TEXT_MAX + 1]; // carriage returns left out, end-of-file bytes too
    int stored;
    int visible; // characters of text before the text's end (a byte 0x1A)
    bool beyond; // non-blank characters before that end but after the first CHECK_TEXT_MAX
    bool marked; // the text ended in or before this line
    bool tail;   // non-blank bytes after that end
    bool any;    // bytes at all (the last line may lack its line feed)
    bool tabs;   // may hold a tab (its block does)
};

// The line that opens the next period, as the walk pairs lines: the latest line it reads.
struct opening {
    bool pause;
    char date[JOURNAL_DATE]; // the first 10 characters, zeros after a shorter line
    bool pending;            // its finding waits for the line that closes it
    long line;
    int fallback;     // the reason it has when its day is closed, or -1
    const char *text; // in the line area it was read into, kept while it waits
};

// A finding of a line the walk skips, held back while the opening line's finding is open.
struct deferred {
    long line;
    int reason;
};

struct check_pass {
    int year;
    journal_check_fn report;
    void *context;
    long count;
    long line;
    char today[JOURNAL_DATE + 1];
    bool after_end;
    // The order of the lines with a good date and time of the file's year.
    // Per day of the year and minute: the first line of that moment (made at the first such
    // line, so that a file without one costs nothing).
    uint32_t *first_at;
    bool no_memory;
    bool have_previous;
    int previous_day, previous_minute;
    // The last date judged good, so a day's further lines take the quick way.
    char known_date[JOURNAL_DATE];
    int known_year, known_day;
    opening open;
    deferred held[DEFERRED_MAX];
    int held_count;
};

static void deliver(check_pass *pass, long line, int reason, long same_as, const char *text) {
    pass->count++;
    if (!pass->report) return;
    check_finding finding = {line, reason, same_as, text};
    pass->report(&finding, pass->context);
}

// Decides the opening line's finding now that the line closing it bears closing_date (today's at
// the end of the text): a day without closure when the dates differ and it is no pause. Then the
// findings held back behind it.
static void settle(check_pass *pass, const char *closing_date) {
    opening *open = &pass->open;
    if (!open->pending) return;
    open->pending = false;
    bool closed = open->pause || memcmp(open->date, closing_date, JOURNAL_DATE) == 0;
    int reason = closed ? open->fallback : CHECK_NOT_CLOSED;
    if (reason >= 0) deliver(pass, open->line, reason, 0, open->text);
    for (int i = 0; i < pass->held_count; i++)
        deliver(pass, pass->held[i].line, pass->held[i].reason, 0, "");
    pass->held_count = 0;
}

// A finding of a line the walk skips (its shown text is blank): held back while the opening
// line's finding waits, so that findings keep their lines' order. A run of such lines longer
// than the store settles the opening line as closed.
static void emit_skipped(check_pass *pass, int reason, const char *text) {
    if (pass->open.pending && pass->held_count == DEFERRED_MAX) settle(pass, pass->open.date);
    if (!pass->open.pending) {
        deliver(pass, pass->line, reason, 0, text);
        return;
    }
    pass->held[pass->held_count++] = {pass->line, reason};
}

static bool digits(const char *text, int count, int *value) {
    *value = 0;
    for (int i = 0; i < count; i++) {
        if (text[i] < '0' || text[i] > '9') return false;
        *value = *value * 10 + (text[i] - '0');
    }
    return true;
}

static bool is_leap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Whether the first 10 characters are a day of the calendar; its year and day of the year (0 on).
static bool calendar_day(check_pass *pass, const char *text, size_t length, int *year, int *day) {
    if (length < JOURNAL_DATE) return false;
    if (pass->known_year > 0 && memcmp(text, pass->known_date, JOURNAL_DATE) == 0) {
        *year = pass->known_year;
        *day = pass->known_day;
        return true;
    }
    static const int before[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    static const int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int month, day_of_month;
    if (!digits(text, 4, year) || text[4] != '-' || !digits(text + 5, 2, &month) ||
        text[7] != '-' || !digits(text + 8, 2, &day_of_month))
        return false;
    if (*year < 1 || month < 1 || month > 12 || day_of_month < 1) return false;
    int leap = is_leap(*year) ? 1 : 0;
    if (day_of_month > lengths[month - 1] + (month == 2 ? leap : 0)) return false;
    *day = before[month - 1] + (month > 2 ? leap : 0) + day_of_month - 1;
    memcpy(pass->known_date, text, JOURNAL_DATE);
    pass->known_year = *year;
    pass->known_day = *day;
    return true;
}

// The time of day of columns 12-16 in minutes, or -1 when they hold none.
static int time_of_day(const char *text, size_t length) {
    int hour, minute;
    if (length < TIME_COLUMN + JOURNAL_TIME || !digits(text + TIME_COLUMN, 2, &hour) ||
        text[TIME_COLUMN + 2] != ':' || !digits(text + TIME_COLUMN + 3, 2, &minute) || hour > 23 ||
        minute > 59)
        return -1;
    return hour * 60 + minute;
}

static bool columns_moved(const char *text, size_t length) {
    static const size_t blanks[] = {10, 11, 17, 18, 19};
    for (size_t column : blanks)
        if (column < length && text[column] != ' ') return true;
    return false;
}

// The order of a line with a good moment of the file's year against the lines before it; the
// line becomes the previous one and, when first at its moment, the one later lines are compared
// with.
static int order_reason(check_pass *pass, int day, int minute, long *same_as) {
    int reason = -1;
    if (pass->have_previous && day < pass->previous_day)
        reason = CHECK_DATE_BACK;
    else if (pass->have_previous && day == pass->previous_day && minute < pass->previous_minute)
        reason = CHECK_TIME_BACK;
    if (!pass->first_at && !pass->no_memory) {
        pass->first_at = (uint32_t *)fmalloc((size_t)YEAR_DAYS * DAY_MINUTES, sizeof(uint32_t));
        pass->no_memory = !pass->first_at;
    }
    uint32_t *first = pass->first_at ? &pass->first_at[day * DAY_MINUTES + minute] : nullptr;
    if (reason < 0 && first && *first) {
        reason = CHECK_SAME_TIME;
        *same_as = (long)*first;
    }
    if (first && !*first && (int64_t)pass->line <= (int64_t)UINT32_MAX)
        *first = (uint32_t)pass->line;
    pass->have_previous = true;
    pass->previous_day = day;
    pass->previous_minute = minute;
    return reason;
}

// The first reason that applies to a line the walk reads, or -1.
static int own_reason(check_pass *pass, const char *text, size_t length, long *same_as) {
    int year, day;
    if (!calendar_day(pass, text, length, &year, &day)) return CHECK_BAD_DATE;
    // Moved columns are named before the time they spoil.
    int moved = columns_moved(text, length) ? CHECK_COLUMNS : -1;
    int minute = time_of_day(text, length);
    if (minute < 0) return moved >= 0 ? moved : CHECK_BAD_TIME;
    if (year != pass->year) return moved >= 0 ? moved : CHECK_OTHER_YEAR;
    int order = order_reason(pass, day, minute, same_as);
    return moved >= 0 ? moved : order;
}

// The text ends here: the opening line closes against the present day, and nothing after is read.
static void end_text(check_pass *pass) {
    pass->after_end = true;
    settle(pass, pass->today);
}

// Judges a whole line (the walk's view of it: the visible characters, trimmed at the start,
// tabs expanded) and makes it the opening line when the walk reads it. Whether its finding waits
// for the line closing it: then its area must be kept until that line.
static bool judge_line(check_pass *pass, raw_line *raw) {
    raw->text[raw->stored] = 0;
    if (pass->after_end) {
        if (raw->tail) emit_skipped(pass, CHECK_AFTER_END, raw->text);
        return false;
    }
    int start = 0;
    while (start < raw->visible && text_is_space((unsigned char)raw->text[start])) start++;
    if (start == raw->visible || raw->text[start] == 0) {
        // Blank to the walk: only what it does not read can be said.
        if (raw->marked) end_text(pass);
        if (raw->beyond || raw->tail)
            emit_skipped(pass, raw->beyond ? CHECK_TOO_LONG : CHECK_AFTER_END, raw->text);
        return false;
    }
    char expanded[LINE_AREA];
    const char *text = raw->text + start;
    size_t length = (size_t)(raw->visible - start);
    if (raw->tabs && memchr(text, '\t', length)) {
        memcpy(expanded, text, length);
        expanded[length] = 0;
        text_expand_tabs(expanded, sizeof expanded);
        text = expanded;
        length = strlen(expanded);
    }
    char date[JOURNAL_DATE] = {};
    memcpy(date, text, length < (size_t)JOURNAL_DATE ? length : (size_t)JOURNAL_DATE);
    settle(pass, date);
    long same_as = 0;
    int reason = own_reason(pass, text, length, &same_as);
    opening *open = &pass->open;
    open->pause = length > PAUSE_COLUMN && text[PAUSE_COLUMN] == '-';
    memcpy(open->date, date, JOURNAL_DATE);
    open->line = pass->line;
    open->pending = reason < 0;
    if (reason >= 0) {
        deliver(pass, pass->line, reason, same_as, raw->text);
    } else {
        open->fallback = raw->beyond ? CHECK_TOO_LONG : raw->tail ? CHECK_AFTER_END : -1;
        open->text = raw->text;
    }
    if (raw->marked) end_text(pass);
    return open->pending;
}

static bool has_non_blank(const unsigned char *bytes, long count) {
    for (long i = 0; i < count; i++)
        if (!text_is_space(bytes[i])) return true;
    return false;
}

// Takes count bytes of the current line (no line feed among them); plain: the block holds no
// carriage return and no byte 0x1A; tabs: it holds a tab.
static void take_bytes(raw_line *raw, const unsigned char *bytes, long count, bool plain,
                       bool tabs) {
    if (count == 0) return;
    raw->any = true;
    raw->tabs |= tabs;
    if (plain && !raw->marked) {
        long room = CHECK_TEXT_MAX - raw->stored;
        long taken = count < room ? count : room;
        memcpy(raw->text + raw->stored, bytes, (size_t)taken);
        raw->stored += (int)taken;
        raw->visible = raw->stored;
        if (!raw->beyond && count > taken)
            raw->beyond = has_non_blank(bytes + taken, count - taken);
        return;
    }
    for (long i = 0; i < count; i++) {
        int c = bytes[i];
        if (c == '\r') continue;
        if (!raw->marked && c == BFILE_EOF_MARK) {
            raw->marked = true;
            continue;
        }
        if (raw->marked && c != BFILE_EOF_MARK && !text_is_space(c)) raw->tail = true;
        if (!raw->marked && raw->stored == CHECK_TEXT_MAX && !text_is_space(c)) raw->beyond = true;
        if (raw->stored < CHECK_TEXT_MAX && c != BFILE_EOF_MARK) raw->text[raw->stored++] = (char)c;
        if (!raw->marked) raw->visible = raw->stored;
    }
}

static void start_line(const check_pass *pass, raw_line *raw) {
    raw->stored = raw->visible = 0;
    raw->beyond = raw->tail = raw->any = raw->tabs = false;
    raw->marked = pass->after_end;
}

long journal_check(const char *path, int year, journal_check_fn report, void *context) {
    bfile file;
    if (bfile_open_sized(&file, path, JOURNAL_WALK_BLOCK) < 0) return -1;
    check_pass pass = {};
    pass.year = year;
    pass.report = report;
    pass.context = context;
    journal_today(pass.today);
    // Two areas taken in turn: the opening line's stays while the next lines are read.
    raw_line areas[2];
    raw_line *raw = &areas[0];
    start_line(&pass, raw);
    const unsigned char *bytes;
    long count;
    while ((bytes = bfile_next_bytes(&file, &count)) != nullptr) {
        const unsigned char *end = bytes + count;
        bool plain =
            !memchr(bytes, '\r', (size_t)count) && !memchr(bytes, BFILE_EOF_MARK, (size_t)count);
        bool tabs = memchr(bytes, '\t', (size_t)count) != nullptr;
        while (bytes < end) {
            const unsigned char *feed =
                (const unsigned char *)memchr(bytes, '\n', (size_t)(end - bytes));
            take_bytes(raw, bytes, (feed ? feed : end) - bytes, plain, tabs);
            if (!feed) break;
            pass.line++;
            if (judge_line(&pass, raw)) raw = raw == &areas[0] ? &areas[1] : &areas[0];
            start_line(&pass, raw);
            bytes = feed + 1;
        }
    }
    if (raw->any) {
        pass.line++;
        judge_line(&pass, raw);
    }
    if (!pass.after_end) settle(&pass, pass.today);
    bfile_close(&file);
    ffree(pass.first_at);
    return pass.no_memory ? -1 : pass.count;
}

// The decimal digits of a line number into out (room for 20); their count. Two digits a step:
// this runs twice for every finding.
static size_t decimal(char *out, long value) {
    static const char pairs[] =
        "000102030405060708091011121314151617181920212223242526272829303132333435363738394041424344"
        "454647484950515253545556575859606162636465666768697071727374757677787980818283848586878889"
        "90919293949596979899";
    char digits[20];
    size_t at = sizeof digits;
    unsigned long rest = value < 0 ? 0 : (unsigned long)value;
    for (; rest >= 100; rest /= 100) {
        at -= 2;
        memcpy(digits + at, pairs + rest % 100 * 2, 2);
    }
    if (rest >= 10) {
        at -= 2;
        memcpy(digits + at, pairs + rest * 2, 2);
    } else {
        digits[--at] = (char)('0' + rest);
    }
    memcpy(out, digits + at, sizeof digits - at);
    return sizeof digits - at;
}

// A reason's text as the string table has it, with the place of its number ("%ld"), if any.
struct reason_form {
    char text[TEXT_MAX + 1];
    size_t length;
    size_t number_at; // the length when there is no number
};

// The reasons' texts, taken from the string table once: a year of many findings must not load
// and format a text for each.
static const reason_form *reason_of(int reason) {
    static reason_form forms[CHECK_REASONS];
    static bool loaded;
    if (!loaded) {
        for (int i = 0; i < CHECK_REASONS; i++) {
            reason_form *form = &forms[i];
            form->length = (size_t)text_copy(reason_texts[i], form->text, TEXT_MAX + 1);
            const char *number = strstr(form->text, "%ld");
            form->number_at = number ? (size_t)(number - form->text) : form->length;
        }
        loaded = true;
    }
    return &forms[reason >= 0 && reason < CHECK_REASONS ? reason : 0];
}

// The reason into out, which has room for TEXT_MAX + 24 bytes; its length (no NUL written).
static size_t put_reason(char *out, const check_finding *finding) {
    const reason_form *form = reason_of(finding->reason);
    memcpy(out, form->text, form->number_at);
    if (form->number_at == form->length) return form->length;
    size_t length = form->number_at + decimal(out + form->number_at, finding->same_as);
    size_t rest = form->length - form->number_at - 3;
    memcpy(out + length, form->text + form->number_at + 3, rest);
    return length + rest;
}

enum { REASON_ROOM = TEXT_MAX + 24, LINE_ROOM = JOURNAL_PATH_MAX + REASON_ROOM + 24 };

// Copies length bytes of whole into out (size bytes), cut to fit, with a NUL; the count copied.
static size_t copy_cut(char *out, size_t size, const char *whole, size_t length) {
    if (size == 0) return 0;
    if (length > size - 1) length = size - 1;
    memcpy(out, whole, length);
    out[length] = 0;
    return length;
}

size_t journal_check_reason(char *out, size_t size, const check_finding *finding) {
    char whole[REASON_ROOM];
    return copy_cut(out, size, whole, put_reason(whole, finding));
}

size_t journal_check_line(char *out, size_t size, const char *name, const check_finding *finding) {
    // Written straight into out when it has room for any line: this runs for every finding.
    char whole[LINE_ROOM];
    char *to = size >= LINE_ROOM ? out : whole;
    size_t length = strlen(name);
    if (length > JOURNAL_PATH_MAX) length = JOURNAL_PATH_MAX;
    memcpy(to, name, length);
    to[length++] = ':';
    length += decimal(to + length, finding->line);
    to[length++] = ':';
    to[length++] = ' ';
    length += put_reason(to + length, finding);
    if (to == out) {
        out[length] = 0;
        return length;
    }
    return copy_cut(out, size, whole, length);
}

long journal_check_current(journal_check_fn report, void *context) {
    const char *path = journal_current_file();
    size_t length = strlen(path);
    int year = length >= strlen("0000.txt") ? atoi(path + length - strlen("0000.txt")) : 0;
    return journal_check(path, year, report, context);
}

size_t journal_check_row(char *out, size_t size, const check_finding *finding) {
    char whole[REASON_ROOM + CHECK_TEXT_MAX + 24];
    size_t length = decimal(whole, finding->line);
    whole[length++] = '\t';
    length += put_reason(whole + length, finding);
    whole[length++] = '\t';
    size_t shown = strlen(finding->text);
    memcpy(whole + length, finding->text, shown);
    // Tabs and other control characters of the line would break the columns.
    for (size_t i = length; i < length + shown; i++)
        if ((unsigned char)whole[i] < ' ') whole[i] = ' ';
    return copy_cut(out, size, whole, length + shown);
}

void journal_check_summary(char *out, size_t size, const char *name, long count, long shown) {
    if (size == 0) return;
    if (count < 0) snprintf(out, size, text(TXT_CANNOT_READ), name);
    if (count == 0) snprintf(out, size, text(TXT_CHECK_NOTHING), name);
    if (count == 1) snprintf(out, size, text(TXT_CHECK_FOUND_ONE), name);
    if (count > 1 && shown >= count) snprintf(out, size, text(TXT_CHECK_FOUND), name, count);
    if (count > 1 && shown < count)
        snprintf(out, size, text(TXT_CHECK_LISTED), name, count, (int)shown);
}

void journal_check_status(char *out, size_t size, const char *name, long count) {
    if (count == 1)
        snprintf(out, size, text(TXT_CHECK_STATUS_ONE), name);
    else
        snprintf(out, size, text(TXT_CHECK_STATUS), name, count);
}

int journal_check_day(char *out, const check_finding *finding) {
    const char *text = finding->text;
    while (text_is_space((unsigned char)*text)) text++;
    out[0] = 0;
    if (!date_text_valid(text)) return -1;
    memcpy(out, text, JOURNAL_DATE);
    out[JOURNAL_DATE] = 0;
    return 0;
}
