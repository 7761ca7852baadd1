// The statistics chart: bars of the listed lines, their layout, and the chart as display control
// commands and as SVG.
#include "timerec/stat_chart.h"
#include "frame/bfile.h"
#include "frame/cp1252.h"
#include "frame/dpi.h"
#include "frame/memory.h"
#include "frame/texts.h"
#include "frame/text.h"
#include "resources/text_ids.h"
#include "timerec/statalk.h"
#include <stdio.h>
#include <string.h>

enum {
    COMMAND_LINE = 100, // what the display control reads of one command
    NOTE_TEXT = 80,
    BLACK = 0x000000,
    WHITE = 0xFFFFFF,
    RULE = 0x808080,
};

static const unsigned LEVEL_COLOURS[CHART_COLOURS] = {0x2F5F9F, 0x5B8BD0, 0x9DBDE8};

void stat_chart_begin(stat_chart *chart, int mode) {
    memset(chart, 0, sizeof *chart);
    chart->mode = mode;
    chart->dpi = DPI_BASE;
}

// The level of a project name: how many words follow its first, as the statistics count a name
// on every level ('KD 4711 Test' is on level 2 below 'KD 4711' and 'KD').
static int name_level(const char *name) {
    int level = 0;
    for (const char *p = name; *p; p++)
        if (*p != ' ' && p > name && p[-1] == ' ') level++;
    return level;
}

void stat_chart_line(stat_chart *chart, const char *name, int minutes) {
    if (chart->lines++ == 0) {
        chart->total = minutes;
        report_duration(chart->total_time, minutes, 0, 1);
        return;
    }
    if (chart->count >= STASUP) return;
    chart_bar *bar = &chart->bars[chart->count++];
    text_copy_max(bar->name, name, REPORT_NAME);
    text_trim(bar->name);
    report_duration(bar->time, minutes, 0, 1);
    bar->minutes = minutes;
    bar->level = chart->mode == STAT_PROJECT ? name_level(bar->name) : 0;
}

static void take_group(const char *name, int minutes, void *chart) {
    stat_chart_line((stat_chart *)chart, name, minutes);
}

void stat_chart_take_listed(stat_chart *chart, int mode) {
    stat_chart_begin(chart, mode);
    statalk_listed(take_group, chart);
}

// The bar's share of the bars' area, rounded to the pixel; a negative group draws no bar, and
// one above the total (beside negative groups) the full area.
static int bar_length(int minutes, int total, int width) {
    if (total <= 0 || minutes <= 0) return 0;
    long long length = ((long long)minutes * width * 2 + total) / ((long long)total * 2);
    return length > width ? width : (int)length;
}

// A size of the 96 DPI layout at the chart's DPI (the fixed font grows with it).
static int px(const stat_chart *chart, int pixels) {
    return dpi_scale(pixels, chart->dpi);
}

static int top_of_bars(const stat_chart *chart) {
    return px(chart, CHART_MARGIN + CHART_ROW + CHART_BAR_INSET);
}

void stat_chart_layout(stat_chart *chart, int width, int height) {
    int name_cells = (int)strlen(text(TXT_CHART_TOTAL));
    int time_cells = (int)strlen(chart->total_time);
    for (int i = 0; i < chart->count; i++) {
        const chart_bar *bar = &chart->bars[i];
        int cells = bar->level * CHART_INDENT + (int)strlen(bar->name);
        if (cells > name_cells) name_cells = cells;
        if ((int)strlen(bar->time) > time_cells) time_cells = (int)strlen(bar->time);
    }
    chart->bar_x = px(chart, CHART_MARGIN + (name_cells + 1) * CHART_CELL);
    int fixed = chart->bar_x + px(chart, (time_cells + 1) * CHART_CELL + CHART_MARGIN);
    int bar_min = px(chart, CHART_BAR_MIN);
    chart->width = width - fixed < bar_min ? fixed + bar_min : width;
    chart->bar_width = chart->width - fixed;
    chart->time_right = chart->width - px(chart, CHART_MARGIN);
    for (int i = 0; i < chart->count; i++)
        chart->bars[i].length = bar_length(chart->bars[i].minutes, chart->total, chart->bar_width);
    int rows = chart->total > 0 ? chart->count : 0;
    int row = px(chart, CHART_ROW);
    int room = (height - top_of_bars(chart) - px(chart, CHART_MARGIN)) / row;
    if (height <= 0 || rows <= room) {
        chart->shown = rows;
        chart->height =
            height > 0 ? height : top_of_bars(chart) + rows * row + px(chart, CHART_MARGIN);
    } else {
        chart->shown = room > 0 ? room - 1 : 0; // the last row that fits holds the note
        chart->height = height;
    }
}

static void emit(chart_item_fn draw, void *context, int kind, const int *box, unsigned colour,
                 const char *text) {
    chart_item item = {kind, box[0], box[1], box[2], box[3], colour, text};
    draw(&item, context);
}

static void emit_fill(chart_item_fn draw, void *context, int x1, int y1, int x2, int y2,
                      unsigned colour) {
    const int box[4] = {x1, y1, x2, y2};
    emit(draw, context, CHART_FILL, box, colour, "");
}

static void emit_text(const stat_chart *chart, chart_item_fn draw, void *context, int kind, int x,
                      int row_top, const char *text) {
    int base = row_top + px(chart, CHART_BASELINE);
    const int at[4] = {x, base, x, base};
    emit(draw, context, kind, at, BLACK, text);
}

static void emit_bar(const stat_chart *chart, const chart_bar *bar, int top, chart_item_fn draw,
                     void *context) {
    int level = bar->level < CHART_COLOURS ? bar->level : CHART_COLOURS - 1;
    emit_text(chart, draw, context, CHART_TEXT_LEFT,
              px(chart, CHART_MARGIN + bar->level * CHART_INDENT * CHART_CELL), top, bar->name);
    if (bar->length > 0)
        emit_fill(draw, context, chart->bar_x, top + px(chart, CHART_BAR_INSET),
                  chart->bar_x + bar->length, top + px(chart, CHART_ROW - CHART_BAR_INSET),
                  LEVEL_COLOURS[level]);
    emit_text(chart, draw, context, CHART_TEXT_RIGHT, chart->time_right, top, bar->time);
}

void stat_chart_items(const stat_chart *chart, chart_item_fn draw, void *context) {
    const int whole[4] = {0, 0, chart->width, chart->height};
    emit(draw, context, CHART_BACKGROUND, whole, WHITE, "");
    if (chart->total <= 0) return;
    int margin = px(chart, CHART_MARGIN), row = px(chart, CHART_ROW);
    emit_text(chart, draw, context, CHART_TEXT_LEFT, margin, margin, text(TXT_CHART_TOTAL));
    emit_text(chart, draw, context, CHART_TEXT_RIGHT, chart->time_right, margin, chart->total_time);
    emit_fill(draw, context, margin, margin + row - dpi_line(chart->dpi), chart->time_right,
              margin + row, RULE);
    for (int i = 0; i < chart->shown; i++)
        emit_bar(chart, &chart->bars[i], top_of_bars(chart) + i * row, draw, context);
    if (chart->shown < chart->count) {
        char note[NOTE_TEXT + 1];
        snprintf(note, sizeof note, text(TXT_CHART_MORE), chart->count - chart->shown);
        emit_text(chart, draw, context, CHART_TEXT_LEFT, margin,
                  top_of_bars(chart) + chart->shown * row, note);
    }
}

struct command_sink {
    report_line_fn add;
    void *context;
    unsigned colour;
};

static void set_colour(command_sink *sink, unsigned colour) {
    if (colour == sink->colour) return;
    char command[COMMAND_LINE + 1];
    snprintf(command, sizeof command, "COLOR %u %u %u", colour >> 16, (colour >> 8) & 0xFF,
             colour & 0xFF);
    sink->add(command, sink->context);
    sink->colour = colour;
}

// The background is the control's own (CLEAR); everything else becomes FILL, TEXT or RTEXT.
static void add_command(const chart_item *item, void *context) {
    command_sink *sink = (command_sink *)context;
    if (item->kind == CHART_BACKGROUND) return;
    set_colour(sink, item->colour);
    char command[COMMAND_LINE + 1];
    if (item->kind == CHART_FILL)
        snprintf(command, sizeof command, "FILL %d %d %d %d", item->x1, item->y1, item->x2,
                 item->y2);
    else
        snprintf(command, sizeof command, "%s %d %d %s",
                 item->kind == CHART_TEXT_RIGHT ? "RTEXT" : "TEXT", item->x1, item->y1, item->text);
    sink->add(command, sink->context);
}

void stat_chart_commands(const stat_chart *chart, report_line_fn add, void *context) {
    command_sink sink = {add, context, BLACK};
    add("CLEAR", context);
    add("FONT 1", context);
    add("COLOR 0 0 0", context);
    stat_chart_items(chart, add_command, &sink);
    add("PAINT", context);
}

// A text as XML character data: markup characters as entities, characters beyond ASCII as
// character references, control characters (which XML does not allow) and free bytes as '?'.
static void add_xml_text(report_text *out, const char *text) {
    char piece[16];
    for (const unsigned char *p = (const unsigned char *)text; *p; p++) {
        unsigned c = cp1252_code_point(*p);
        if (c == '&')
            report_text_add(out, "&amp;");
        else if (c == '<')
            report_text_add(out, "&lt;");
        else if (c == '>')
            report_text_add(out, "&gt;");
        else if (c < 0x20 || c == 0x7F) {
            report_text_add(out, "?");
        } else if (c < 0x80) {
            piece[0] = (char)c;
            piece[1] = 0;
            report_text_add(out, piece);
        } else {
            snprintf(piece, sizeof piece, "&#x%X;", c);
            report_text_add(out, piece);
        }
    }
}

static void add_svg_item(const chart_item *item, void *context) {
    report_text *out = (report_text *)context;
    char element[COMMAND_LINE + 1];
    if (item->kind == CHART_BACKGROUND || item->kind == CHART_FILL) {
        snprintf(element, sizeof element,
                 "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"#%06X\"/>", item->x1,
                 item->y1, item->x2 - item->x1, item->y2 - item->y1, item->colour);
        report_text_line(out, element);
        return;
    }
    snprintf(element, sizeof element, "<text x=\"%d\" y=\"%d\"%s fill=\"#%06X\">", item->x1,
             item->y1, item->kind == CHART_TEXT_RIGHT ? " text-anchor=\"end\"" : "", item->colour);
    report_text_add(out, element);
    add_xml_text(out, item->text);
    report_text_line(out, "</text>");
}

void stat_chart_svg(const stat_chart *chart, report_text *out) {
    char head[3 * COMMAND_LINE];
    report_text_line(out, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    snprintf(head, sizeof head,
             "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" "
             "viewBox=\"0 0 %d %d\" font-family=\"monospace\" font-size=\"13\" "
             "xml:space=\"preserve\">",
             chart->width, chart->height, chart->width, chart->height);
    report_text_line(out, head);
    stat_chart_items(chart, add_svg_item, out);
    report_text_line(out, "</svg>");
}

int stat_chart_write_svg(const stat_chart *chart, const char *path) {
    report_text svg;
    report_text_begin(&svg, "statalk");
    stat_chart_svg(chart, &svg);
    bfile file;
    int result = -1;
    if (bfile_replace_begin(&file, path) >= 0) {
        int written = bfile_write(&file, svg.text, (long)svg.length);
        result = bfile_replace_commit(&file, path, written) == 0 ? 0 : -1;
    }
    ffree(report_text_take(&svg));
    return result;
}
