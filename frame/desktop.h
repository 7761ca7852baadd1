// Services of the Windows desktop that several parts of the program use: the clipboard,
// bitmaps, the main window's title, documents in the user's editor, libraries, and the folder
// and file selection dialogs. Handles are passed as pointers.
#pragma once
#include <stddef.h>

enum {
    FILE_DIALOG_PATH = 200,   // characters of a chosen path
    FILE_DIALOG_FILTER = 200, // characters of a filter text
    FILE_DIALOG_OPEN = 0,     // existing files in existing folders only
    FILE_DIALOG_ANY = 1,      // open without checks
    FILE_DIALOG_SAVE = 2,     // asks before overwriting, needs an existing folder
};

// Puts the text on the clipboard as CF_TEXT; 0, or -1.
int clipboard_set_text(const char *text);
// Adds an enhanced metafile and a bitmap to what clipboard_set_text just put there; the clipboard
// takes both handles (either may be NULL, which makes the result -1), and deletes what it could
// not take. 0, or -1.
int clipboard_add_picture(void *enhanced_metafile, void *bitmap);
void *bitmap_load(const char *name);
void bitmap_delete(void *bitmap);
void main_set_title(const char *text);
void post_close(void *window);
// Opens the document with the shell's default action, its folder as working directory; 0, or -1.
int open_document(const char *path);
void *library_load(const char *name);
void library_free(void *library);
// The shell's folder selection owned by the current dialog: 1 and the folder in path
// (PATH_MAX_TEXT + 1 bytes), or 0 and an empty path.
int browse_folder(char *path, const char *title);
// The file selection of kind for path (FILE_DIALOG_PATH + 1 bytes; its folder and name are
// offered): 1 and the chosen path, or 0 and an empty path.
int file_dialog(char *path, const char *title, const char *filter, int kind);

// The portable halves, tested on their own:
// The filter (at most FILE_DIALOG_FILTER characters) with every occurrence of its last character
// made a terminator, as the file dialog takes it (out holds FILE_DIALOG_FILTER + 2 bytes).
// The number of description and pattern pairs.
int file_filter_pairs(char *out, const char *filter);
// The document path with backslashes, and its folder without the last separator.
void document_paths(const char *path, char *out_path, char *out_folder, size_t size);
