// Stretches' text put in order: kept in pieces taken from spare ones where they can be.
#include "timerec/stretch_output.h"
#include "frame/memory.h"
#include <string.h>

enum { PIECE_BYTES = 1 << 18 };

struct stretch_piece {
    stretch_piece *next;
    size_t used;
    char bytes[PIECE_BYTES];
};

void stretch_output_begin(stretch_output *out, stretch_write_fn write, void *context) {
    out->write = write;
    out->context = context;
    out->failed = false;
    out->turn = 0;
    out->finished = false;
    out->spare = nullptr;
    for (int k = 0; k < JOURNAL_PARTS_MAX; k++)
        out->sinks[k] = {out, k, nullptr, nullptr, false, false};
}

static void write_out(stretch_output *out, const char *bytes, size_t length) {
    if (length > 0 && !out->failed && out->write(bytes, length, out->context) != 0)
        out->failed = true;
}

static stretch_piece *take_piece(stretch_output *out) {
    stretch_piece *piece = out->spare;
    if (piece)
        out->spare = piece->next;
    else
        piece = (stretch_piece *)fmalloc(1, sizeof(stretch_piece));
    if (piece) {
        piece->next = nullptr;
        piece->used = 0;
    }
    return piece;
}

// Keeps bytes in the sink's pieces; false when memory is short.
static bool keep(stretch_sink *sink, const char *bytes, size_t length) {
    while (length > 0) {
        stretch_piece *last = sink->last;
        if (!last || last->used == PIECE_BYTES) {
            if (!(last = take_piece(sink->all))) return false;
            (sink->last ? sink->last->next : sink->first) = last;
            sink->last = last;
        }
        size_t count = PIECE_BYTES - last->used < length ? PIECE_BYTES - last->used : length;
        memcpy(last->bytes + last->used, bytes, count);
        last->used += count;
        bytes += count;
        length -= count;
    }
    return true;
}

// The kept pieces of the sink out (when write) and back to the spare ones.
static void give_kept(stretch_sink *sink, bool write) {
    stretch_output *out = sink->all;
    while (stretch_piece *piece = sink->first) {
        if (write) write_out(out, piece->bytes, piece->used);
        sink->first = piece->next;
        piece->next = out->spare;
        out->spare = piece;
    }
    sink->last = nullptr;
}

int stretch_output_put(stretch_sink *sink, const char *bytes, size_t length) {
    stretch_output *out = sink->all;
    std::lock_guard<std::mutex> hold(out->lock);
    if (out->turn == sink->index)
        write_out(out, bytes, length);
    else if (!keep(sink, bytes, length))
        out->failed = true;
    return out->failed ? -1 : 0;
}

void stretch_output_done(stretch_sink *sink, bool ended) {
    stretch_output *out = sink->all;
    std::lock_guard<std::mutex> hold(out->lock);
    sink->done = true;
    sink->ended = ended;
    // Each stretch whose turn comes writes what it kept; a done one passes the turn on.
    while (!out->finished && out->turn < JOURNAL_PARTS_MAX) {
        stretch_sink *current = &out->sinks[out->turn];
        give_kept(current, true);
        if (!current->done) break;
        if (current->ended)
            out->finished = true;
        else
            out->turn++;
    }
}

int stretch_output_end(stretch_output *out) {
    for (stretch_sink &sink : out->sinks) give_kept(&sink, false);
    while (stretch_piece *piece = out->spare) {
        out->spare = piece->next;
        ffree(piece);
    }
    return out->failed ? -1 : 0;
}
