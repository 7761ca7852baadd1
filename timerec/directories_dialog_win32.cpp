// The directory settings dialog "DB1200": work, common and export folder and the person
// identifier; saving switches the running program over to the new folders at once.
#include "frame/desktop.h"
#include "frame/dialog.h"
#include "frame/dialog_edit.h"
#include "frame/path.h"
#include "frame/texts.h"
#include "resources/kx_ids.h"
#include "resources/text_ids.h"
#include "timerec/directories_edit.h"
#include "timerec/journal.h"
#include "timerec/main_window.h"
#include "timerec/setup_dialogs.h"

// A folder field with its browse button and the file dialog's title and filter.
struct folder_field {
    int field;
    int button;
    int title;
    int filter;
};

static const folder_field folder_fields[] = {
    {ID_DIR_WORK, ID_DIR_WORK_BROWSE, TXT_DIR_JOURNAL_TITLE, TXT_DIR_JOURNAL_FILTER},
    {ID_DIR_COMMON, ID_DIR_COMMON_BROWSE, TXT_DIR_PROJECTS_TITLE, TXT_DIR_PROJECTS_FILTER},
    {ID_DIR_EXPORT, ID_DIR_EXPORT_BROWSE, TXT_DIR_EXPORT_TITLE, TXT_DIR_EXPORT_FILTER},
};

static void show_present(void) {
    directory_fields fields;
    directories_edit_present(&fields);
    dlg_set_text(ID_DIR_WORK, fields.work);
    dlg_set_text(ID_DIR_COMMON, fields.common);
    dlg_set_text(ID_DIR_EXPORT, fields.export_dir);
    dlg_set_text(ID_DIR_PERSON, fields.person);
}

static void read_fields(directory_fields *fields) {
    dlg_get_text(ID_DIR_WORK, fields->work, sizeof fields->work);
    dlg_get_text(ID_DIR_COMMON, fields->common, sizeof fields->common);
    dlg_get_text(ID_DIR_EXPORT, fields->export_dir, sizeof fields->export_dir);
    dlg_get_text(ID_DIR_PERSON, fields->person, sizeof fields->person);
}

// Stores the fields and reads journal, main list and strip from the new folders; 0, or -1 when
// the settings file could not be written (the warning has been shown).
static int save(void) {
    directory_fields fields;
    read_fields(&fields);
    if (directories_edit_save(&fields) != 0) return -1;
    journal_forget_file();
    main_fill_list();
    main_show_last_booking();
    return 0;
}

static void on_discard(void) {
    show_present();
    dialog_close_current();
}

// The user picks any file in the wanted folder; its folder goes into the field. The file
// selection belongs to the main window, so the keyboard is given back to the field afterwards.
static void browse(const folder_field *folder) {
    char path[FILE_DIALOG_PATH + 1], chosen[PATH_MAX_TEXT + 1];
    dlg_get_text(folder->field, path, DIRECTORY_FIELD + 1);
    if (file_dialog(path, text(folder->title), text(folder->filter), FILE_DIALOG_OPEN)) {
        path_dir(chosen, sizeof chosen, path);
        chosen[DIRECTORY_FIELD] = 0;
        dlg_set_text(folder->field, chosen);
    }
    SetFocus(GetDlgItem(dialog_window(), folder->field));
}

static void on_browse(int button) {
    for (const folder_field &folder : folder_fields)
        if (folder.button == button) browse(&folder);
}

static bool fields_changed(void) {
    directory_fields fields;
    read_fields(&fields);
    return directories_edit_changed(&fields) != 0;
}

// "No" to saving puts the present values back.
static const dialog_edits edits = {fields_changed, save, show_present};

static void directories_on_close(void) {
    dialog_edits_on_close(&edits);
}

static int directories_handler(UINT message, WPARAM wparam, LPARAM lparam) {
    int answer;
    if (dialog_edits_message(&edits, message, wparam, &answer)) return answer;
    if (message != WM_COMMAND) return 0;
    switch (LOWORD(wparam)) {
    case ID_DIR_SAVE:
        dialog_edits_save_and_close(&edits);
        break;
    case ID_DIR_DISCARD:
        on_discard();
        break;
    case ID_DIR_WORK_BROWSE:
    case ID_DIR_COMMON_BROWSE:
    case ID_DIR_EXPORT_BROWSE:
        on_browse(LOWORD(wparam));
        break;
    }
    return 0;
}

void directories_open_dialog(void) {
    dialog_open(DLG_DIRECTORIES, show_present, directories_on_close, directories_handler);
}
