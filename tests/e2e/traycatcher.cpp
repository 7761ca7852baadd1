// Stands in for the notification area in the end-to-end tests: a window of the class the
// notification calls look for, writing each call it receives as a line to the file named on the
// command line: "OPERATION|ID|CALLBACK|TIP|BALLOON|COLOUR" (the tip, balloon and colour only
// when the call sets them; the colour is the icon's middle pixel as RRGGBB; texts Windows-1252).
#include "catcher.h"
#include <windows.h>
#include <shellapi.h>

#include <stdio.h>

namespace {

const char *log_path = "tray.log";

// The block the notification call hands over with WM_COPYDATA under Wine: the fields of the
// call, then the icon's mask and colour bits.
struct notify_data {
    LONG window;
    UINT id;
    UINT flags;
    UINT callback;
    WCHAR tip[128];
    DWORD state;
    DWORD state_mask;
    WCHAR info[256];
    UINT timeout;
    WCHAR info_title[64];
    DWORD info_flags;
    GUID guid;
    UINT width, height, planes, bpp;
};

void narrow(char *out, int size, const WCHAR *text) {
    if (!WideCharToMultiByte(1252, 0, text, -1, out, size, NULL, NULL)) out[0] = 0;
}

// The icon rebuilt from its bits, drawn on white: its middle pixel.
DWORD icon_colour(const notify_data *data, const char *bits, size_t size) {
    LONG mask = (LONG)(data->width * data->height + 15) / 16 * 2;
    LONG colour = (LONG)(data->planes * data->width * data->height * data->bpp + 15) / 16 * 2;
    if (size < (size_t)(mask + colour)) return 0xFFFFFFFF;
    HICON icon = CreateIcon(NULL, data->width, data->height, data->planes, data->bpp,
                            (const BYTE *)bits, (const BYTE *)bits + mask);
    if (!icon) return 0xFFFFFFFF;
    HDC screen = GetDC(NULL), dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, data->width, data->height);
    HGDIOBJ old = SelectObject(dc, canvas);
    PatBlt(dc, 0, 0, data->width, data->height, WHITENESS);
    DrawIconEx(dc, 0, 0, icon, data->width, data->height, 0, NULL, DI_NORMAL);
    COLORREF middle = GetPixel(dc, data->width / 2, data->height / 2);
    SelectObject(dc, old);
    DeleteObject(canvas);
    DeleteDC(dc);
    ReleaseDC(NULL, screen);
    DestroyIcon(icon);
    return (GetRValue(middle) << 16) | (GetGValue(middle) << 8) | GetBValue(middle);
}

void record(const COPYDATASTRUCT *copy) {
    if (!copy || copy->cbData < sizeof(notify_data)) return;
    const notify_data *data = (const notify_data *)copy->lpData;
    static const char *const operations[] = {"ADD", "MODIFY", "DELETE"};
    char tip[512] = "", info[1024] = "", colour[16] = "";
    if (data->flags & NIF_TIP) narrow(tip, sizeof tip, data->tip);
    if (data->flags & NIF_INFO) narrow(info, sizeof info, data->info);
    if (data->flags & NIF_ICON)
        snprintf(colour, sizeof colour, "%06lX",
                 icon_colour(data, (const char *)(data + 1), copy->cbData - sizeof *data) &
                     0xFFFFFFUL);
    FILE *log = fopen(log_path, "ab");
    if (!log) return;
    if (copy->dwData < 3)
        fprintf(log, "%s", operations[copy->dwData]);
    else
        fprintf(log, "%lu", (unsigned long)copy->dwData);
    fprintf(log, "|%u|%u|%s|%s|%s\n", data->id, data->callback, tip, info, colour);
    fclose(log);
}

} // namespace

int main(int argc, char **argv) {
    if (argc > 1) log_path = argv[1];
    return catcher::run("Shell_TrayWnd", "tray catcher", record);
}
