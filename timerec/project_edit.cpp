// The project dialog's editing rules on the project file's lines. The dialog lists every line but
// the comments; the comments stay in the list, in place, so a save writes them back.
#include "timerec/project_edit.h"
#include "frame/bfile.h"
#include "frame/files.h"
#include "frame/messages.h"
#include "frame/path.h"
#include "frame/platform.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include <stdio.h>
#include <string.h>

// The index in the file's lines of the shown position, or the line count when there is none.
static int file_index(const project_editor *editor, int position) {
    const project_list *file = &editor->file;
    for (int i = 0; i < file->count; i++)
        if (!file->lines[i].comment && position-- == 0) return i;
    return file->count;
}

int project_edit_count(const project_editor *editor) {
    int count = 0;
    for (int i = 0; i < editor->file.count; i++)
        if (!editor->file.lines[i].comment) count++;
    return count;
}

const char *project_edit_entry(const project_editor *editor, int position) {
    int index = position < 0 ? editor->file.count : file_index(editor, position);
    return index < editor->file.count ? editor->file.lines[index].text : "";
}

void project_edit_select(project_editor *editor, int position) {
    editor->selected = position >= 0 && position < project_edit_count(editor) ? position : -1;
}

static void take_stamp(project_file_stamp *stamp, const char *path) {
    *stamp = {};
    stamp->size = platform_path_kind(path) == PATH_FILE ? file_size(path) : -1;
    if (stamp->size >= 0 && file_time_get(path, &stamp->time) != 0) stamp->time = {};
}

int project_edit_changed_since_read(const project_editor *editor) {
    char path[PATH_MAX_TEXT + 1];
    projects_path(path, sizeof path);
    project_file_stamp now;
    take_stamp(&now, path);
    return now.size != editor->stamp.size ||
           memcmp(&now.time, &editor->stamp.time, sizeof now.time) != 0;
}

void project_edit_load(project_editor *editor) {
    char path[PATH_MAX_TEXT + 1];
    projects_path(path, sizeof path);
    take_stamp(&editor->stamp, path);
    editor->unread = projects_read(&editor->file, path) != 0 && platform_path_kind(path) != 0;
    if (editor->unread) editor->file.count = 0;
    editor->modified = false;
    project_edit_select(editor, 0);
}

void project_edit_open(project_editor *editor) {
    *editor = {};
    project_edit_load(editor);
    editor->saved = false;
}

void project_edit_close(project_editor *editor) {
    project_list_clear(&editor->file);
    editor->selected = -1;
}

int project_edit_show(const project_editor *editor, char *id, char *description) {
    if (editor->selected < 0) return -1;
    projects_split(project_edit_entry(editor, editor->selected), id, description);
    return 0;
}

void project_edit_update(project_editor *editor, const char *id, const char *description) {
    if (editor->selected < 0) return;
    char fields[2][PROJECT_FIELD + 1], line[PROJECT_LINE + 1];
    text_copy_max(fields[0], id, PROJECT_FIELD);
    text_copy_max(fields[1], description, PROJECT_FIELD);
    snprintf(line, sizeof line, "%-15.15s %s", fields[0], fields[1]);
    int index = file_index(editor, editor->selected);
    text_copy_max(editor->file.lines[index].text, line, PROJECT_LINE);
    editor->modified = true;
}

void project_edit_insert(project_editor *editor) {
    int index = file_index(editor, editor->selected);
    if (project_list_insert(&editor->file, index, "", false) != 0) return;
    project_edit_select(editor, editor->selected);
}

void project_edit_delete(project_editor *editor) {
    if (editor->selected < 0) return;
    project_list_remove(&editor->file, file_index(editor, editor->selected));
    int count = project_edit_count(editor);
    project_edit_select(editor, editor->selected < count ? editor->selected : count - 1);
}

int project_edit_save(project_editor *editor) {
    char path[PATH_MAX_TEXT + 1];
    projects_path(path, sizeof path);
    bfile file;
    int written = -1;
    bool unread = editor->unread && platform_path_kind(path) != 0;
    if (!unread && bfile_replace_begin(&file, path) >= 0) {
        written = 0;
        for (int i = 0; i < editor->file.count; i++)
            written |= bfile_write_line_ending(&file, editor->file.lines[i].text, 1);
        written = bfile_replace_commit(&file, path, written);
    }
    if (written != 0) {
        msg_warn(text(TXT_CANNOT_WRITE_PROJECTS), path);
        return -1;
    }
    take_stamp(&editor->stamp, path);
    editor->modified = false;
    editor->saved = true;
    return 0;
}
