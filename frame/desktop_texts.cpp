// The texts the desktop services hand to the system: file dialog filters and document paths.
#include "frame/desktop.h"
#include "frame/path.h"
#include "frame/text.h"
#include <string.h>

int file_filter_pairs(char *out, const char *filter) {
    int length = text_copy_max(out, filter, FILE_DIALOG_FILTER);
    out[length + 1] = 0; // the list ends with two terminators even when the filter lacks them
    if (length == 0) return 0;
    char separator = out[length - 1];
    int parts = 0;
    for (int i = 0; i < length; i++) {
        if (out[i] != separator) continue;
        out[i] = 0;
        if (i > 0 && out[i - 1] != 0) parts++;
    }
    return parts / 2;
}

void document_paths(const char *path, char *out_path, char *out_folder, size_t size) {
    text_copy_max(out_path, path, (int)size - 1);
    path_backslashes(out_path);
    path_dir(out_folder, size, out_path);
    path_strip_separator(out_folder);
}
