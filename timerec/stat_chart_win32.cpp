// The statistics chart drawn with GDI into an enhanced metafile and a bitmap for the clipboard,
// from the same items the display control and the SVG file get.
#include "frame/desktop.h"
#include "timerec/stat_chart_picture.h"
#include <windows.h>
#include <string.h>

static COLORREF colour_of(unsigned rgb) {
    return RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

static void draw_item(const chart_item *item, void *context) {
    HDC dc = (HDC)context;
    if (item->kind == CHART_BACKGROUND || item->kind == CHART_FILL) {
        RECT area = {item->x1, item->y1, item->x2, item->y2};
        HBRUSH brush = CreateSolidBrush(colour_of(item->colour));
        FillRect(dc, &area, brush);
        DeleteObject(brush);
        return;
    }
    SetTextColor(dc, colour_of(item->colour));
    SetTextAlign(dc, TA_BASELINE | (item->kind == CHART_TEXT_RIGHT ? TA_RIGHT : TA_LEFT));
    TextOutA(dc, item->x1, item->y1, item->text, (int)strlen(item->text));
}

// The chart in the fixed system font the display control draws it with.
static void draw_chart(HDC dc, const stat_chart *chart) {
    int saved = SaveDC(dc);
    SelectObject(dc, GetStockObject(SYSTEM_FIXED_FONT));
    SetBkMode(dc, TRANSPARENT);
    stat_chart_items(chart, draw_item, dc);
    RestoreDC(dc, saved);
}

// The metafile's frame is the chart's size in 0.01 mm at the screen's resolution, so that a
// document it is pasted into shows it at the size it has on the screen.
static HENHMETAFILE make_metafile(HDC screen, const stat_chart *chart) {
    RECT frame = {0, 0, MulDiv(chart->width, 2540, GetDeviceCaps(screen, LOGPIXELSX)),
                  MulDiv(chart->height, 2540, GetDeviceCaps(screen, LOGPIXELSY))};
    HDC dc = CreateEnhMetaFileA(screen, nullptr, &frame, "Korvex\0Statistik\0");
    if (!dc) return nullptr;
    draw_chart(dc, chart);
    return CloseEnhMetaFile(dc);
}

static HBITMAP make_bitmap(HDC screen, const stat_chart *chart) {
    HBITMAP bitmap = CreateCompatibleBitmap(screen, chart->width, chart->height);
    HDC dc = bitmap ? CreateCompatibleDC(screen) : nullptr;
    if (!dc) {
        if (bitmap) DeleteObject(bitmap);
        return nullptr;
    }
    HGDIOBJ old = SelectObject(dc, bitmap);
    draw_chart(dc, chart);
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}

int stat_chart_copy_picture(const stat_chart *chart) {
    HDC screen = GetDC(nullptr);
    HENHMETAFILE metafile = make_metafile(screen, chart);
    HBITMAP bitmap = make_bitmap(screen, chart);
    ReleaseDC(nullptr, screen);
    return clipboard_add_picture(metafile, bitmap);
}
