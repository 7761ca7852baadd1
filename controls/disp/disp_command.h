// The display control's command language without its window: parsing a command text, the
// text box, the replies of "GET", the key letters and click kinds it reports, and fitting a
// picture into a rectangle.
#pragma once
#include "controls/controls.h"

#include <stdint.h>

enum { DISP_COMMAND_READ = 100, DISP_BOX_WORD = 11, DISP_REPLY = 204 };

enum disp_command_id {
    DISP_UNKNOWN,
    DISP_CLEAR,
    DISP_FRAME,
    DISP_COLOR,
    DISP_FONT,
    DISP_LINE,
    DISP_RECT,
    DISP_FILL,
    DISP_TEXT, // also LTEXT
    DISP_CTEXT,
    DISP_RTEXT,
    DISP_BBX,
    DISP_BBXTEXT,
    DISP_BMP,
    DISP_BMPS,
    DISP_WMF,
    DISP_FOCUS,
    DISP_PAINT,
    DISP_GET,
};

// Notification kinds (low word of lParam).

// The text box sides, in this order in disp_box.
enum { BOX_LOX, BOX_LOY, BOX_RUX, BOX_RUY };

struct disp_command {
    int id;
    // Coordinates, colour parts or the font number; coordinates already counted from the
    // right and bottom edges where they were negative, RECT and FILL corners ordered.
    int numbers[4];
    // The text of the text commands, the file name of the file commands, the second word of
    // GET (upper case), the side name of BBX (upper case).
    char text[DISP_COMMAND_READ + 1];
    char box_operator; // first character of the BBX operator
};

// Reads at most the first DISP_COMMAND_READ characters of message; width and height are the
// size of the control at that moment.
void disp_parse(disp_command *command, const char *message, int width, int height);
// The text of "BBXTEXT", taken from the whole message: after the first word and the white
// space behind it.
const char *disp_box_text(const char *message);
// Changes one side of the text box by a BBX command.
void disp_box_set(int32_t box[4], int text_bottom, const disp_command *command);
// The reply of a GET command; the reply (DISP_REPLY bytes) stays as it was for other words.
void disp_reply(char *reply, const char *word, int width, int height, const int32_t click[2],
                const int32_t box[4]);
// The letter a key reports (0 when the key reports nothing); *kind receives DN_KEY or
// DN_SHIFTKEY.
int disp_key_letter(int key, int shift, int ctrl, int *kind);
// The kind of a left button press.
int disp_click_kind(int shift, int ctrl);
// Narrows the rectangle (x1, y1, x2, y2) to the proportions of a w x h source, centred.
void disp_fit(int rect[4], int w, int h);
