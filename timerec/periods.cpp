// The counted periods as CSV lines (date, begin, end, minutes, hours, project, text) and as
// timeclock sessions, written in large pieces: a year of a million bookings goes through here.
#include "timerec/periods.h"
#include "frame/bfile.h"
#include "frame/dates.h"
#include "frame/encoding.h"
#include "frame/memory.h"
#include "frame/messages.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include "timerec/directories.h"
#include "timerec/group_index.h"
#include "timerec/journal.h"
#include "timerec/report.h"
#include "timerec/stretch_text.h"
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

enum {
    PERIODS_BUFFER = 1 << 20,
    LINE_ROOM = 2048,                       // more than the longest line of either format
    FIELD_UTF8 = 3 * JOURNAL_WALK_LINE + 1, // a field of the walk's line converted
    DAY_MINUTES = 24 * 60,
    FIELD_CACHE = 256,                        // a power of two
    FIELD_WAYS = 4,                           // places a name may take in the cache
    FIELD_ROOM = 2 * 3 * JOURNAL_PROJECT + 2, // a project converted and quoted
    COPY_SLACK = 16,                          // bytes readable behind a text copied in blocks
    SHORT_FIELD = 32,                         // a kept field copied as a whole block
    DATE_FIELD = 2 * 3 * JOURNAL_DATE + 2 + SHORT_FIELD, // a date converted and quoted
    SESSION_DAY = 3 + JOURNAL_DATE,                      // "i YYYY/MM/DD " of a session
};
static_assert(SHORT_FIELD <= FIELD_ROOM && SHORT_FIELD < LINE_ROOM, "short fields");

// A project's field as the format writes it, kept for its name: a year has few projects and many
// periods.
struct project_field {
    name_key key;
    bool used;
    unsigned char length;
    char bytes[FIELD_ROOM];
};

// The text being written: the lines gather in buffer and go out when it is nearly full. The
// date of the last period and its form in the output are kept, as a day's periods come together.
struct periods_out {
    int format;
    periods_write_fn write;
    void *context;
    bool failed;
    int lines;
    size_t used;
    char seen_date[JOURNAL_DATE + 1];
    char date_text[JOURNAL_DATE + 1];
    char date_field[DATE_FIELD];
    size_t date_field_length;
    char session_day[16]; // "? YYYY/MM/DD " of a timeclock session, its kind in front
    project_field fields[FIELD_CACHE];
    char *buffer; // size bytes
    size_t size;
};

// A period as it is written: its day and project as the walk delivers them (zeros after their ends
// to JOURNAL_DATE + 1 and JOURNAL_PROJECT + 1 bytes), its times of day and its text, readable
// COPY_SLACK bytes behind its end.
struct period_view {
    const char *date, *project, *text;
    size_t text_length;
    int minutes;
    long begin, end;
};

// Which periods go out: a timeclock file leaves out those the ledgers cannot read.
struct period_filter {
    int format;
    char seen_date[JOURNAL_DATE + 1];
    bool date_valid; // the day of seen_date is a day of the calendar
};

} // namespace

static periods_out out_state;
// On a cache line, as the file's blocks (bfile.cpp).
alignas(64) static char out_buffer[PERIODS_BUFFER];

// Writes the buffer's bytes. The count is cleared first: the write may leave bytes in the buffer
// it puts in place of the written one (a stretch's first line moves into its first chunk).
static void flush(periods_out *out) {
    size_t used = out->used;
    out->used = 0;
    if (used > 0 && !out->failed && out->write(out->buffer, used, out->context) != 0)
        out->failed = true;
}

static void put(periods_out *out, const char *bytes, size_t length) {
    memcpy(out->buffer + out->used, bytes, length);
    out->used += length;
}

static void put_char(periods_out *out, char c) {
    out->buffer[out->used++] = c;
}

static void put_text(periods_out *out, const char *text) {
    put(out, text, strlen(text));
}

// The digits of value (at least min_digits, its sign in front) at text; their count.
static size_t digits_at(char *text, long long value, int min_digits) {
    char digits[24];
    int count = 0;
    unsigned long long magnitude = value < 0 ? 0ULL - (unsigned long long)value : value;
    do {
        digits[count++] = (char)('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0 || count < min_digits);
    size_t length = 0;
    if (value < 0) text[length++] = '-';
    while (count > 0) text[length++] = digits[--count];
    return length;
}

// Numbers below 10,000 (the minutes and hours of nearly every period) are written as four digits
// of which the last ones count, without a loop whose length varies at random.
static void put_number(periods_out *out, long long value, int min_digits) {
    if (value < 0 || value >= 10000 || min_digits > 4) {
        out->used += digits_at(out->buffer + out->used, value, min_digits);
        return;
    }
    // The digits are put together in a register, the first one lowest, and shifted down past
    // the leading zeros left out: stored at once, without reading back bytes just stored.
    unsigned v = (unsigned)value;
    uint32_t digits = (v / 1000) | (v / 100 % 10) << 8 | (v / 10 % 10) << 16 | (v % 10) << 24;
    digits += 0x30303030u;
    int count = 1 + (v >= 10) + (v >= 100) + (v >= 1000);
    if (count < min_digits) count = min_digits;
    digits >>= 8 * (4 - count);
    memcpy(out->buffer + out->used, &digits, sizeof digits);
    out->used += (size_t)count;
}

static void put_two_digits(periods_out *out, int value) {
    out->buffer[out->used++] = (char)('0' + value / 10);
    out->buffer[out->used++] = (char)('0' + value % 10);
}

// A time of day as HH:MM at text (a line whose time column held something else gives what the
// walk read of it, with its sign in front); the count of characters.
static size_t clock_at(char *text, long long minutes) {
    long long magnitude = minutes < 0 ? -minutes : minutes;
    size_t length = 0;
    if (minutes < 0) text[length++] = '-';
    length += digits_at(text + length, magnitude / 60, 2);
    text[length++] = ':';
    return length + digits_at(text + length, magnitude % 60, 2);
}

// Decimal hours with two places and a decimal comma ("1,50"), rounded half away from zero (no
// count of minutes lies exactly halfway, so this only fixes the direction of negative values).
static void put_hours(periods_out *out, long long minutes) {
    long long magnitude = minutes < 0 ? -minutes : minutes;
    long long hundredths = (magnitude * 100 + 30) / 60;
    if (minutes < 0) put_char(out, '-');
    put_number(out, hundredths / 100, 1);
    put_char(out, ',');
    put_two_digits(out, (int)(hundredths % 100));
}

// Minutes and their decimal hours, as the CSV line has them ("90;1,50").
static void write_amount(periods_out *out, long long minutes) {
    put_number(out, minutes, 1);
    put_char(out, ';');
    put_hours(out, minutes);
}

// The fields every period writes, for the minutes of a day, made once: a time of day as
// HH:MM:00 (the CSV line takes its first five bytes) and a count of minutes with its hours.
struct day_fields {
    bool made;
    char clock[DAY_MINUTES][8];
    char amount[DAY_MINUTES][16];
    unsigned char amount_length[DAY_MINUTES];
};
static day_fields day;

// Made through the buffer's room, which is left as it was.
static void make_day_fields(periods_out *out) {
    if (day.made) return;
    size_t start = out->used;
    for (int m = 0; m < DAY_MINUTES; m++) {
        memcpy(day.clock[m] + clock_at(day.clock[m], m), ":00", 3);
        write_amount(out, m);
        day.amount_length[m] = (unsigned char)(out->used - start);
        memcpy(day.amount[m], out->buffer + start, out->used - start);
        out->used = start;
    }
    day.made = true;
}

// A line is put together at a cursor, which stays in a register: with every store through the
// buffer, out->used could have changed for all the compiler knows. The rare fields go the general
// way through out, which these functions bring up to the cursor and back.
static size_t used_at(const periods_out *out, const char *at) {
    return (size_t)(at - out->buffer);
}

// A time of day as HH:MM, from the table when it lies within the day.
static char *clock_to(char *at, long long minutes) {
    if (minutes < 0 || minutes >= DAY_MINUTES) return at + clock_at(at, minutes);
    memcpy(at, day.clock[minutes], sizeof day.clock[minutes]);
    return at + 5;
}

static char *amount_to(periods_out *out, char *at, int minutes) {
    if (minutes < 0 || minutes >= DAY_MINUTES) {
        out->used = used_at(out, at);
        write_amount(out, minutes);
        return out->buffer + out->used;
    }
    memcpy(at, day.amount[minutes], sizeof day.amount[minutes]);
    return at + day.amount_length[minutes];
}

// Whether a byte makes a CSV field need quotes: the separator, a quote or a line break.
static bool special(unsigned char c) {
    return c == ';' || c == '"' || c == '\r' || c == '\n';
}

#ifdef __SSE2__
// A bit for each of 16 bytes that makes a field need quotes.
static unsigned special_bits(const char *bytes) {
    const __m128i separator = _mm_set1_epi8(';'), quote = _mm_set1_epi8('"'),
                  cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
    __m128i v = _mm_loadu_si128((const __m128i *)bytes);
    __m128i found =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, separator), _mm_cmpeq_epi8(v, quote)),
                     _mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
    return (unsigned)_mm_movemask_epi8(found);
}
#endif

// The count of bytes before the first one that makes a field need quotes: judged 16 bytes at
// once.
static size_t plain_run(const char *field, size_t length) {
    size_t plain = 0;
#ifdef __SSE2__
    for (; plain + 16 <= length; plain += 16) {
        unsigned mask = special_bits(field + plain);
        if (mask) return plain + (size_t)__builtin_ctz(mask);
    }
#endif
    while (plain < length && !special((unsigned char)field[plain])) plain++;
    return plain;
}

#ifdef __SSE2__
// A bit for each of 16 bytes above ASCII.
static unsigned high_bits(const char *bytes) {
    return (unsigned)_mm_movemask_epi8(_mm_loadu_si128((const __m128i *)bytes));
}

// Whether no byte of a text readable COPY_SLACK bytes behind its end, as every period's text is,
// has its bit in bits_of: judged in whole blocks of 16, without a loop over its last bytes.
static bool none_in_blocks(const char *text, size_t length, unsigned (*bits_of)(const char *)) {
    static_assert(COPY_SLACK >= 16, "the last block is read whole");
    for (size_t at = 0; at < length; at += 16) {
        unsigned mask = bits_of(text + at);
        if (length - at < 16) mask &= (1u << (length - at)) - 1;
        if (mask) return false;
    }
    return true;
}
#endif

// Whether a period's text needs no quotes.
static bool plain_text(const char *text, size_t length) {
#ifdef __SSE2__
    return none_in_blocks(text, length, special_bits);
#else
    return plain_run(text, length) == length;
#endif
}

static bool plain_ascii(const char *text, size_t length) {
    size_t i = 0;
#ifdef __SSE2__
    for (; i + 16 <= length; i += 16)
        if (high_bits(text + i)) return false;
#endif
    for (; i < length; i++)
        if ((unsigned char)text[i] >= 0x80) return false;
    return true;
}

// Whether a period's text is ASCII, the same in UTF-8.
static bool ascii_text(const char *text, size_t length) {
#ifdef __SSE2__
    return none_in_blocks(text, length, high_bits);
#else
    return plain_ascii(text, length);
#endif
}

// text in UTF-8 into converted (FIELD_UTF8 bytes); the text to write.
static const char *converted_utf8(char *converted, const char *text, size_t *length) {
    encoding_to_utf8(converted, FIELD_UTF8, text);
    *length = strlen(converted);
    return converted;
}

// text in UTF-8 into converted unless it is ASCII, which is the same in both; the text to write.
static const char *as_utf8(char *converted, const char *text, size_t *length) {
    return plain_ascii(text, *length) ? text : converted_utf8(converted, text, length);
}

// A CSV field as it stands, or in double quotes with its quotes doubled when it holds the
// separator, a quote or a line break; converted to UTF-8 for that format.
static void put_field(periods_out *out, const char *field) {
    char converted[FIELD_UTF8];
    size_t length = strlen(field);
    if (out->format != PERIODS_CSV) field = as_utf8(converted, field, &length);
    if (plain_run(field, length) == length) {
        put(out, field, length);
        return;
    }
    put_char(out, '"');
    for (size_t i = 0; i < length; i++) {
        if (field[i] == '"') put_char(out, '"');
        put_char(out, field[i]);
    }
    put_char(out, '"');
}

// Writes a text readable COPY_SLACK bytes behind its end in blocks of 16, as the buffer has room
// behind its end: the booking texts' lengths vary at random.
static char *blocks_to(char *to, const char *bytes, size_t length) {
    static_assert(COPY_SLACK >= 16 && COPY_SLACK < LINE_ROOM, "copy slack");
    for (size_t at = 0; at < length; at += 16) memcpy(to + at, bytes + at, 16);
    return to + length;
}

// The booking text of the period being written, in UTF-8 for the formats that want it, into
// converted (FIELD_UTF8 + COPY_SLACK bytes); the text to write, readable COPY_SLACK bytes behind
// its end.
static const char *note_of(periods_out *out, const period_view *p, char *converted,
                           size_t *length) {
    *length = p->text_length;
    if (out->format == PERIODS_CSV || ascii_text(p->text, *length)) return p->text;
    return converted_utf8(converted, p->text, length);
}

// The booking text as the last CSV field: quoted the general way when it must be.
static char *note_field_to(periods_out *out, char *at, const period_view *p) {
    char converted[FIELD_UTF8 + COPY_SLACK];
    size_t length;
    const char *note = note_of(out, p, converted, &length);
    if (plain_text(note, length)) return blocks_to(at, note, length);
    out->used = used_at(out, at);
    put_field(out, p->text);
    return out->buffer + out->used;
}

// Writes a field kept from before (its area at least SHORT_FIELD bytes): a short one as a whole
// block, as the buffer has room behind its end, since the fields' lengths vary at random.
static char *kept_to(char *at, const char *bytes, size_t length) {
    if (length <= SHORT_FIELD)
        memcpy(at, bytes, SHORT_FIELD);
    else
        memcpy(at, bytes, length);
    return at + length;
}

// Writes the field of a project (delivered with zeros after its name to its 16th byte) with
// write_field, or the bytes it gave for an earlier period of the name.
static char *project_to(periods_out *out, char *to, const char *project,
                        void (*write_field)(periods_out *out, const char *project)) {
    name_key key;
    name_key_of_padded(&key, project);
    // A name has FIELD_WAYS places, so that two names of the same place do not take turns.
    unsigned first = name_key_hash(&key) & (FIELD_CACHE - 1);
    project_field *field = nullptr;
    for (unsigned way = 0; way < FIELD_WAYS; way++) {
        project_field *at = &out->fields[(first + way) & (FIELD_CACHE - 1)];
        if (at->used && name_key_equal(&at->key, &key)) return kept_to(to, at->bytes, at->length);
        if (!field && !at->used) field = at;
    }
    if (!field) field = &out->fields[first];
    size_t start = used_at(out, to);
    out->used = start;
    write_field(out, project);
    size_t length = out->used - start;
    if (length > sizeof field->bytes) return out->buffer + out->used;
    field->key = key;
    field->used = true;
    field->length = (unsigned char)length;
    memcpy(field->bytes, out->buffer + start, length);
    return out->buffer + out->used;
}

static bool iso_date_form(const char *date) {
    for (int i = 0; i < JOURNAL_DATE; i++)
        if (i == 4 || i == 7 ? date[i] != '-' : date[i] < '0' || date[i] > '9') return false;
    return true;
}

// The date of a period as the format writes it: DD.MM.YYYY (a date column in another form as it
// stands) or YYYY/MM/DD.
static void name_date(periods_out *out, const char *date) {
    if (!journal_next_day(out->seen_date, date)) return;
    if (!iso_date_form(date)) {
        text_copy_max(out->date_text, date, JOURNAL_DATE);
    } else if (out->format == PERIODS_TIMECLOCK) {
        snprintf(out->date_text, sizeof out->date_text, "%.4s/%.2s/%.2s", date, date + 5, date + 8);
    } else {
        snprintf(out->date_text, sizeof out->date_text, "%.2s.%.2s.%.4s", date + 8, date + 5, date);
    }
    if (out->format == PERIODS_TIMECLOCK) {
        snprintf(out->session_day, sizeof out->session_day, "? %s ", out->date_text);
        return;
    }
    // The day's CSV field, written once and kept for its periods.
    size_t start = out->used;
    put_field(out, out->date_text);
    out->date_field_length = out->used - start;
    memcpy(out->date_field, out->buffer + start, out->date_field_length);
    out->used = start;
}

static void csv_line(periods_out *out, const period_view *p) {
    char *at = kept_to(out->buffer + out->used, out->date_field, out->date_field_length);
    *at++ = ';';
    at = clock_to(at, p->begin);
    *at++ = ';';
    at = clock_to(at, p->end);
    *at++ = ';';
    at = amount_to(out, at, p->minutes);
    *at++ = ';';
    at = project_to(out, at, p->project, put_field);
    *at++ = ';';
    at = note_field_to(out, at, p);
    memcpy(at, "\r\n", 2);
    out->used = used_at(out, at + 2);
}

// The account of a project: the words the statistics count as its levels, joined by ":" ("KD
// 4711 Test" is KD:4711:Test); a ":" inside a word becomes "_", as it would make a level of its
// own in the ledgers' tree.
static void account_of(char *account, const char *project) {
    char *at = account;
    for (const char *p = project; *p; p++) {
        if (*p == ' ') {
            if (at > account && at[-1] != ':') *at++ = ':';
        } else {
            *at++ = *p == ':' ? '_' : *p;
        }
    }
    if (at > account && at[-1] == ':') at--;
    *at = 0;
}

// "i YYYY/MM/DD HH:MM:00", put together from the day's piece and the time's (the date of a
// session is a date of the calendar, its times are times of day: period_wanted).
static char *moment_to(const periods_out *out, char *at, char kind, long minutes) {
    memcpy(at, out->session_day, sizeof out->session_day);
    at[0] = kind;
    memcpy(at + SESSION_DAY, day.clock[minutes], sizeof day.clock[minutes]);
    return at + SESSION_DAY + sizeof day.clock[minutes];
}

static void put_account(periods_out *out, const char *project) {
    char account[JOURNAL_PROJECT + 1], converted[FIELD_UTF8];
    account_of(account, project);
    size_t length = strlen(account);
    const char *text = as_utf8(converted, account, &length);
    put(out, text, length);
}

static void timeclock_session(periods_out *out, const period_view *p) {
    char *at = moment_to(out, out->buffer + out->used, 'i', p->begin);
    *at++ = ' ';
    at = project_to(out, at, p->project, put_account);
    char converted[FIELD_UTF8 + COPY_SLACK];
    size_t length;
    const char *note = note_of(out, p, converted, &length);
    if (length > 0) {
        memcpy(at, "  ", 2);
        at = blocks_to(at + 2, note, length);
    }
    *at++ = '\n';
    at = moment_to(out, at, 'o', p->end);
    *at++ = '\n';
    out->used = used_at(out, at);
}

static void left_out(const char *date, int minutes, long begin, long end) {
    char times[2 * 24 + 4];
    size_t length = clock_at(times, begin);
    times[length++] = '-';
    times[length + clock_at(times + length, end)] = 0;
    journal_walk_status(TXT_PERIOD_LEFT_OUT, date, times, minutes);
}

// Whether the period goes out. A timeclock file holds only sessions the ledgers can read: a day
// of the calendar, times of day, the end not before the begin; any other is named in the order
// of the file, as the walk's own messages are.
static bool period_wanted(period_filter *filter, const char *date, int minutes, long begin,
                          long end) {
    if (filter->format != PERIODS_TIMECLOCK) return true;
    if (journal_next_day(filter->seen_date, date))
        filter->date_valid = iso_date_form(date) && date_text_valid(date);
    if (filter->date_valid && begin >= 0 && begin < DAY_MINUTES && end >= begin &&
        end < DAY_MINUTES)
        return true;
    left_out(date, minutes, begin, end);
    return false;
}

static void write_period(periods_out *out, const period_view *p) {
    name_date(out, p->date);
    if (out->format != PERIODS_TIMECLOCK)
        csv_line(out, p);
    else
        timeclock_session(out, p);
    out->lines++;
    if (out->used > out->size - LINE_ROOM) flush(out);
}

// A walk's periods on their way out: which of them go, and where their text is put together.
struct periods_run {
    period_filter filter;
    periods_out *out;
};

static void on_period(const char *date, const char *project, int minutes, void *context) {
    periods_run *run = (periods_run *)context;
    long begin, end;
    journal_walk_times(&begin, &end);
    if (!period_wanted(&run->filter, date, minutes, begin, end)) return;
    static_assert((int)COPY_SLACK <= (int)JOURNAL_TEXT_COLUMN,
                  "a text read in blocks stays within the walk's area of a whole line");
    period_view p = {date,  project, journal_walk_text(), journal_walk_text_length(), minutes,
                     begin, end};
    write_period(run->out, &p);
}

// Starts a text of periods in format, written with write.
static void start_out(periods_out *out, int format, periods_write_fn write, void *context,
                      char *buffer, size_t size) {
    out->format = format;
    out->write = write;
    out->context = context;
    out->failed = false;
    out->lines = 0;
    out->used = 0;
    out->buffer = buffer;
    out->size = size;
    memset(out->seen_date, 0, sizeof out->seen_date);
    for (project_field &field : out->fields) field.used = false;
}

enum { REST_ROOM = 2 * LINE_ROOM }; // a line, with room to spare

// A stretch's periods, walked on a thread of its own: their text in chunks, which the calling
// thread writes in the stretches' order. Once the stretch is done, a line delivered for it (the
// running period, delivered on the calling thread after the walk) goes to rest and is written from
// there at once.
struct stretch_out {
    periods_run run;
    periods_out out;
    stretch_text *text;
    int stretch;
    char rest[REST_ROOM];
};

// The walk over stretches: the chunks of text and each stretch's periods.
struct periods_stretches {
    stretch_text text;
    stretch_out *stretch; // JOURNAL_PARTS_MAX of them in one block, filled once each
    int count;
};

static bool stretches_always;

void periods_stretches_always(bool always) {
    stretches_always = always;
}

// A fresh chunk for the stretch's text; without one the stretch's text fails, what follows going
// to rest unwritten.
static void take_chunk(stretch_out *s) {
    s->out.buffer = stretch_text_chunk(s->text, s->stretch);
    s->out.size = s->text->chunk_size;
    if (s->out.buffer) return;
    s->out.buffer = s->rest;
    s->out.size = sizeof s->rest;
    s->out.failed = true;
}

// The write of a stretch's text: the full chunk goes to the queue, the text goes on in a new one.
// The stretch's first line, written to rest, moves into its first chunk: a stretch takes memory
// for its text only once it has some.
static int hand_on_chunk(const char *bytes, size_t length, void *context) {
    stretch_out *s = (stretch_out *)context;
    bool first = s->out.buffer == s->rest;
    if (!first) stretch_text_put(s->text, s->stretch, s->out.buffer, length);
    take_chunk(s);
    if (first && !s->out.failed) {
        memcpy(s->out.buffer, bytes, length);
        s->out.used = length;
    }
    return s->out.failed ? -1 : 0;
}

// On the stretch's thread, once its periods are delivered: its last chunk goes to the queue.
static void stretch_done(int stretch, bool ended, void *context) {
    periods_stretches *all = (periods_stretches *)context;
    stretch_out *s = &all->stretch[stretch];
    if (s->out.buffer != s->rest) stretch_text_put(s->text, stretch, s->out.buffer, s->out.used);
    s->out.buffer = s->rest;
    s->out.size = sizeof s->rest;
    s->out.used = 0;
    s->out.write = all->text.write;
    s->out.context = all->text.context;
    stretch_text_done(s->text, stretch, ended);
}

static void write_chunks(void *context) {
    stretch_text_write(&((periods_stretches *)context)->text);
}

// Memory for the stretches' periods (JOURNAL_PARTS_MAX); their count, 0 when memory is short.
static int make_stretches(periods_stretches *all, const periods_out *out, const char *year) {
    all->count = 0;
    stretch_text_start(&all->text, year, out->write, out->context);
    all->stretch = (stretch_out *)fmalloc(JOURNAL_PARTS_MAX, sizeof(stretch_out));
    if (!all->stretch) return 0;
    while (all->count < JOURNAL_PARTS_MAX) {
        stretch_out *s = &all->stretch[all->count];
        s->text = &all->text;
        s->stretch = all->count;
        s->run = {{out->format, {}, false}, &s->out};
        // Room for one line, handed on at once (hand_on_chunk).
        start_out(&s->out, out->format, hand_on_chunk, s, s->rest, LINE_ROOM);
        all->count++;
    }
    return all->count;
}

// The stretches' lines, the failure of any of their writes into out; the memory goes back.
static void end_stretches(periods_stretches *all, periods_out *out, int counted) {
    for (int k = 0; k < all->count; k++) {
        stretch_out *s = &all->stretch[k];
        if (k < counted) {
            flush(&s->out); // the running period, delivered after the walk
            out->lines += s->out.lines;
            if (s->out.failed) out->failed = true;
        }
    }
    ffree(all->stretch);
    if (stretch_text_end(&all->text) != 0) out->failed = true;
}

// A large year walked in stretches by threads of their own, the calling thread writing their text
// as it comes: the result of the walk, or -2 when it could not be walked that way.
static int write_in_stretches(periods_out *out, const char *year, const char *from,
                              const char *to) {
    static periods_stretches all;
    flush(out); // what comes before the periods
    if (make_stretches(&all, out, year) == 0) {
        stretch_text_end(&all.text);
        return -2;
    }
    journal_walk_beside beside = {write_chunks, stretch_done, &all};
    void *contexts[JOURNAL_PARTS_MAX];
    for (int k = 0; k < all.count; k++) contexts[k] = &all.stretch[k].run;
    journal_parts_walked walked = {};
    int result =
        journal_walk_parts_beside(year, from, to, on_period, contexts, all.count, &walked, &beside);
    end_stretches(&all, out, result == -2 ? 0 : walked.used);
    return result;
}

int periods_write(const char *year, const char *from_md, const char *to_md, int format,
                  periods_write_fn write, void *context) {
    periods_out *out = &out_state;
    start_out(out, format, write, context, out_buffer, sizeof out_buffer);
    make_day_fields(out);
    if (format == PERIODS_CSV_UTF8) put_text(out, "\xEF\xBB\xBF");
    if (format != PERIODS_TIMECLOCK)
        put_text(out, "Datum;Beginn;Ende;Minuten;Stunden;Projekt;Text\r\n");
    char from[DATE_TEXT + 1], to[DATE_TEXT + 1], year_text[DATE_TEXT + 1];
    text_copy_max(year_text, year, DATE_TEXT);
    report_day(from, year_text, from_md);
    report_day(to, year_text, to_md);
    // A large year's stretches are walked by threads of their own.
    bool shared = stretches_always ? journal_walk_threads() > 1 : journal_walk_shared(year_text);
    int walked = shared ? write_in_stretches(out, year_text, from, to) : -2;
    if (walked == -2) {
        periods_run run = {{format, {}, false}, out};
        walked = journal_walk(year_text, from, to, on_period, &run);
    }
    if (walked < 0) return -1;
    flush(out);
    return out->failed ? -1 : out->lines;
}

void periods_csv_path(char *out, size_t size, const char *year) {
    snprintf(out, size, "%s%s%s.csv", ExportDir, year, Person);
}

static int write_to_file(const char *bytes, size_t length, void *context) {
    return bfile_write((bfile *)context, bytes, (long)length) == 0 ? 0 : -1;
}

int periods_save_csv(const char *year, const char *from_md, const char *to_md, const char *path) {
    bfile file;
    if (bfile_replace_begin(&file, path) < 0) {
        msg_warn(text(TXT_CANNOT_WRITE_CSV), path);
        return -1;
    }
    int lines = periods_write(year, from_md, to_md, PERIODS_CSV, write_to_file, &file);
    // Without a year file the walk has named it; the old file stays either way.
    bool journal_missing = lines < 0 && !out_state.failed;
    int result = bfile_replace_commit(&file, path, lines < 0 ? -1 : 0);
    if (result != 0 && !journal_missing) msg_warn(text(TXT_CANNOT_WRITE_CSV), path);
    return result != 0 ? -1 : lines;
}
