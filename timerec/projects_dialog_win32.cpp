// The project dialog "DB1150": the project file's entries in file order, edited through the
// identifier and description fields; the list line follows every keystroke.
#include "frame/dialog.h"
#include "frame/dialog_edit.h"
#include "frame/messages.h"
#include "frame/msgbox.h"
#include "frame/path.h"
#include "frame/texts.h"
#include "resources/kx_ids.h"
#include "resources/text_ids.h"
#include "timerec/main_window.h"
#include "timerec/project_edit.h"
#include "timerec/setup_dialogs.h"
#include <stdio.h>

static project_editor editor;

static void show_selected(void) {
    char id[PROJECT_FIELD + 1], description[PROJECT_FIELD + 1];
    if (project_edit_show(&editor, id, description) != 0) return;
    dlg_set_text(ID_PROJ_ID, id);
    dlg_set_text(ID_PROJ_DESCRIPTION, description);
}

static void select_and_show(void) {
    dlg_list_select(ID_PROJ_LIST, editor.selected);
    show_selected();
}

// The list shows the editor's entries afresh (after loading the file).
static void fill_list(void) {
    dlg_list_reset(ID_PROJ_LIST);
    for (int i = 0; i < project_edit_count(&editor); i++)
        dlg_list_add(ID_PROJ_LIST, project_edit_entry(&editor, i));
    select_and_show();
}

static void load(void) {
    project_edit_load(&editor);
    fill_list();
}

static void on_list_event(void) {
    project_edit_select(&editor, dlg_list_current(ID_PROJ_LIST));
    show_selected();
}

// Typing in a field: the selected line is replaced in place, without flicker.
static void on_field_change(void) {
    if (editor.selected < 0) return;
    char id[PROJECT_FIELD + 1], description[PROJECT_FIELD + 1];
    dlg_get_text(ID_PROJ_ID, id, sizeof id);
    dlg_get_text(ID_PROJ_DESCRIPTION, description, sizeof description);
    project_edit_update(&editor, id, description);
    int position = editor.selected;
    dlg_list_redraw(ID_PROJ_LIST, 0);
    dlg_list_insert(ID_PROJ_LIST, position, project_edit_entry(&editor, position));
    dlg_list_delete(ID_PROJ_LIST, position + 1);
    dlg_list_redraw(ID_PROJ_LIST, 1);
    dlg_list_select(ID_PROJ_LIST, position);
}

static void on_new(void) {
    int position = editor.selected;
    project_edit_insert(&editor);
    dlg_list_insert(ID_PROJ_LIST, position, "");
    select_and_show();
}

static void on_delete(void) {
    if (editor.selected < 0) return;
    dlg_list_delete(ID_PROJ_LIST, editor.selected);
    project_edit_delete(&editor);
    select_and_show();
}

// A file that someone else saved since the dialog read it is overwritten only when the user says
// so (No is the default); otherwise the dialog shows that file instead of the typed changes.
static void save(void) {
    if (project_edit_changed_since_read(&editor)) {
        char path[PATH_MAX_TEXT + 1], question[MSG_TEXT_MAX + 1];
        projects_path(path, sizeof path);
        snprintf(question, sizeof question, text(TXT_PROJECTS_CHANGED_MEANWHILE), path);
        if (!ask_yes_no(question, 1)) {
            load();
            return;
        }
    }
    project_edit_save(&editor);
}

static void open_in_editor(void) {
    dialog_close_current();
    main_post_command(CMD_EDIT_PROJECTS);
}

static void projects_on_open(void) {
    dlg_set_text(ID_PROJ_ID, "");
    dlg_set_text(ID_PROJ_DESCRIPTION, "");
    project_edit_open(&editor);
    fill_list();
}

static bool modified(void) {
    return editor.modified;
}

// A save the user called off (No to overwriting someone else's file) reloaded that file, which
// leaves nothing unsaved either.
static int save_edits(void) {
    save();
    return editor.modified ? -1 : 0;
}

static void let_go(void) {
    editor.modified = false;
}

static const dialog_edits edits = {modified, save_edits, let_go};

static void projects_on_close(void) {
    dialog_edits_on_close(&edits);
    if (editor.saved) main_projects_changed();
    project_edit_close(&editor);
}

static int projects_handler(UINT message, WPARAM wparam, LPARAM lparam) {
    int answer;
    if (dialog_edits_message(&edits, message, wparam, &answer)) return answer;
    if (message != WM_COMMAND) return 0;
    if (is_list_event(ID_PROJ_LIST, wparam)) {
        on_list_event();
        return 0;
    }
    if (is_change(ID_PROJ_ID, wparam, 1) || is_change(ID_PROJ_DESCRIPTION, wparam, 1)) {
        on_field_change();
        return 0;
    }
    switch (LOWORD(wparam)) {
    case ID_PROJ_NEW:
        on_new();
        break;
    case ID_PROJ_DELETE:
        on_delete();
        break;
    case ID_PROJ_SAVE:
        save();
        break;
    case ID_PROJ_DISCARD:
        load();
        break;
    case ID_PROJ_EDITOR:
        open_in_editor();
        break;
    }
    return 0;
}

void projects_open_dialog(void) {
    dialog_open(DLG_PROJECTS, projects_on_open, projects_on_close, projects_handler);
}
