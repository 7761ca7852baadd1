// The undo steps: a bounded stack of the changes written, each with the text its menu item shows.
#include "timerec/journal_undo.h"
#include "frame/file_lock.h"
#include "frame/memory.h"
#include "frame/messages.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include "timerec/journal_rewrite.h"
#include <stdio.h>
#include <string.h>

struct undo_step {
    journal_change change;
    char label[UNDO_LABEL + 1];
};

static undo_step steps[UNDO_STEPS];
static int step_count;

static void record(const char *label) {
    journal_change change;
    if (!journal_take_change(&change)) return;
    if (step_count == UNDO_STEPS) {
        journal_change_free(&steps[0].change);
        memmove(&steps[0], &steps[1], sizeof steps[0] * (UNDO_STEPS - 1));
        step_count--;
    }
    steps[step_count].change = change;
    snprintf(steps[step_count].label, sizeof steps[step_count].label, "%s", label);
    step_count++;
}

void undo_record_booking(const char *time, const char *project) {
    char label[UNDO_LABEL + 1];
    snprintf(label, sizeof label, text(TXT_UNDO_BOOKING), time, project);
    record(label);
}

void undo_record_day(const char *date) {
    char label[UNDO_LABEL + 1];
    snprintf(label, sizeof label, text(TXT_UNDO_DAY), date);
    record(label);
}

bool undo_menu_text(char *out) {
    snprintf(out, UNDO_LABEL + 1, "%s", step_count ? steps[step_count - 1].label : text(TXT_UNDO));
    return step_count > 0;
}

void undo_clear(void) {
    for (int i = 0; i < step_count; i++) journal_change_free(&steps[i].change);
    step_count = 0;
}

// Whether content still holds what the change left: its size and the bytes it wrote.
static bool still_there(const journal_text *content, const journal_change *change) {
    return (int64_t)content->size == change->size_after &&
           change->offset + (int64_t)change->written_size <= change->size_after &&
           memcmp(content->bytes + change->offset, change->written, change->written_size) == 0;
}

// Puts the removed bytes back in place of the written ones; 0, -1, or 1 when the file changed.
static int restore(const journal_change *change) {
    journal_text content;
    if (file_lock_take(change->path) != 0) return -1;
    int result = journal_read_whole(change->path, &content);
    if (result == 0 && !still_there(&content, change)) result = 1;
    char *bytes = nullptr;
    size_t size = 0;
    if (result == 0) {
        size_t head = (size_t)change->offset, tail = head + change->written_size;
        size = head + change->removed_size + (content.size - tail);
        bytes = (char *)fmalloc(size + 1, 1);
        if (!bytes) result = -1;
        if (bytes) {
            memcpy(bytes, content.bytes, head);
            memcpy(bytes + head, change->removed, change->removed_size);
            memcpy(bytes + head + change->removed_size, content.bytes + tail, content.size - tail);
        }
    }
    if (result == 0) result = journal_rewrite(change->path, &content, bytes, size);
    file_lock_release(change->path);
    ffree(bytes);
    journal_text_free(&content);
    // Taking back is no step of its own.
    journal_change undone;
    if (result == 0 && journal_take_change(&undone)) journal_change_free(&undone);
    return result;
}

int undo_last(void) {
    if (step_count == 0) return -1;
    undo_step *step = &steps[step_count - 1];
    int result = restore(&step->change);
    if (result == 1) {
        msg_warn(text(TXT_UNDO_REFUSED), step->change.path);
        undo_clear();
        return -1;
    }
    if (result != 0) {
        msg_warn(text(TXT_CANNOT_WRITE_JOURNAL), step->change.path);
        return -1;
    }
    journal_change_free(&step->change);
    step_count--;
    return 0;
}
