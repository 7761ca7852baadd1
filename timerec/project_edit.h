// The editing rules of the project dialog, on the lines of the project file: the entries the
// dialog lists (every line but the comments), the selected one, showing it in the identifier
// and description fields, changing, inserting, deleting, loading and saving.
#pragma once
#include "frame/dates.h"
#include "timerec/projects.h"
#include <stdint.h>

// What the project file looked like when the dialog last read or wrote it: its size (-1 when
// there was no file) and modification time.
struct project_file_stamp {
    int64_t size;
    filetime_rec time;
};

struct project_editor {
    project_list file;        // every line of the file, comments included
    int selected;             // shown position, -1 for none
    bool modified;            // an entry was changed by typing since the last load or save
    bool saved;               // the file was written since the dialog opened
    bool unread;              // the file is there but could not be read at the last load
    project_file_stamp stamp; // the file as the last load or save left it
};

// Loads the project file for a dialog that opens: clears both flags.
void project_edit_open(project_editor *editor);
void project_edit_close(project_editor *editor);
// Loads the project file again (also "&Verwerfen"): an empty list when it cannot be read; clears
// the modified flag and selects position 0.
void project_edit_load(project_editor *editor);

// The lines the dialog lists (comments are kept aside, in place, and never shown).
int project_edit_count(const project_editor *editor);
const char *project_edit_entry(const project_editor *editor, int position);
void project_edit_select(project_editor *editor, int position);

// The selected entry's identifier and description into the fields (PROJECT_FIELD + 1 bytes each);
// -1, fields untouched, when nothing is selected.
int project_edit_show(const project_editor *editor, char *id, char *description);
// Typing in a field: the selected entry becomes "%-15.15s %s" of the two fields (each taken up to
// 80 characters) and the modified flag is set; nothing when nothing is selected.
void project_edit_update(project_editor *editor, const char *id, const char *description);
// "&Anlegen": an empty entry before the selected one, which stays selected (at the end, and
// nothing selected, when nothing was).
void project_edit_insert(project_editor *editor);
// "&Löschen": deletes the selected entry and selects the one now at its place, or the new last.
void project_edit_delete(project_editor *editor);
// 1 when the project file's size or modification time (or whether it exists) is no longer what
// the last load or save found: someone else changed the shared file meanwhile.
int project_edit_changed_since_read(const project_editor *editor);
// "&Speichern": writes every line (the comments where they stood) with CR LF through a temporary
// file that replaces the project file; clears the modified flag and sets the saved flag. -1 with
// warning 28 and nothing changed when it cannot be written, or when a project file is there that
// the last load could not read (so a list that never held it cannot replace it).
int project_edit_save(project_editor *editor);
