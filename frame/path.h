// Path pieces (separators '/' and '\') and the current directory.
#pragma once
#include <stddef.h>

enum { PATH_MAX_TEXT = 260, CURRENT_DIR_MAX = 100 };

int path_is_separator(int c);
// Index of the file name part: after the last separator or ':' (0 when there is none).
int path_name_index(const char *path);
// out (size bytes) receives the path up to and including the last separator or ':'.
void path_dir(char *out, size_t size, const char *path);
void path_drop_dir(char *path);
// Appends the last separator used in path ('/' when none) unless path is empty or ends in one.
void path_add_separator(char *path, size_t size);
void path_strip_separator(char *path);
// Every separator becomes the first separator in path.
void path_unify(char *path);
void path_backslashes(char *path);
// Replaces the extension of the file name part, or appends "." and extension.
void path_set_ext(char *path, const char *extension, size_t size);
void path_drop_ext(char *path);

// The process's current directory (at most CURRENT_DIR_MAX characters are promised to callers).
int current_dir(char *out, size_t size);
// Changes the current directory (and drive, on Windows); 0, or -1.
int change_dir(const char *path);
// Creates one directory; 0, or -1.
int make_dir(const char *path);
