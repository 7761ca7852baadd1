// The statistics chart painted by the display control, checked by the pixels of its bars, and
// the pictures "&Kopieren" adds to the clipboard.
#include "frame/app.h"
#include "frame/desktop.h"
#include "timerec/stat_chart_picture.h"
#include "timerec/statalk.h"
#include "win_support.h"

namespace {

const COLORREF WHITE = RGB(255, 255, 255);
const COLORREF LEVEL_0 = RGB(0x2F, 0x5F, 0x9F), LEVEL_1 = RGB(0x5B, 0x8B, 0xD0),
               LEVEL_2 = RGB(0x9D, 0xBD, 0xE8);

struct Bar {
    const char *name;
    int minutes; // of a total of 1000
    double share;
    COLORREF colour;
};

// Shares of a total of 1000 minutes; nested names keep the colour of their level.
const Bar BARS[] = {
    {"A", 1000, 1.0, LEVEL_0},        {"A B", 500, 0.5, LEVEL_1}, {"A B C", 250, 0.25, LEVEL_2},
    {"A B C D", 125, 0.125, LEVEL_2}, {"E", 1, 0.001, LEVEL_0},   {"F", 333, 0.333, LEVEL_0},
    {"G", -30, 0.0, LEVEL_0},
};

stat_chart *chart_of_bars(int width, int height) {
    static stat_chart chart;
    stat_chart_begin(&chart, STAT_PROJECT);
    stat_chart_line(&chart, "", 1000);
    for (const Bar &bar : BARS) stat_chart_line(&chart, bar.name, bar.minutes);
    stat_chart_layout(&chart, width, height);
    return &chart;
}

void send_command(const char *command, void *window) {
    SendMessageA((HWND)window, WM_SETTEXT, 0, (LPARAM)command);
}

// How many pixels of colour follow each other on row y from x on.
int run_of(const Image &image, int x, int y, COLORREF colour) {
    int length = 0;
    while (x + length < image.width && image.at(x + length, y) == colour) length++;
    return length;
}

int bar_middle(int index) {
    return CHART_MARGIN + CHART_ROW + CHART_BAR_INSET + index * CHART_ROW + CHART_ROW / 2;
}

// Every bar of the table is as long as its share of the bars' area (within slack pixels), in its
// level's colour, and nothing but white follows it.
void expect_bars(const Image &image, const stat_chart *chart, int slack = 0) {
    for (size_t i = 0; i < sizeof BARS / sizeof BARS[0]; i++) {
        int expected = (int)(BARS[i].share * chart->bar_width + 0.5);
        int shown = run_of(image, chart->bar_x, bar_middle((int)i), BARS[i].colour);
        EXPECT_LE(abs(shown - expected), slack) << BARS[i].name << ": " << shown;
        EXPECT_EQ(image.at(chart->bar_x + shown, bar_middle((int)i)), WHITE) << BARS[i].name;
    }
}

using ChartInDisplay = ControlTest;

TEST_F(ChartInDisplay, BarsArePaintedAtTheirShares) {
    HWND window = make_control("TORKDISP", "", 0x3, 480, 240, 300);
    stat_chart *chart = chart_of_bars(480, 240);
    ASSERT_EQ(chart->shown, 7);
    stat_chart_commands(chart, send_command, window);
    expect_bars(capture(window), chart);
}

// The clipboard's bitmap as an image.
Image clipboard_bitmap() {
    Image image;
    HBITMAP bitmap = (HBITMAP)GetClipboardData(CF_BITMAP);
    BITMAP info;
    if (!bitmap || GetObjectA(bitmap, sizeof info, &info) != sizeof info) return image;
    image = render(info.bmWidth, info.bmHeight, [bitmap, &info](HDC dc) {
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, bitmap);
        BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
    });
    return image;
}

using ChartOnClipboard = ControlTest;

TEST_F(ChartOnClipboard, TextStaysAndMetafileAndBitmapShowTheBars) {
    frame_app()->main_window = test_parent();
    ASSERT_EQ(clipboard_set_text("Text\r\n"), 0);
    stat_chart *chart = chart_of_bars(CHART_PICTURE_WIDTH, 0);
    ASSERT_EQ(stat_chart_copy_picture(chart), 0);
    EXPECT_EQ(clipboard_text(), "Text\r\n");
    ASSERT_TRUE(OpenClipboard(test_parent()));
    Image bitmap = clipboard_bitmap();
    HENHMETAFILE metafile = (HENHMETAFILE)GetClipboardData(CF_ENHMETAFILE);
    Image played;
    if (metafile) {
        RECT area = {0, 0, chart->width, chart->height};
        played = render(chart->width, chart->height,
                        [metafile, &area](HDC dc) { PlayEnhMetaFile(dc, metafile, &area); });
    }
    CloseClipboard();
    frame_app()->main_window = nullptr;
    ASSERT_EQ(bitmap.width, CHART_PICTURE_WIDTH);
    ASSERT_EQ(bitmap.height, chart->height);
    expect_bars(bitmap, chart);
    ASSERT_TRUE(metafile);
    expect_bars(played, chart, 1); // scaled from its frame in 0.01 mm
}

} // namespace
