// The application font per DPI on Win32. Fonts are kept, not replaced, when a window moves to
// another DPI: a dialog still open at the old DPI goes on using its font.
#include "frame/app_font.h"
#include "frame/dpi.h"
#include "frame/window_dpi.h"
#include <windows.h>

enum { FONTS_MAX = 8 }; // DPIs of one session; a further one shares the first font

static char face[LF_FACESIZE];
static struct {
    int dpi;
    HFONT font;
} fonts[FONTS_MAX];
static int font_count;

void app_font_start(const char *name) {
    lstrcpynA(face, name ? name : "", sizeof face);
}

static HFONT font_of_size(int height, int width) {
    return CreateFontA(height, width, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, face);
}

// At 96 DPI the face chooses its width; at any other DPI the width is the 96 DPI one scaled, so
// that a field holds as many characters as it does at 96 DPI (a face drawn from another font at
// the larger size may be wider in proportion).
static HFONT make_font(int dpi) {
    int height = dialog_base_height(dpi);
    if (dpi == DPI_BASE) return font_of_size(height, 0);
    HFONT base = (HFONT)app_font(DPI_BASE);
    int width = 0, height_at_96 = 0;
    if (base) font_cell(nullptr, base, &width, &height_at_96);
    return font_of_size(height, width > 0 ? dpi_scale(width, dpi) : 0);
}

void *app_font(int dpi) {
    if (!face[0]) return GetStockObject(ANSI_FIXED_FONT);
    dpi = dpi_valid(dpi);
    for (int i = 0; i < font_count; i++)
        if (fonts[i].dpi == dpi) return fonts[i].font;
    if (font_count == FONTS_MAX) return fonts[0].font;
    HFONT font = make_font(dpi);
    if (font) fonts[font_count++] = {dpi, font};
    return font;
}

void app_font_release(void) {
    for (int i = 0; i < font_count; i++) DeleteObject(fonts[i].font);
    font_count = 0;
}
