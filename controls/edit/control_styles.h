// Style bits in the low byte of a control's window style, shared by the four control libraries,
// and the limits and number reading their messages have in common.
#pragma once
#include <stdint.h>

enum control_style_bits {
    TS_FRAME = 0x03,     // frame kind 0 none, 1 black line, 2 raised, 3 sunken
    TS_FACE = 0x08,      // button-face background when no background colour is set
    TS_CENTER = 0x10,    // show control: centred on one line
    TS_RIGHT = 0x20,     // show control: right-aligned on one line
    TS_DEFER = 0x20,     // edit control: a value set during user editing waits for focus loss
    TS_BLANKZERO = 0x40, // edit control: an unfocused zero value is not drawn
    TS_WRAP = 0x40,      // show control: word-wrapped text
};

// dwData of a WM_COPYDATA whose lpData points at a bitmap handle.
enum { CD_BITMAP = 1 };

enum { ESC_CHAR = 27 };

// A decimal integer with an optional sign after optional white space, as the runtime's atoi
// reads it; anything after the digits is ignored, no digits give 0, and the value saturates
// at +-2147483647 instead of overflowing.
int control_int(const char *word);

// The frame kind of a style (0 to 3).
inline int control_frame_kind(uint32_t style) {
    return (int)(style & TS_FRAME);
}
