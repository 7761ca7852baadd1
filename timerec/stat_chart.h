// The statistics as a bar chart: one horizontal bar per listed line (its length the line's share
// of the total, the name at its left, h:mm at its right, the total on top), laid out in pixels of
// a fixed 8 x 16 font and drawn as display control commands, as SVG or by a drawing sink.
#pragma once
#include "timerec/report.h"

enum {
    CHART_CELL = 8,            // width of a character of the chart's fixed font
    CHART_ROW = 20,            // height of one row (the font is 16 pixels high)
    CHART_BASELINE = 15,       // base line of a row's text below the row's top
    CHART_MARGIN = 8,          // free border around the chart
    CHART_BAR_INSET = 3,       // free pixels above and below a bar within its row
    CHART_INDENT = 2,          // characters a level is indented by
    CHART_BAR_MIN = 40,        // the bars' area never gets narrower than this
    CHART_PICTURE_WIDTH = 640, // width of the chart as a picture file or on the clipboard
    CHART_COLOURS = 3,         // bar colours by level; deeper levels take the last one
};

struct chart_bar {
    char name[REPORT_NAME + 1];
    char time[REPORT_FIELD + 1]; // h:mm
    int minutes;
    int level;  // indentation: the words of a project name after its first
    int length; // pixels, set by stat_chart_layout
};

// The lines of one evaluation and their layout. Large: callers keep it static or allocate it.
struct stat_chart {
    int mode;  // the statistics mode the lines were listed in
    int lines; // lines taken, the total line included
    int total;
    char total_time[REPORT_FIELD + 1];
    int count;
    chart_bar bars[STASUP];
    // The layout: picture size, where the bars start and how long a bar of 100 % is, where the
    // times end, how many bars are shown (the others are counted in a note line).
    int dpi; // the layout's sizes are those above at this DPI (96 from stat_chart_begin)
    int width, height;
    int bar_x, bar_width, time_right;
    int shown;
};

enum chart_item_kind { CHART_BACKGROUND, CHART_FILL, CHART_TEXT_LEFT, CHART_TEXT_RIGHT };

// One thing to draw: the white background or a filled rectangle (x1, y1, x2, y2, right and bottom
// edge excluded) or a text whose base line is at y1, starting (left) or ending (right) at x1.
// colour is 0xRRGGBB.
struct chart_item {
    int kind;
    int x1, y1, x2, y2;
    unsigned colour;
    const char *text;
};
typedef void (*chart_item_fn)(const chart_item *item, void *context);

// Starts an empty chart for lines listed in mode (STAT_PROJECT, STAT_MONTH, STAT_WEEK).
void stat_chart_begin(stat_chart *chart, int mode);
// Takes one listed line in list order: the first is the total line, the others the groups. Lines
// beyond the sum list's capacity are dropped.
void stat_chart_line(stat_chart *chart, const char *name, int minutes);
// Takes the lines the statistics list shows after its last evaluation in mode.
void stat_chart_take_listed(stat_chart *chart, int mode);
// Lays the chart out width pixels wide; height 0 makes it as high as all its bars need,
// otherwise the bars that do not fit are left out and counted in a note line.
void stat_chart_layout(stat_chart *chart, int width, int height);

// What the laid-out chart draws, in drawing order, the white background first. Nothing for a
// chart without a total above 0 but the background.
void stat_chart_items(const stat_chart *chart, chart_item_fn draw, void *context);
// The same as display control commands, starting with "CLEAR" and ending with "PAINT".
void stat_chart_commands(const stat_chart *chart, report_line_fn add, void *context);
// The same as an SVG document (UTF-8, ASCII only: other characters as character references).
void stat_chart_svg(const stat_chart *chart, report_text *out);
// Writes the chart's SVG document to path through the temporary-file replace: 0, or -1 with the
// file as it was.
int stat_chart_write_svg(const stat_chart *chart, const char *path);
