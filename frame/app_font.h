// The application font at each DPI the program's windows are shown at: the configured face at
// the dialog base height there, or the stock fixed font when no face is configured.
#pragma once

// Takes the face (up to 31 characters; "" for the stock font) for the fonts made from now on.
void app_font_start(const char *face);
// The font for windows at dpi, made at the first call for that DPI and kept until
// app_font_release; a null handle when it cannot be made.
void *app_font(int dpi);
// Deletes every font made; no window may use one any longer.
void app_font_release(void);
