// Reading the project file and building the main window's list from it.
#include "timerec/projects.h"
#include "frame/bfile.h"
#include "frame/files.h"
#include "frame/memory.h"
#include "frame/messages.h"
#include "frame/path.h"
#include "frame/platform.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include "timerec/directories.h"
#include "timerec/journal.h"
#include <stdio.h>
#include <string.h>

enum { FIRST_CAPACITY = 64 };

static const char PAUSE_ENTRY[] = "---";

void project_list_clear(project_list *list) {
    ffree(list->lines);
    list->lines = nullptr;
    list->count = list->capacity = 0;
}

static int grow(project_list *list) {
    int capacity = list->capacity ? list->capacity * 2 : FIRST_CAPACITY;
    project_line *lines = (project_line *)fmalloc((size_t)capacity, sizeof(project_line));
    if (!lines) return -1;
    if (list->count) memcpy(lines, list->lines, (size_t)list->count * sizeof(project_line));
    ffree(list->lines);
    list->lines = lines;
    list->capacity = capacity;
    return 0;
}

int project_list_insert(project_list *list, int index, const char *text, bool comment) {
    if (list->count == list->capacity && grow(list) != 0) return -1;
    if (index < 0) index = 0;
    if (index > list->count) index = list->count;
    project_line *at = &list->lines[index];
    memmove(at + 1, at, (size_t)(list->count - index) * sizeof(project_line));
    text_copy_max(at->text, text, PROJECT_LINE);
    at->comment = comment;
    list->count++;
    return 0;
}

void project_list_remove(project_list *list, int index) {
    if (index < 0 || index >= list->count) return;
    project_line *at = &list->lines[index];
    memmove(at, at + 1, (size_t)(list->count - index - 1) * sizeof(project_line));
    list->count--;
}

void projects_path(char *out, size_t size) {
    snprintf(out, size, "%sProjekte.txt", CommonDir);
}

void projects_template_path(char *out, size_t size) {
    char folder[PATH_MAX_TEXT + 1];
    directories_program_folder(folder, sizeof folder);
    snprintf(out, size, "%sMuster.txt", folder);
}

int projects_read(project_list *list, const char *path) {
    list->count = 0;
    bfile file;
    if (bfile_open(&file, path) < 0) return -1;
    char line[PROJECT_LINE + 1];
    int result = 0;
    while (result == 0 && bfile_read_line(&file, line, PROJECT_LINE) >= 0) {
        text_expand_tabs(line, sizeof line);
        text_trim_right(line);
        result = project_list_insert(list, list->count, line, line[0] == ';');
    }
    bfile_close(&file);
    return result;
}

bool projects_is_entry(const project_line *line) {
    return !line->comment && line->text[0] != 0 && line->text[0] != ' ';
}

void projects_split(const char *line, char *id, char *description) {
    text_copy_max(id, line, PROJECT_ID_COLUMNS);
    text_trim(id);
    size_t length = strlen(line);
    text_copy_max(description, length > PROJECT_ID_COLUMNS ? line + PROJECT_ID_COLUMNS : "",
                  PROJECT_FIELD);
    text_trim(description);
}

int projects_fill_main_list(project_list *out, const char *template_path) {
    char last[JOURNAL_PROJECT + 1];
    journal_last_project(last);
    char *blank = strchr(last, ' ');
    if (blank) *blank = 0;
    size_t last_length = strlen(last);

    out->count = 0;
    project_list_insert(out, 0, PAUSE_ENTRY, false);
    char path[PATH_MAX_TEXT + 1];
    projects_path(path, sizeof path);
    if (platform_path_kind(path) == 0) file_copy(template_path, path);
    project_list file = {};
    if (projects_read(&file, path) != 0 && file.count == 0) {
        status_show(text(TXT_PROJECTS_NOT_FOUND), path);
        project_list_clear(&file);
        return -1;
    }
    int on_top = 0;
    for (int i = 0; i < file.count; i++) {
        const project_line *line = &file.lines[i];
        if (line->comment) continue;
        project_list_insert(out, out->count, line->text, false);
        if (last_length > 0 && strncmp(line->text, last, last_length) == 0)
            project_list_insert(out, on_top++, line->text, false);
    }
    project_list_clear(&file);
    return 0;
}
