// The DPI a window is shown at, asked of the window itself, and the sizes of the system font
// that the strip and the application font are measured in.
#pragma once

// GetDpiForWindow where the system has it (looked up at run time: Windows 10 1607 on), else the
// LOGPIXELSY of the window's DC; DPI_BASE when neither answers. A null window gives the
// system's DPI.
int window_dpi(void *window);
// The DPI the system laid its fonts and metrics out for.
int system_dpi(void);
// The height of the system font scaled to dpi: the dialog base height a window at dpi is
// measured in (16 pixels at 96 DPI with the usual system font).
int dialog_base_height(int dpi);
// The average character width and the height of font in the DC of window (null: the screen).
void font_cell(void *window, void *font, int *char_width, int *char_height);
