// Settings values kept in a profile file by the program itself (the native build): read whole,
// changed in memory, written through a temporary file that replaces the old one.
#include "frame/bfile.h"
#include "frame/file_lock.h"
#include "frame/files.h"
#include "frame/memory.h"
#include "frame/platform.h"
#include "frame/profile.h"
#include "frame/settings.h"
#include <stdio.h>
#include <string.h>

// A settings file is small; a larger one is not one we should rewrite.
static const long SETTINGS_FILE_MAX = 1 << 20;

// The whole file into a new block (text, size); an absent file is empty. -1 when unreadable.
static int read_whole(const char *name, char **text, long *size) {
    *text = nullptr;
    *size = 0;
    if (platform_path_kind(name) == 0) return 0;
    int handle = file_open(name, FILE_READ);
    if (handle < 0) return -1;
    int64_t length = file_seek(handle, 0, FILE_FROM_END);
    int result =
        length < 0 || length > SETTINGS_FILE_MAX || file_seek(handle, 0, FILE_FROM_START) != 0 ? -1
                                                                                               : 0;
    if (result == 0) *text = (char *)fmalloc((size_t)length + 1, 1);
    if (result == 0 && !*text) result = -1;
    while (result == 0 && *size < length) {
        long got = file_read(handle, *text + *size, (long)(length - *size));
        if (got <= 0)
            result = -1;
        else
            *size += got;
    }
    file_close(handle);
    if (result != 0) {
        ffree(*text);
        *text = nullptr;
    }
    return result;
}

void settings_read(const char *section, const char *key, char *buffer) {
    buffer[0] = 0;
    char *text;
    long size;
    if (read_whole(settings_file(), &text, &size) != 0) return;
    if (text) profile_find(text, (size_t)size, section, key, buffer, SETTINGS_VALUE);
    ffree(text);
}

static int write_whole(const char *name, const char *text, long size) {
    bfile file;
    if (bfile_replace_begin(&file, name) < 0) return -1;
    return bfile_replace_commit(&file, name, bfile_write(&file, text, size));
}

// The settings text with key of section set to value, written back; 0, or -1.
static int write_changed(const char *name, const char *content, long size, const char *section,
                         const char *key, const char *value) {
    // A value never breaks its line: control characters become blanks.
    char clean[SETTINGS_VALUE * 4];
    snprintf(clean, sizeof clean, "%s", value);
    for (char *p = clean; *p; p++)
        if ((unsigned char)*p < ' ') *p = ' ';
    size_t room = (size_t)size + strlen(section) + strlen(key) + strlen(clean) + 16;
    char *changed = (char *)fmalloc(room, 1);
    long length = changed ? profile_set(content ? content : "", (size_t)size, section, key, clean,
                                        changed, room)
                          : -1;
    int result = length < 0 ? -1 : write_whole(name, changed, length);
    ffree(changed);
    return result;
}

int settings_store(const char *section, const char *key, const char *value) {
    const char *name = settings_file();
    if (!name[0]) return -1;
    // Read and written under the file's lock, so that no other writer's change is lost between.
    int result = file_lock_take(name);
    char *content = nullptr;
    long size;
    if (result == 0) {
        if (read_whole(name, &content, &size) != 0 ||
            write_changed(name, content, size, section, key, value) != 0)
            result = -1;
        file_lock_release(name);
    }
    ffree(content);
    return result;
}
