// The record of a display control window and the drawing its commands do in the picture.
#pragma once
#include "controls/disp/disp_command.h"
#include <windows.h>

// The record behind the window's extra bytes, zero-filled at creation.
struct disp_record {
    int32_t width, height; // client size in pixels
    uint32_t style;
    HGDIOBJ font;
    COLORREF colour; // drawing colour
    HBITMAP picture; // width x height at its creation; NULL when it could not be created
    int32_t focused;
    int32_t focus[4]; // left, top, right, bottom of the focus rectangle
    int32_t box[4];   // LOX, LOY, RUX, RUY
    int32_t click[2];
    int32_t text_bottom;
    char reply[DISP_REPLY];
};

// Makes a new picture of the current size with background and frame; the old one is deleted.
void disp_new_picture(HWND window, disp_record *display);
// Background and frame over the picture.
void disp_draw_background(HWND window, disp_record *display);
// Runs one drawing command in the picture (message: the whole command text).
void disp_draw(HWND window, disp_record *display, const disp_command *command, const char *message);
// Copies a bitmap centred into the picture.
void disp_draw_copied(HWND window, disp_record *display, HBITMAP bitmap, int width, int height);
