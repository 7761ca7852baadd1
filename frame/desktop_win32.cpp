// The desktop services on Windows: clipboard, bitmaps, title, shell, libraries and selection
// dialogs.
#include "frame/desktop.h"
#include "frame/app.h"
#include "frame/dialog.h"
#include "frame/path.h"
#include "frame/text.h"
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <string.h>

int clipboard_set_text(const char *text) {
    size_t bytes = strlen(text) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block) return -1;
    void *area = GlobalLock(block);
    if (!area) {
        GlobalFree(block);
        return -1;
    }
    memcpy(area, text, bytes);
    GlobalUnlock(block);
    if (!OpenClipboard((HWND)frame_main_window())) {
        GlobalFree(block);
        return -1;
    }
    EmptyClipboard();
    // From here on the clipboard owns the block.
    int result = SetClipboardData(CF_TEXT, block) ? 0 : -1;
    if (result != 0) GlobalFree(block);
    CloseClipboard();
    return result;
}

// The clipboard's owner is the main window since clipboard_set_text emptied it, so formats may be
// added without emptying it again.
int clipboard_add_picture(void *enhanced_metafile, void *bitmap) {
    HENHMETAFILE metafile = (HENHMETAFILE)enhanced_metafile;
    int result = metafile && bitmap ? 0 : -1;
    if (OpenClipboard((HWND)frame_main_window())) {
        if (metafile && SetClipboardData(CF_ENHMETAFILE, metafile)) metafile = nullptr;
        if (bitmap && SetClipboardData(CF_BITMAP, bitmap)) bitmap = nullptr;
        CloseClipboard();
    }
    if (metafile || bitmap) result = -1;
    if (metafile) DeleteEnhMetaFile(metafile);
    if (bitmap) DeleteObject((HBITMAP)bitmap);
    return result;
}

void *bitmap_load(const char *name) {
    return LoadBitmapA((HINSTANCE)frame_instance(), name);
}

void bitmap_delete(void *bitmap) {
    DeleteObject((HBITMAP)bitmap);
}

void main_set_title(const char *text) {
    SetWindowTextA((HWND)frame_main_window(), text);
}

void post_close(void *window) {
    PostMessageA((HWND)window, WM_CLOSE, 0, 0);
}

int open_document(const char *path) {
    char document[PATH_MAX_TEXT + 1], folder[PATH_MAX_TEXT + 1];
    document_paths(path, document, folder, sizeof document);
    HINSTANCE result =
        ShellExecuteA((HWND)frame_main_window(), nullptr, document, nullptr, folder, SW_SHOWNORMAL);
    return (INT_PTR)result > 32 ? 0 : -1;
}

void *library_load(const char *name) {
    return LoadLibraryA(name);
}

void library_free(void *library) {
    if (library) FreeLibrary((HMODULE)library);
}

int browse_folder(char *path, const char *title) {
    path[0] = 0;
    BROWSEINFOA info = {};
    info.hwndOwner = (HWND)dialog_window();
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    if (!chosen) return 0;
    int found = SHGetPathFromIDListA(chosen, path) ? 1 : 0;
    IMalloc *shell_malloc = nullptr;
    if (SUCCEEDED(SHGetMalloc(&shell_malloc))) {
        shell_malloc->Free(chosen);
        shell_malloc->Release();
    }
    if (!found) path[0] = 0;
    return found;
}

static const DWORD file_dialog_flags[] = {
    OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
    OFN_HIDEREADONLY,
    OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
};

int file_dialog(char *path, const char *title, const char *filter, int kind) {
    char here[PATH_MAX_TEXT + 1] = "";
    current_dir(here, sizeof here);
    char pairs[FILE_DIALOG_FILTER + 2], folder[PATH_MAX_TEXT + 1] = "";
    char chosen[FILE_DIALOG_PATH + 1] = "";
    file_filter_pairs(pairs, filter);
    if (!text_is_blank(path)) {
        path_dir(folder, sizeof folder, path);
        text_copy_max(chosen, path + path_name_index(path), FILE_DIALOG_PATH);
    }
    OPENFILENAMEA request = {};
    request.lStructSize = sizeof request;
    // Owned by the dialog it is asked from, so that the dialog waits for it and is active again
    // after it (a modeless dialog would else leave the activation to the main window).
    request.hwndOwner = dialog_window();
    request.lpstrFilter = pairs;
    request.nFilterIndex = 1;
    request.lpstrFile = chosen;
    request.nMaxFile = sizeof chosen;
    request.lpstrInitialDir = text_is_blank(folder) ? here : folder;
    request.lpstrTitle = title;
    request.Flags = file_dialog_flags[kind >= 0 && kind <= 2 ? kind : 0];
    path[0] = 0;
    BOOL confirmed =
        kind == FILE_DIALOG_SAVE ? GetSaveFileNameA(&request) : GetOpenFileNameA(&request);
    change_dir(here);
    if (!confirmed) return 0;
    text_copy_max(path, chosen, FILE_DIALOG_PATH);
    return 1;
}
