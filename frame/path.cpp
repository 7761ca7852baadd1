// Path pieces: file name part, directory part, separators and extensions. Both '/' and '\'
// separate; ':' also ends a directory part (a drive letter).
#include "frame/path.h"

#include <string.h>

int path_is_separator(int c) {
    return c == '/' || c == '\\';
}

int path_name_index(const char *path) {
    int index = 0;
    for (int i = 0; path[i]; i++) {
        if (path_is_separator(path[i]) || path[i] == ':') index = i + 1;
    }
    return index;
}

static void copy_cut(char *out, size_t size, const char *text, size_t length) {
    if (size == 0) return;
    if (length > size - 1) length = size - 1;
    memmove(out, text, length);
    out[length] = 0;
}

void path_dir(char *out, size_t size, const char *path) {
    copy_cut(out, size, path, (size_t)path_name_index(path));
}

void path_drop_dir(char *path) {
    const char *name = path + path_name_index(path);
    memmove(path, name, strlen(name) + 1);
}

// The last separator of path, or 0 when it has none.
static char last_separator(const char *path) {
    char found = 0;
    for (; *path; path++) {
        if (path_is_separator(*path)) found = *path;
    }
    return found;
}

// Nothing is appended when the area has no room left.
void path_add_separator(char *path, size_t size) {
    size_t length = strlen(path);
    if (length == 0 || path_is_separator(path[length - 1]) || length + 1 >= size) return;
    char separator = last_separator(path);
    path[length] = separator ? separator : '/';
    path[length + 1] = 0;
}

void path_strip_separator(char *path) {
    size_t length = strlen(path);
    if (length > 0 && path_is_separator(path[length - 1])) path[length - 1] = 0;
}

void path_unify(char *path) {
    char *first = path;
    while (*first && !path_is_separator(*first)) first++;
    char separator = *first;
    if (separator == 0) return;
    for (char *p = first; *p; p++) {
        if (path_is_separator(*p)) *p = separator;
    }
}

void path_backslashes(char *path) {
    for (; *path; path++) {
        if (*path == '/') *path = '\\';
    }
}

// Index of the last '.' in the file name part, or -1.
static int ext_dot(const char *path) {
    const char *dot = strrchr(path + path_name_index(path), '.');
    return dot ? (int)(dot - path) : -1;
}

// The extension is cut to the area; when not even the '.' fits, path stays as it is.
void path_set_ext(char *path, const char *extension, size_t size) {
    size_t length = strlen(path);
    int dot = ext_dot(path);
    size_t at;
    if (dot >= 0) {
        at = (size_t)dot + 1;
    } else {
        if (length + 1 >= size) return;
        path[length] = '.';
        at = length + 1;
    }
    if (at >= size) return;
    copy_cut(path + at, size - at, extension, strlen(extension));
}

void path_drop_ext(char *path) {
    int dot = ext_dot(path);
    if (dot >= 0) path[dot] = 0;
}
