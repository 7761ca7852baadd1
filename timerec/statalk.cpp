// Statistics and export: accumulation of counted periods into the sum list einlis (found through
// a hash index, appended in the order groups first occur), list lines, copy texts, export file.
#include "timerec/statalk.h"
#include "frame/bfile.h"
#include "frame/dates.h"
#include "frame/memory.h"
#include "frame/messages.h"
#include "frame/number_text.h"
#include "frame/path.h"
#include "frame/sort.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include "timerec/directories.h"
#include "timerec/group_index.h"
#include "timerec/journal.h"
#include "timerec/report_walk.h"
#include <limits.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

namespace {

enum {
    KIND_PROJECT = 0,
    KIND_MONTH = 1,
    KIND_WEEK = 2,
    STAT_LINE = 100,
    LEVELS_MAX = (REPORT_NAME + 1) / 2, // a name of 15 characters has at most 8 levels
    KNOWN_MAX = STASUP,
};

struct einpos {
    int kind;
    char name[REPORT_NAME + 1];
    int minutes;
};

struct group_key {
    int kind;
    const char *name;
};

// The sum list entries of every level of a project name (-1 for a level the full list did not
// take), so that a name seen before costs one search instead of one per level; and the minutes of
// the name, added to its levels when the walk is done.
struct known_project {
    name_key key;
    short entries[LEVELS_MAX];
    int levels;
    long long minutes;
};

// The evaluation state: the sum list, its count and grand total, how periods are grouped, and
// the range and display flag of the last evaluation. The month and week groups of the last date
// seen are kept, since a day's periods come one after another; so are the levels of every
// project name seen.
struct stat_state {
    einpos *einlis;
    int count;
    int total;
    int mode;
    bool all_kinds;
    int hours_minutes;
    char from[DATE_TEXT + 1];
    char to[DATE_TEXT + 1];
    group_index index;
    known_project known[KNOWN_MAX];
    int known_count;
    group_index known_index;
    char named_date[JOURNAL_DATE + 1];
    int month_entry; // the entries of the month and the week of named_date, or -1
    int week_entry;
};

} // namespace

static stat_state state;

void statalk_alloc(void) {
    if (!state.einlis) state.einlis = (einpos *)report_alloc_einlis("statalk", sizeof(einpos));
}

void statalk_free(void) {
    ffree(state.einlis);
    state.einlis = nullptr;
    state.count = 0;
    state.total = 0;
}

static bool same_group(int entry, const void *key, const void *list) {
    const group_key *k = (const group_key *)key;
    const einpos *e = (const einpos *)list + entry;
    return e->kind == k->kind && strcmp(e->name, k->name) == 0;
}

// The entry of the group (kind, name), appended when new; -1 when the full list takes no new group.
static int find_group(stat_state *s, int kind, const char *name) {
    group_key key = {kind, name};
    int free_slot = -1;
    int entry = group_index_find(&s->index, group_index_hash(kind, name), same_group, &key,
                                 s->einlis, &free_slot);
    if (entry >= 0 || s->count >= STASUP) return entry;
    entry = s->count++;
    einpos *added = &s->einlis[entry];
    added->kind = kind;
    text_copy_max(added->name, name, REPORT_NAME);
    added->minutes = 0;
    group_index_put(&s->index, free_slot, entry);
    return entry;
}

// The entries of a project on every level of its name, in the order the levels are added: 'KD
// 4711 Test', 'KD 4711', 'KD'.
static void find_levels(stat_state *s, const char *project, known_project *out) {
    char name[JOURNAL_PROJECT + 1];
    text_copy_max(name, project, JOURNAL_PROJECT);
    text_trim(name);
    out->levels = 0;
    while (name[0] && out->levels < LEVELS_MAX) {
        out->entries[out->levels++] = (short)find_group(s, KIND_PROJECT, name);
        char *space = strrchr(name, ' ');
        if (!space) break;
        *space = 0;
        text_trim(name);
    }
}

static bool same_project(int entry, const void *key, const void *list) {
    return name_key_equal(&((const known_project *)list)[entry].key, (const name_key *)key);
}

// The project on every level of its name, its levels found once per name.
static void add_levels(stat_state *s, const known_project *project, long long minutes) {
    for (int i = 0; i < project->levels; i++)
        if (project->entries[i] >= 0) {
            int *sum = &s->einlis[project->entries[i]].minutes;
            long long total = *sum + minutes;
            *sum = total > INT_MAX ? INT_MAX : total < INT_MIN ? INT_MIN : (int)total;
        }
}

// A project name met for the first time: its levels found and kept under its key. Its entry
// among the known names; -1 when the index of names takes no more, its minutes then gone to its
// levels at once. Out of the common way, which is a name seen before.
static __attribute__((noinline)) int
learn_project(stat_state *s, const char *project, const name_key *key, int free_slot, int minutes) {
    known_project levels;
    find_levels(s, project, &levels);
    levels.key = *key;
    levels.minutes = 0;
    if (free_slot < 0 || s->known_count >= KNOWN_MAX) {
        add_levels(s, &levels, minutes);
        return -1;
    }
    int known = s->known_count++;
    s->known[known] = levels;
    group_index_put(&s->known_index, free_slot, known);
    return known;
}

// A period of a project (its name padded with zeros as the walk delivers it): its minutes go to
// the project's name now and to its levels when the walk is done (settle_levels).
static void add_project(stat_state *s, const char *project, int minutes) {
    name_key key;
    int free_slot = -1;
    name_key_of_padded(&key, project);
    int known = group_index_find(&s->known_index, name_key_hash(&key), same_project, &key, s->known,
                                 &free_slot);
    if (known < 0) known = learn_project(s, project, &key, free_slot, minutes);
    if (known >= 0) s->known[known].minutes += minutes;
}

static void settle_levels(stat_state *s) {
    for (int i = 0; i < s->known_count; i++) {
        add_levels(s, &s->known[i], s->known[i].minutes);
        s->known[i].minutes = 0;
    }
}

// The week name of a date: its ISO week, except that late-December days of week 1 of the next
// year are named as the week after the year's last week, and early-January days of the previous
// year's last week as '00'. The year's last week is the week of its 28 December, so the name does
// not depend on the range evaluated or on what was booked before.
static void name_week(char *name, const date_rec *date) {
    int week, week_year;
    date_week(date, &week, &week_year);
    if (week < 10 && date->month == 12) {
        date_rec last_thursday_week = {date->year, 12, 28};
        date_week(&last_thursday_week, &week, &week_year);
        week++;
    } else if (week > 50 && date->month == 1) {
        week = 0;
    }
    snprintf(name, REPORT_NAME + 1, "%02d", week);
}

// The month and week groups of the date (kept for the periods of the same date that follow).
static void find_date_groups(stat_state *s, const char *date) {
    if (!journal_next_day(s->named_date, date)) return;
    s->month_entry = s->week_entry = -1;
    if (s->all_kinds || s->mode == STAT_MONTH) {
        char month[3];
        text_copy_max(month, strlen(date) > 5 ? date + 5 : "", 2);
        s->month_entry = find_group(s, KIND_MONTH, month);
    }
    if (s->all_kinds || s->mode == STAT_WEEK) {
        char week[REPORT_NAME + 1];
        date_rec parsed;
        date_parse_iso(&parsed, date);
        name_week(week, &parsed);
        s->week_entry = find_group(s, KIND_WEEK, week);
    }
}

// The walk callback: one counted period into every group its grouping touches, and once into
// the grand total.
static void accumulate(const char *date, const char *project, int minutes, void *context) {
    stat_state *s = (stat_state *)context;
    if (s->all_kinds || s->mode == STAT_PROJECT) add_project(s, project, minutes);
    if (s->all_kinds || s->mode != STAT_PROJECT) {
        find_date_groups(s, date);
        if (s->month_entry >= 0) report_add_minutes(&s->einlis[s->month_entry].minutes, minutes);
        if (s->week_entry >= 0) report_add_minutes(&s->einlis[s->week_entry].minutes, minutes);
    }
    report_add_minutes(&s->total, minutes);
}

// Starts an evaluation in s: no groups, no total, grouped as given.
static void start(stat_state *s, int mode, bool all_kinds, int hours_minutes) {
    s->count = 0;
    s->total = 0;
    s->mode = mode;
    s->all_kinds = all_kinds;
    s->hours_minutes = hours_minutes;
    memset(s->named_date, 0, sizeof s->named_date);
    s->month_entry = s->week_entry = -1;
    s->known_count = 0;
    group_index_clear(&s->index);
    group_index_clear(&s->known_index);
}

static void *take_state(const void *first) {
    const stat_state *f = (const stat_state *)first;
    stat_state *s = (stat_state *)fmalloc(1, sizeof(stat_state));
    if (s && !(s->einlis = (einpos *)fmalloc(STASUP, sizeof(einpos)))) {
        ffree(s);
        return nullptr;
    }
    if (s) start(s, f->mode, f->all_kinds, f->hours_minutes);
    return s;
}

static void give_state(void *state) {
    ffree(((stat_state *)state)->einlis);
    ffree(state);
}

// The later stretches' groups, taken in their order, come after the first's as they would have
// in one walk over the whole range, so that the same groups fit into the list.
static void merge_states(void *first, void *const *later, int count) {
    stat_state *s = (stat_state *)first;
    for (int k = 0; k < count; k++) {
        stat_state *part = (stat_state *)later[k];
        settle_levels(part);
        for (int i = 0; i < part->count; i++) {
            const einpos *group = &part->einlis[i];
            int entry = find_group(s, group->kind, group->name);
            if (entry >= 0) s->einlis[entry].minutes += group->minutes;
        }
        s->total += part->total;
    }
}

static void restart_state(void *first) {
    stat_state *s = (stat_state *)first;
    start(s, s->mode, s->all_kinds, s->hours_minutes);
}

static const report_summing summing = {accumulate, take_state, give_state, merge_states,
                                       restart_state};

static int run(const char *year, const char *from_md, const char *to_md, int mode, bool all_kinds,
               int hours_minutes) {
    statalk_alloc();
    stat_state *s = &state;
    start(s, mode, all_kinds, hours_minutes);
    report_day(s->from, year, from_md);
    report_day(s->to, year, to_md);
    int periods = report_walk_summed(year, s->from, s->to, &summing, s);
    settle_levels(s);
    return periods;
}

int statalk_evaluate(const char *year, const char *from_md, const char *to_md, int mode,
                     int hours_minutes) {
    return run(year, from_md, to_md, mode, false, hours_minutes);
}

int statalk_total(void) {
    return state.total;
}

void statalk_range(char *from, char *to) {
    text_copy_max(from, state.from, DATE_TEXT);
    text_copy_max(to, state.to, DATE_TEXT);
}

int statalk_hours_minutes(void) {
    return state.hours_minutes;
}

// "%-16.15s%s h%s %%": name, time in 7 characters, share in 7 characters.
static void list_line(char *out, const char *name, int minutes, int total, int hours_minutes) {
    char time[REPORT_FIELD + 1], share[REPORT_FIELD + 1];
    report_duration(time, minutes, 7, hours_minutes);
    report_share(share, minutes, total, 7);
    snprintf(out, STAT_LINE + 1, "%-16.15s%s h%s %%", name, time, share);
}

// The list's order: names compared without regard to case as the list pads them (to 16
// characters with blanks), then byte-wise, then by kind.
static int compare_listed(const void *earlier, const void *later) {
    const einpos *a = *(const einpos *const *)earlier, *b = *(const einpos *const *)later;
    const char *pa = a->name, *pb = b->name;
    for (int i = 0; i <= REPORT_NAME; i++) {
        int ca = *pa ? text_upper_char((unsigned char)*pa++) : ' ';
        int cb = *pb ? text_upper_char((unsigned char)*pb++) : ' ';
        if (ca != cb) return ca - cb;
    }
    int order = strcmp(a->name, b->name);
    return order != 0 ? order : a->kind - b->kind;
}

void statalk_listed(stat_group_fn take, void *context) {
    const stat_state *s = &state;
    if (s->total <= 0) return;
    take("", s->total, context);
    const einpos *order[STASUP];
    for (int i = 0; i < s->count; i++) order[i] = &s->einlis[i];
    sort(order, s->count, sizeof order[0], compare_listed);
    for (int i = 0; i < s->count; i++) take(order[i]->name, order[i]->minutes, context);
}

struct list_sink {
    report_line_fn add;
    void *context;
};

static void add_list_line(const char *name, int minutes, void *context) {
    const list_sink *sink = (const list_sink *)context;
    char line[STAT_LINE + 1];
    list_line(line, name, minutes, state.total, state.hours_minutes);
    sink->add(line, sink->context);
}

void statalk_list(report_line_fn add, void *context) {
    list_sink sink = {add, context};
    statalk_listed(add_list_line, &sink);
}

static int compare_kind_name(const void *earlier, const void *later) {
    const einpos *a = (const einpos *)earlier, *b = (const einpos *)later;
    if (a->kind != b->kind) return a->kind < b->kind ? -1 : 1;
    return strcmp(a->name, b->name);
}

// Sorts einlis by kind, then by name byte-wise, and files the entries anew in the index; the
// projects' levels are found again when needed.
static void sort_groups(stat_state *s) {
    sort(s->einlis, s->count, sizeof(einpos), compare_kind_name);
    memset(s->named_date, 0, sizeof s->named_date);
    s->known_count = 0;
    group_index_clear(&s->known_index);
    group_index_clear(&s->index);
    for (int i = 0; i < s->count; i++) {
        group_key key = {s->einlis[i].kind, s->einlis[i].name};
        int free_slot = -1;
        group_index_find(&s->index, group_index_hash(key.kind, key.name), same_group, &key,
                         s->einlis, &free_slot);
        group_index_put(&s->index, free_slot, i);
    }
}

// "name\ttime\tshare\r\n" per group in einlis order, then "\ttotal\t100,0\r\n".
static void copy_table(stat_state *s, report_text *out) {
    char line[STAT_LINE + 1], time[REPORT_FIELD + 1], share[REPORT_FIELD + 1];
    for (int i = 0; i <= s->count; i++) {
        bool total = i == s->count;
        int minutes = total ? s->total : s->einlis[i].minutes;
        report_duration(time, minutes, 0, s->hours_minutes);
        report_share(share, minutes, s->total, 0);
        snprintf(line, sizeof line, "%s\t%s\t%s", total ? "" : s->einlis[i].name, time, share);
        report_text_line(out, line);
    }
}

char *statalk_copy(int table) {
    stat_state *s = &state;
    if (s->total < 1 || !s->einlis) return nullptr;
    sort_groups(s);
    report_text out;
    report_text_begin(&out, "statalk");
    if (table)
        copy_table(s, &out);
    else
        statalk_list(report_text_line_fn, &out);
    return report_text_take(&out);
}

int statalk_detail_prefix(int selected, const char *line, char *prefix) {
    if (state.mode != STAT_PROJECT || selected < 1) return -1;
    report_detail_prefix(prefix, line);
    return 0;
}

int statalk_export_check(void) {
    if (text_is_blank(ExportDir)) return EXPORT_OFF;
    if (strcmp(Person, "---") == 0) return EXPORT_OFF;
    if (text_is_blank(Person) || strchr(Person, '?')) {
        msg_warn("%s", text(TXT_NO_EXPORT_ID));
        return EXPORT_REFUSED;
    }
    return EXPORT_GO;
}

void statalk_export_path(char *out, size_t size, const char *year) {
    snprintf(out, size, "%s%s%s.txt", ExportDir, year, Person);
}

// Hours as printf's "%8.1f" lays them out (decimal point, no thousands separators, right-aligned
// in 8, never cut), rounded half away from zero as every number text of the program.
static void export_hours(char *out, int minutes) {
    char digits[NUMBER_TEXT_MAX + 1];
    number_text(digits, minutes / 60.0, 0, 1);
    char *kept = digits;
    for (const char *p = digits; *p; p++)
        if (*p != '.') *kept++ = *p == ',' ? '.' : *p;
    *kept = 0;
    snprintf(out, REPORT_FIELD + 1, "%8s", digits);
}

// "%-6s%-6s%8.1f  %c %s\r\n" with year, person, hours, kind letter and name.
static void export_line(report_text *out, const char *year, int minutes, char letter,
                        const char *name) {
    char hours[REPORT_FIELD + 1], line[STAT_LINE + 1];
    export_hours(hours, minutes);
    snprintf(line, sizeof line, "%-6s%-6s%s  %c %s", year, Person, hours, letter, name);
    report_text_line(out, line);
}

static int write_export(const char *path, const report_text *content) {
    bfile file;
    if (bfile_replace_begin(&file, path) < 0) return -1;
    int written = bfile_write(&file, content->text, (long)content->length);
    return bfile_replace_commit(&file, path, written);
}

int statalk_export(const char *year, const char *from_md, const char *to_md, char *path,
                   size_t size) {
    char year_text[DATE_TEXT + 1];
    text_copy_max(year_text, year, DATE_TEXT);
    int walked = run(year_text, from_md, to_md, STAT_PROJECT, true, 0);
    stat_state *s = &state;
    statalk_export_path(path, size, year_text);
    if (s->total < 1) return walked < 0 ? -1 : 0;
    sort_groups(s);
    report_text out;
    report_text_begin(&out, "statalk");
    static const char letters[] = {'T', 'M', 'W'};
    export_line(&out, year_text, s->total, 'S', "");
    for (int i = 0; i < s->count; i++)
        export_line(&out, year_text, s->einlis[i].minutes, letters[s->einlis[i].kind],
                    s->einlis[i].name);
    int result = write_export(path, &out);
    ffree(report_text_take(&out));
    if (result != 0) {
        msg_warn(text(TXT_CANNOT_WRITE_EXPORT), path);
        return -1;
    }
    return 1;
}
