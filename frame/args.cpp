// The words of the program's command line, split once at first use from the application
// record's command line and kept in fixed areas.
#include "frame/args.h"

#include "frame/app.h"
#include "frame/text.h"

// Only the program path is used by the program itself; later words and longer words are cut.
enum { ARGS_MAX = 64, ARG_TEXT_MAX = 260 };

static char words[ARGS_MAX][ARG_TEXT_MAX + 1];
static int word_count;
static bool split_done;

// Copies one word starting at line into the next area (cut to it); the position after the word.
static const char *take_word(const char *line) {
    char *out = word_count < ARGS_MAX ? words[word_count] : NULL;
    int length = 0;
    bool quoted = *line == '"';
    if (quoted) line++;
    for (; *line; line++) {
        if (quoted ? *line == '"' : text_is_space((unsigned char)*line)) break;
        if (out && length < ARG_TEXT_MAX) out[length++] = *line;
    }
    if (quoted && *line == '"') line++;
    if (out) {
        out[length] = 0;
        word_count++;
    }
    return line;
}

static void split(const char *line) {
    word_count = 0;
    while (line && *line) {
        while (text_is_space((unsigned char)*line)) line++;
        if (*line == 0) break;
        line = take_word(line);
    }
    split_done = true;
}

const char *arg(int n) {
    if (!split_done) {
        frame_app_record *app = frame_app();
        split(app ? app->command_line : NULL);
    }
    return n >= 0 && n < word_count ? words[n] : "";
}

void args_reset(void) {
    split_done = false;
    word_count = 0;
}
