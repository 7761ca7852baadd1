// The DPI of a window on Win32 and the system font's height at it.
#include "frame/window_dpi.h"
#include "frame/dpi.h"
#include <windows.h>

typedef UINT(WINAPI *dpi_for_window_fn)(HWND);

static int dc_dpi(HWND window) {
    HDC dc = GetDC(window);
    if (!dc) return DPI_BASE;
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(window, dc);
    return dpi_valid(dpi);
}

int system_dpi(void) {
    return dc_dpi(nullptr);
}

int window_dpi(void *window) {
    static dpi_for_window_fn dpi_for_window;
    static int looked_up;
    if (!looked_up) {
        HMODULE user = GetModuleHandleA("user32.dll");
        dpi_for_window =
            user ? (dpi_for_window_fn)(void *)GetProcAddress(user, "GetDpiForWindow") : nullptr;
        looked_up = 1;
    }
    if (!window) return system_dpi();
    if (dpi_for_window) return dpi_valid((int)dpi_for_window((HWND)window));
    return dc_dpi((HWND)window);
}

// The system font's height is the system's DPI's; taken back to 96 DPI first, it scales to every
// DPI in the proportions of the 96 DPI layout. (Not GetDialogBaseUnits: Wine scales its height
// twice above 96 DPI, 36 pixels at 144.)
int dialog_base_height(int dpi) {
    HDC dc = GetDC(nullptr);
    TEXTMETRICA metrics = {};
    if (dc) {
        HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
        GetTextMetricsA(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
    }
    int height = metrics.tmHeight > 0 ? (int)metrics.tmHeight : 16;
    return dpi_scale(dpi_unscale(height, system_dpi()), dpi);
}

void font_cell(void *window, void *font, int *char_width, int *char_height) {
    TEXTMETRICA metrics = {};
    HDC dc = GetDC((HWND)window);
    HGDIOBJ old = SelectObject(dc, (HGDIOBJ)font);
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC((HWND)window, dc);
    *char_width = (int)metrics.tmAveCharWidth;
    *char_height = (int)metrics.tmHeight;
}
