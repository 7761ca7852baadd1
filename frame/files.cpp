// File operations built on the raw handles: exists, size, copy with time stamp, directory paths.
#include "frame/files.h"
#include "frame/memory.h"
#include "frame/path.h"
#include "frame/platform.h"
#include "frame/messages.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include <stdio.h>
#include <string.h>

int file_exists(const char *name) {
    int handle = file_open(name, FILE_READ_WRITE);
    if (handle < 0) return 0;
    file_close(handle);
    return 1;
}

int64_t file_size(const char *name) {
    int handle = file_open(name, FILE_READ);
    if (handle < 0) return -1;
    int64_t size = file_seek(handle, 0, FILE_FROM_END);
    file_close(handle);
    return size;
}

enum { COPY_LARGE = 16384, COPY_MEDIUM = 8192, COPY_SMALL = 512 };

// Copies the whole content; 0, or -1 on a read or write error.
static int copy_content(int from, int to) {
    char small[COPY_SMALL];
    long size = COPY_LARGE;
    char *area = (char *)fmalloc(1, (size_t)size);
    if (!area) area = (char *)fmalloc(1, (size_t)(size = COPY_MEDIUM));
    char *buffer = area ? area : small;
    if (!area) size = COPY_SMALL;
    int result = 0;
    for (;;) {
        long got = file_read(from, buffer, size);
        if (got < 0 || (got > 0 && file_write(to, buffer, got) != got)) {
            result = -1;
            break;
        }
        if (got < size) break;
    }
    ffree(area);
    return result;
}

void file_temporary_name(char *out, const char *name) {
    snprintf(out, FILE_TEMPORARY_PATH, "%s.new", name);
}

int file_replaceable(const char *name) {
    int kind = platform_path_kind(name);
    if (kind == PATH_DIRECTORY || kind == PATH_OTHER) status_show(text(TXT_NOT_A_FILE), name);
    bool writable = kind == PATH_FILE && platform_file_writable(name);
    if (kind == PATH_FILE && !writable) status_show(text(TXT_READ_ONLY_FILE), name);
    return kind == PATH_NONE || writable;
}

int file_replace_start(const char *name, const char *like) {
    char temporary[FILE_TEMPORARY_PATH];
    file_temporary_name(temporary, name);
    file_delete(temporary);
    return file_create_new(temporary, like);
}

int file_replace_end(const char *name, int result) {
    char temporary[FILE_TEMPORARY_PATH];
    file_temporary_name(temporary, name);
    if (result == 0) result = platform_file_replace(temporary, name);
    if (result != 0) file_delete(temporary);
    return result;
}

// The copy goes to a temporary file made new beside the target, which replaces the target in one
// step once it is whole, with the source's time stamp and attributes; a failed copy leaves the
// target as it was. (No lock: its companion file would lie in the handheld's install folder.)
int file_copy(const char *source, const char *target) {
    if (!file_replaceable(target)) return -1;
    int from = file_open(source, FILE_READ);
    if (from < 0) return -1;
    int to = file_replace_start(target, source);
    if (to < 0) {
        file_close(from);
        return -1;
    }
    int result = copy_content(from, to);
    file_close(from);
    if (platform_file_sync(to) != 0) result = -1;
    if (file_close(to) != 0) result = -1;
    if (result == 0) {
        char temporary[FILE_TEMPORARY_PATH];
        file_temporary_name(temporary, target);
        filetime_rec time;
        if (file_time_get(source, &time) == 0 && time.year != 0) file_time_set(temporary, &time);
        long attributes = platform_file_attributes(source);
        if (attributes >= 0) platform_set_file_attributes(temporary, attributes);
    }
    return file_replace_end(target, result);
}

// Puts the path to create into full: absolute as given, else below the current directory;
// blanks around it removed and every separator made the first one that occurs.
static int full_path(char *full, size_t size, const char *path) {
    char given[PATH_MAX_TEXT + 1];
    text_copy_max(given, path, PATH_MAX_TEXT);
    text_trim(given);
    int absolute = path_is_separator(given[0]) || (given[0] && given[1] == ':');
    full[0] = 0;
    if (!absolute) {
        if (current_dir(full, size) != 0) return -1;
        path_add_separator(full, size);
    }
    size_t used = strlen(full);
    if (used + strlen(given) >= size) return -1;
    memcpy(full + used, given, strlen(given) + 1);
    path_unify(full);
    return 0;
}

// Where the walk starts: after a drive ("X:" and its separator), a network share
// ("\\server\share\") or a root separator. Reports whether the path starts at a drive.
static int first_component(const char *full, int *drive) {
    *drive = full[0] && full[1] == ':';
    if (*drive) return path_is_separator(full[2]) ? 3 : 2;
    if (path_is_separator(full[0]) && path_is_separator(full[1])) {
        int at = 2, parts = 0;
        while (full[at] && parts < 2)
            if (path_is_separator(full[at++])) parts++;
        return at;
    }
    return path_is_separator(full[0]) ? 1 : 0;
}

int make_path(const char *path) {
    char full[PATH_MAX_TEXT + 1];
    if (full_path(full, sizeof full, path) != 0) return 2;
    int drive;
    int at = first_component(full, &drive);
    if (drive) {
        char root[4] = {full[0], ':', path_is_separator(full[2]) ? full[2] : '\\', 0};
        if (platform_path_kind(root) != 2) return 1;
    }
    while (full[at]) {
        while (full[at] && !path_is_separator(full[at])) at++;
        char keep = full[at];
        full[at] = 0;
        int result = 0;
        if (platform_path_kind(full) != 2) {
            // Another process may have made it meanwhile: only a directory that is still missing
            // fails.
            if (make_dir(full) != 0 && platform_path_kind(full) != 2)
                result = 2;
            else if (platform_path_kind(full) != 2)
                result = 3;
        }
        full[at] = keep;
        if (result != 0) return result;
        while (path_is_separator(full[at])) at++;
    }
    return 0;
}
