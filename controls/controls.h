// What a user of the four control libraries needs: library files and window classes, style
// bits, the escape command character, the bitmap hand-over and the notifications and commands
// the controls send. The program, the libraries and their tests all take them from here.
#pragma once

#define CONTROL_LIBRARY_EDIT "torkedit.dll"
#define CONTROL_LIBRARY_SHOW "torkshow.dll"
#define CONTROL_LIBRARY_DISP "torkdisp.dll"
#define CONTROL_LIBRARY_GRBU "torkgrbu.dll"
#define CONTROL_CLASS_EDIT "TORKEDIT"
#define CONTROL_CLASS_SHOW "TORKSHOW"
#define CONTROL_CLASS_DISP "TORKDISP"
#define CONTROL_CLASS_GRBU "TORKGRBU"

// Style bits in the low byte of a control's window style (the rest keeps its system meaning).
enum control_style_bits {
    TS_FRAME = 0x03,        // frame kind: 0 none, 1 black line, 2 raised, 3 sunken
    TS_FRAME_SUNKEN = 0x03, // the two-pixel sunken frame of input fields
    TS_FACE = 0x08,         // button-face background when no background colour is set
    TS_CENTER = 0x10,       // show control: centred on one line
    TS_RIGHT = 0x20,        // show control: right-aligned on one line
    TS_DEFER = 0x20,        // edit control: a value set during user editing waits for focus loss
    TS_BLANKZERO = 0x40,    // edit control: an unfocused zero value is not drawn
    TS_WRAP = 0x40,         // show control: word-wrapped text
};

// A WM_SETTEXT text starting with this character is an escape command of the edit and show
// controls: ESC, a letter (H background, V text colour, S style byte, T type) and numbers.
enum { ESC_CHAR = 27 };
#define CONTROL_ESC "\x1b"

// dwData of a WM_COPYDATA whose lpData points at a bitmap handle (display and button
// controls); the sender keeps and deletes its bitmap.
enum { CD_BITMAP = 1 };

// Notification code (high word of WM_COMMAND's wParam) of a click on a show control.
enum { SHN_CLICK = 0x0400 };

// Notification kinds of the display control (low word of WM_COMMAND's lParam; the high word
// carries the key letter, or '1' / '2' for the left / right button).
enum disp_kind {
    DN_KEY = 1,
    DN_SHIFTKEY = 2,
    DN_CLICK = 3,
    DN_SHIFTCLICK = 4,
    DN_CTRLCLICK = 5,
    DN_DBLCLK = 6,
};
// Focus notifications of the display control: kind 0, this code in the high word of lParam.
enum { DISP_FOCUS_GAINED = 0x0100, DISP_FOCUS_LOST = 0x0200 };

// Commands the display control posts to its parent with the mouse position in lParam.
enum { CMD_DISP_MOUSEDOWN = 2062, CMD_DISP_MOUSEMOVE = 2063, CMD_DISP_MOUSEUP = 2064 };
