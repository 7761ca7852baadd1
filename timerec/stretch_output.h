// The text that stretches of a journal walk write at the same time, going out in the order of
// the stretches: the bytes of the stretch whose turn it is go out at once, those of later ones
// are kept until their turn comes.
#pragma once
#include "timerec/journal.h"
#include <mutex>

// Takes the next bytes of the text; 0, or -1 when they cannot be kept.
typedef int (*stretch_write_fn)(const char *bytes, size_t length, void *context);

struct stretch_piece;

// One stretch's place in the order, and what it has kept.
struct stretch_sink {
    struct stretch_output *all;
    int index;
    stretch_piece *first, *last;
    bool done, ended;
};

struct stretch_output {
    std::mutex lock;
    stretch_write_fn write;
    void *context;
    bool failed;
    int turn;      // the stretch whose bytes go out now
    bool finished; // a stretch whose turn came ended the text: no later one goes out
    stretch_piece *spare;
    stretch_sink sinks[JOURNAL_PARTS_MAX];
};

void stretch_output_begin(stretch_output *out, stretch_write_fn write, void *context);
// The next bytes of a stretch; 0, or -1 when writing failed (now or before).
int stretch_output_put(stretch_sink *sink, const char *bytes, size_t length);
// The stretch has written all it will (ended: the file's text ended in it): later stretches
// whose turn thereby comes go out.
void stretch_output_done(stretch_sink *sink, bool ended);
// Returns what was kept; whether every byte that went out was written (0) or not (-1).
int stretch_output_end(stretch_output *out);
