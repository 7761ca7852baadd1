// The notification-area icon's tooltip and menu entries.
#include "timerec/tray.h"
#include "frame/messages.h"
#include "frame/path.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include "timerec/report.h"
#include <stdio.h>
#include <string.h>

static void add_minutes(const char *date, const char *project, int minutes, void *context) {
    *(long *)context += minutes;
}

static void quiet(int kind, const char *text) {}

long tray_today_minutes(void) {
    char today[JOURNAL_DATE + 1];
    journal_today(today);
    long minutes = 0;
    message_sink status = messages_sink(MSG_STATUS);
    messages_set_sink(MSG_STATUS, quiet);
    journal_walk(today, today, today, add_minutes, &minutes);
    messages_set_sink(MSG_STATUS, status);
    return minutes;
}

void tray_tooltip(char *out, size_t size, const booking *last, long today_minutes) {
    char today[JOURNAL_DATE + 1], since[JOURNAL_DATE + JOURNAL_TIME + 2], worked[REPORT_FIELD + 1];
    journal_today(today);
    if (strcmp(last->date, today) == 0)
        snprintf(since, sizeof since, "%s", last->time);
    else
        snprintf(since, sizeof since, "%s %s", last->date, last->time);
    report_duration(worked, today_minutes, 0, 1);
    const char *running = last->project[0] == '-' ? text(TXT_TRAY_PAUSE) : last->project;
    snprintf(out, size, text(TXT_TRAY_TIP), running, since, worked);
}

// The entry of project: its identifier, then a tab and its description when it has one.
static void make_entry(tray_entry *entry, const char *project, const char *description) {
    text_copy_max(entry->project, project, JOURNAL_PROJECT);
    snprintf(entry->label, sizeof entry->label, "%s%s%s", project, description[0] ? "\t" : "",
             description);
}

// The description of project in the project list, or "".
static void description_of(char *out, const project_list *list, const char *project) {
    out[0] = 0;
    for (int i = 0; i < list->count; i++) {
        char id[PROJECT_FIELD + 1], description[PROJECT_FIELD + 1];
        if (!projects_is_entry(&list->lines[i])) continue;
        projects_split(list->lines[i].text, id, description);
        if (strcmp(id, project) != 0) continue;
        text_copy_max(out, description, PROJECT_FIELD);
        return;
    }
}

void tray_menu_entries(tray_menu *menu) {
    char recent[TRAY_RECENT][JOURNAL_PROJECT + 1];
    int count = journal_recent_projects(recent, TRAY_RECENT);
    char path[PATH_MAX_TEXT + 1], description[PROJECT_FIELD + 1];
    projects_path(path, sizeof path);
    project_list list = {};
    projects_read(&list, path);
    menu->count = 0;
    for (int i = 0; i < count; i++) {
        description_of(description, &list, recent[i]);
        make_entry(&menu->entries[menu->count++], recent[i], description);
    }
    project_list_clear(&list);
    // The pause's entry of the main list: "---" and its description after the blanks.
    text_copy_max(description, text(TXT_PAUSE_ENTRY) + 3, PROJECT_FIELD);
    text_trim(description);
    make_entry(&menu->entries[menu->count++], "---", description);
}
