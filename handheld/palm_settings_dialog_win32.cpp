// The handheld settings "Palmtop einstellen" (DB1201): the installation mode and where the Palm
// desktop keeps backups, install files, its install flag and installer; saving, discarding, and
// installing the handheld program.
#include "frame/desktop.h"
#include "frame/dialog.h"
#include "frame/dialog_edit.h"
#include "frame/messages.h"
#include "frame/path.h"
#include "frame/system.h"
#include "frame/texts.h"
#include "handheld/palm.h"
#include "handheld/palm_dialogs.h"
#include "handheld/palm_setup.h"
#include "resources/kx_ids.h"
#include "resources/text_ids.h"
#include <string.h>

static void read_fields(palm_setup *fields) {
    fields->mode = combo_current(ID_PALM_MODE);
    dlg_get_text(ID_PALM_BACKUP, fields->backup, sizeof fields->backup);
    dlg_get_text(ID_PALM_INSTALL, fields->install, sizeof fields->install);
    dlg_get_text(ID_PALM_REG_VALUE, fields->flag, sizeof fields->flag);
    dlg_get_text(ID_PALM_INSTALLER, fields->program, sizeof fields->program);
}

static void show_fields(const palm_setup *fields) {
    combo_select(ID_PALM_MODE, fields->mode);
    dlg_set_text(ID_PALM_BACKUP, fields->backup);
    dlg_set_text(ID_PALM_INSTALL, fields->install);
    dlg_set_text(ID_PALM_REG_VALUE, fields->flag);
    dlg_set_text(ID_PALM_INSTALLER, fields->program);
}

static void show_stored(void) {
    palm_setup stored;
    palm_setup_load(&stored);
    show_fields(&stored);
}

static int save_fields(void) {
    palm_setup fields;
    read_fields(&fields);
    return palm_setup_save(&fields);
}

static bool fields_changed(void) {
    palm_setup fields;
    read_fields(&fields);
    return palm_setup_changed(&fields) != 0;
}

// "No" to saving puts the stored values back.
static const dialog_edits edits = {fields_changed, save_fields, show_stored};

static void palm_settings_on_open(void) {
    static const int modes[] = {TXT_PALM_NOT_USED, TXT_PALM_FILES_ONLY, TXT_PALM_DESKTOP_3,
                                TXT_PALM_DESKTOP_4};
    combo_reset(ID_PALM_MODE);
    for (int mode : modes) combo_add(ID_PALM_MODE, text(mode));
    show_stored();
}

static void palm_settings_on_close(void) {
    dialog_edits_on_close(&edits);
}

// A mode that uses the handheld fills in where the Palm desktop keeps the last HotSync user's
// files.
static void mode_changed(void) {
    if (combo_current(ID_PALM_MODE) <= PALM_OFF) return;
    palm_setup fields;
    read_fields(&fields);
    char user[REG_TEXT_MAX + 1];
    reg_read_string(PALM_PREFERENCES_KEY, "LastUserName", user);
    palm_setup_defaults(&fields, user);
    show_fields(&fields);
}

static void choose_folder(int item, int title) {
    char folder[PATH_MAX_TEXT + 1], field[PALM_FIELD_MAX + 1];
    if (!browse_folder(folder, text(title))) return;
    palm_setup_folder(field, folder);
    dlg_set_text(item, field);
}

static void choose_installer(void) {
    char path[FILE_DIALOG_PATH + 1];
    dlg_get_text(ID_PALM_INSTALLER, path, sizeof path);
    if (file_dialog(path, text(TXT_PALM_INSTALLER_TITLE), text(TXT_PALM_INSTALLER_FILTER),
                    FILE_DIALOG_OPEN))
        dlg_set_text(ID_PALM_INSTALLER, path);
}

static void search_flag(void) {
    char flag[PALM_FIELD_MAX + 1];
    dlg_set_text(ID_PALM_REG_VALUE, "");
    if (palm_setup_find_flag(flag) < 0) msg_warn("%s", text(TXT_REGISTRY_NOT_FOUND));
    dlg_set_text(ID_PALM_REG_VALUE, flag);
}

static void discard_and_close(void) {
    show_stored();
    dialog_close_current();
}

static void install_program(void) {
    if (save_fields() == 0) palm_install(0, 0, 1);
}

static int palm_settings_handler(UINT message, WPARAM wparam, LPARAM) {
    int answer;
    if (dialog_edits_message(&edits, message, wparam, &answer)) return answer;
    if (message != WM_COMMAND) return 0;
    if (LOWORD(wparam) == ID_PALM_MODE) {
        if (HIWORD(wparam) == CBN_SELCHANGE) mode_changed();
        return 0;
    }
    if (HIWORD(wparam) != BN_CLICKED) return 0;
    switch (LOWORD(wparam)) {
    case ID_PALM_BACKUP_BROWSE:
        choose_folder(ID_PALM_BACKUP, TXT_DIR_PALM_BACKUP_TITLE);
        break;
    case ID_PALM_INSTALL_BROWSE:
        choose_folder(ID_PALM_INSTALL, TXT_DIR_PALM_INSTALL_TITLE);
        break;
    case ID_PALM_INSTALLER_BROWSE:
        choose_installer();
        break;
    case ID_PALM_REG_SEARCH:
        search_flag();
        break;
    case ID_PALM_SAVE:
        dialog_edits_save_and_close(&edits);
        break;
    case ID_PALM_DISCARD:
        discard_and_close();
        break;
    case ID_PALM_INSTALL_PROGRAM:
        install_program();
        break;
    default:
        return 0;
    }
    return 1;
}

void palm_settings_open(void) {
    dialog_open(DLG_PALM_SETTINGS, palm_settings_on_open, palm_settings_on_close,
                palm_settings_handler);
}
