// The rules of the directory settings dialog on the present folders and person identifier.
#include "timerec/directories_edit.h"
#include "frame/messages.h"
#include "frame/path.h"
#include "frame/settings.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include <stdio.h>
#include <string.h>

void directories_edit_present(directory_fields *fields) {
    text_copy_max(fields->work, WorkDir, DIRECTORY_FIELD);
    text_copy_max(fields->common, CommonDir, DIRECTORY_FIELD);
    text_copy_max(fields->export_dir, ExportDir, DIRECTORY_FIELD);
    text_copy_max(fields->person, Person, DIRECTORY_FIELD);
}

void directories_edit_folder(char *out, const char *field, const char *present) {
    char folder[DIRECTORY_FIELD + 1];
    text_copy_max(folder, field, DIRECTORY_FIELD);
    text_trim(folder);
    size_t length = strlen(folder);
    if (length < 2) {
        text_copy_max(out, present, DIRECTORY_MAX);
        return;
    }
    snprintf(out, DIRECTORY_MAX + 1, "%s%s", folder,
             path_is_separator(folder[length - 1]) ? "" : "/");
}

void directories_edit_person(char *out, const char *field) {
    text_copy_max(out, field, PERSON_FIELD);
    text_trim(out);
}

static int folder_changed(const char *field, const char *present) {
    char stored[DIRECTORY_MAX + 1];
    directories_edit_folder(stored, field, present);
    return strcmp(field, present) != 0 && strcmp(stored, present) != 0;
}

int directories_edit_changed(const directory_fields *fields) {
    char person[PERSON_MAX + 1];
    directories_edit_person(person, fields->person);
    return folder_changed(fields->work, WorkDir) || folder_changed(fields->common, CommonDir) ||
           folder_changed(fields->export_dir, ExportDir) ||
           (strcmp(fields->person, Person) != 0 && strcmp(person, Person) != 0);
}

int directories_edit_save(const directory_fields *fields) {
    char work[DIRECTORY_MAX + 1], common[DIRECTORY_MAX + 1], export_dir[DIRECTORY_MAX + 1];
    char person[PERSON_MAX + 1];
    directories_edit_folder(work, fields->work, WorkDir);
    directories_edit_folder(common, fields->common, CommonDir);
    directories_edit_folder(export_dir, fields->export_dir, ExportDir);
    directories_edit_person(person, fields->person);
    // Every key is tried, so one failure does not keep the others from the file.
    int failed = 0;
    failed |= settings_store(SETTINGS_SECTION, "WorkDir", work);
    failed |= settings_store(SETTINGS_SECTION, "CommonDir", common);
    failed |= settings_store(SETTINGS_SECTION, "ExportDir", export_dir);
    failed |= settings_store(SETTINGS_SECTION, "Person", person);
    if (failed) {
        msg_warn(text(TXT_CANNOT_WRITE_SETTINGS), settings_file());
        return -1;
    }
    text_copy_max(WorkDir, work, DIRECTORY_MAX);
    text_copy_max(CommonDir, common, DIRECTORY_MAX);
    text_copy_max(ExportDir, export_dir, DIRECTORY_MAX);
    text_copy_max(Person, person, PERSON_MAX);
    return 0;
}
