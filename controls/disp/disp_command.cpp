// The display control's command language: parsing, text box, replies, keys and fitting.
#include "controls/disp/disp_command.h"
#include "controls/edit/control_styles.h"
#include "frame/text.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

struct command_name {
    const char *name;
    int id;
    int coordinates; // leading numbers that are coordinates (negative: from the far edge)
    int numbers;     // leading numbers in all
    int has_text;    // the rest of the command is a text or file name
};

static const command_name COMMANDS[] = {
    {"CLEAR", DISP_CLEAR, 0, 0, 0},     {"FRAME", DISP_FRAME, 0, 0, 0},
    {"COLOR", DISP_COLOR, 0, 3, 0},     {"FONT", DISP_FONT, 0, 1, 0},
    {"LINE", DISP_LINE, 4, 4, 0},       {"RECT", DISP_RECT, 4, 4, 0},
    {"FILL", DISP_FILL, 4, 4, 0},       {"TEXT", DISP_TEXT, 2, 2, 1},
    {"LTEXT", DISP_TEXT, 2, 2, 1},      {"CTEXT", DISP_CTEXT, 2, 2, 1},
    {"RTEXT", DISP_RTEXT, 2, 2, 1},     {"BBX", DISP_BBX, 0, 0, 0},
    {"BBXTEXT", DISP_BBXTEXT, 0, 0, 0}, {"BMP", DISP_BMP, 2, 2, 1},
    {"BMPS", DISP_BMPS, 4, 4, 1},       {"WMF", DISP_WMF, 4, 4, 1},
    {"FOCUS", DISP_FOCUS, 0, 4, 0},     {"PAINT", DISP_PAINT, 0, 0, 0},
    {"GET", DISP_GET, 0, 0, 0},
};

static const command_name *find_command(const char *word) {
    for (const command_name &command : COMMANDS)
        if (strcmp(command.name, word) == 0) return &command;
    return nullptr;
}

static void order(int *low, int *high) {
    if (*low > *high) {
        int swap = *low;
        *low = *high;
        *high = swap;
    }
}

// BBX: side name (upper case), operator and number, each word cut to DISP_BOX_WORD characters.
static void parse_box(disp_command *command, char *rest) {
    char word[DISP_COMMAND_READ + 1];
    text_token(word, sizeof word, rest);
    word[DISP_BOX_WORD] = 0;
    text_upper(word);
    text_copy_max(command->text, word, DISP_BOX_WORD);
    text_token(word, sizeof word, rest);
    command->box_operator = word[0];
    text_token(word, sizeof word, rest);
    word[DISP_BOX_WORD] = 0;
    command->numbers[0] = control_int(word);
}

void disp_parse(disp_command *command, const char *message, int width, int height) {
    memset(command, 0, sizeof *command);
    char rest[DISP_COMMAND_READ + 1];
    text_copy_max(rest, message, DISP_COMMAND_READ);
    char word[DISP_COMMAND_READ + 1];
    text_token(word, sizeof word, rest);
    text_upper(word);
    const command_name *name = find_command(word);
    if (!name) return;
    command->id = name->id;
    for (int i = 0; i < name->numbers; i++) {
        text_token(word, sizeof word, rest);
        int value = control_int(word);
        if (i < name->coordinates && value < 0) value += i % 2 == 0 ? width : height;
        command->numbers[i] = value;
    }
    if (name->has_text) text_copy_max(command->text, rest, DISP_COMMAND_READ);
    if (name->id == DISP_BBX) parse_box(command, rest);
    if (name->id == DISP_GET) {
        text_token(command->text, sizeof command->text, rest);
        text_upper(command->text);
    }
    if (name->id == DISP_RECT || name->id == DISP_FILL) {
        order(&command->numbers[0], &command->numbers[2]);
        order(&command->numbers[1], &command->numbers[3]);
    }
}

const char *disp_box_text(const char *message) {
    while (text_is_space((unsigned char)*message)) message++;
    while (*message && !text_is_space((unsigned char)*message)) message++;
    while (text_is_space((unsigned char)*message)) message++;
    return message;
}

void disp_box_set(int32_t box[4], int text_bottom, const disp_command *command) {
    static const char *const SIDES[4] = {"LOX", "LOY", "RUX", "RUY"};
    for (int side = 0; side < 4; side++) {
        if (strcmp(command->text, SIDES[side]) != 0) continue;
        int number = command->numbers[0];
        if (command->box_operator == '=')
            box[side] = number;
        else if (command->box_operator == '+')
            box[side] += number;
        else if (command->box_operator == '.')
            box[side] = number + text_bottom;
    }
}

void disp_reply(char *reply, const char *word, int width, int height, const int32_t click[2],
                const int32_t box[4]) {
    if (strcmp(word, "SIZE") == 0)
        snprintf(reply, DISP_REPLY, "%d %d", width, height);
    else if (strcmp(word, "CLICK") == 0)
        snprintf(reply, DISP_REPLY, "%d %d", (int)click[0], (int)click[1]);
    else if (strcmp(word, "BBX") == 0)
        snprintf(reply, DISP_REPLY, "%d %d %d %d", (int)box[0], (int)box[1], (int)box[2],
                 (int)box[3]);
}

struct key_letter {
    int key;
    char letter;
};

// The system's virtual key codes and the letters they report.
static const key_letter KEYS[] = {
    {0x0D, 'C'}, {0x20, 'S'}, {0x21, 'P'}, {0x22, 'N'}, {0x23, 'E'},
    {0x24, 'H'}, {0x25, 'L'}, {0x26, 'U'}, {0x27, 'R'}, {0x28, 'D'},
};
enum { KEY_INSERT = 0x2D, KEY_DELETE = 0x2E };

static int letter_of(int key, int shift, int ctrl) {
    for (const key_letter &entry : KEYS)
        if (entry.key == key) return entry.letter;
    if (key == KEY_INSERT) return shift ? 'v' : ctrl ? 'c' : 'i';
    if (key == KEY_DELETE) return shift ? 'x' : 'd';
    if (!ctrl) return 0;
    int upper = key >= 'a' && key <= 'z' ? key - 32 : key;
    if (upper == 'C') return 'c';
    if (upper == 'V') return 'v';
    if (upper == 'X') return 'x';
    return 0;
}

int disp_key_letter(int key, int shift, int ctrl, int *kind) {
    *kind = shift ? DN_SHIFTKEY : DN_KEY;
    return letter_of(key, shift, ctrl);
}

int disp_click_kind(int shift, int ctrl) {
    if (ctrl) return DN_CTRLCLICK;
    return shift ? DN_SHIFTCLICK : DN_CLICK;
}

// Moves a coordinate by an amount, kept inside the range of int.
static int moved(int value, double amount) {
    double result = (double)value + amount;
    if (result > 2147483647.0) return 2147483647;
    if (result < -2147483647.0) return -2147483647;
    return (int)result;
}

// Works in double so that coordinates from anywhere in the range of int cannot overflow.
void disp_fit(int rect[4], int w, int h) {
    double width = (double)rect[2] - rect[0], height = (double)rect[3] - rect[1];
    double target = height != 0 ? width / height : 1.0;
    if (target < 0.1) target = 1.0;
    double source = h != 0 ? (double)w / h : 1.0;
    if (source < 0.1) source = 1.0;
    if (target < source) {
        double gap = trunc((height - width / source) * 0.5);
        rect[1] = moved(rect[1], gap);
        rect[3] = moved(rect[3], -gap);
    } else if (target > source) {
        double gap = trunc((width - height * source) * 0.5);
        rect[0] = moved(rect[0], gap);
        rect[2] = moved(rect[2], -gap);
    }
}
