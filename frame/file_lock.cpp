// Companion lock files, held by this process in a small table of names and handles.
#include "frame/file_lock.h"
#include "frame/messages.h"
#include "frame/path.h"
#include "frame/platform.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include <stdio.h>
#include <string.h>

enum { LOCK_POLL = 10 };

struct held_lock {
    char name[PATH_MAX_TEXT + 1];
    long long handle;
    int takes;
};

static held_lock held[FILE_LOCKS_HELD];
static int wait_limit = FILE_LOCK_WAIT;

void file_lock_set_wait(int milliseconds) {
    wait_limit = milliseconds;
}

static held_lock *find(const char *name) {
    for (held_lock &lock : held)
        if (lock.takes > 0 && strcmp(lock.name, name) == 0) return &lock;
    return nullptr;
}

static held_lock *find_free(void) {
    for (held_lock &lock : held)
        if (lock.takes == 0) return &lock;
    return nullptr;
}

static const long long LOCK_FAILED = -1, LOCK_BUSY = -2;

// Opens the lock file and tries until it is had or the wait is over; the handle, LOCK_FAILED
// when the lock file cannot be opened or locked, or LOCK_BUSY when another writer kept it.
static long long acquire(const char *name) {
    char lock_name[PATH_MAX_TEXT + 1];
    if (snprintf(lock_name, sizeof lock_name, "%s.lock", name) >= (int)sizeof lock_name)
        return LOCK_FAILED;
    long long handle = platform_lock_open(lock_name);
    if (handle < 0) return LOCK_FAILED;
    int tried;
    for (int waited = 0; (tried = platform_lock_try(handle)) == 1 && waited < wait_limit;
         waited += LOCK_POLL)
        platform_sleep(LOCK_POLL);
    if (tried == 0) return handle;
    platform_lock_close(handle);
    return tried < 0 ? LOCK_FAILED : LOCK_BUSY;
}

int file_lock_take(const char *name) {
    if (held_lock *lock = find(name)) {
        lock->takes++;
        return 0;
    }
    held_lock *slot = find_free();
    if (!slot || strlen(name) > PATH_MAX_TEXT) return -1;
    long long handle = acquire(name);
    // A writer that keeps the lock is named. A lock file that cannot be made (a folder the user
    // may write files in but not create them) leaves the writing unguarded rather than impossible:
    // what cannot be written still fails where it is written, with that writer's message.
    if (handle == LOCK_BUSY) {
        status_show(text(TXT_FILE_LOCKED), name);
        return -1;
    }
    text_copy_max(slot->name, name, PATH_MAX_TEXT);
    slot->handle = handle;
    slot->takes = 1;
    return 0;
}

void file_lock_release(const char *name) {
    held_lock *lock = find(name);
    if (!lock || --lock->takes > 0) return;
    if (lock->handle >= 0) platform_lock_close(lock->handle);
    lock->name[0] = 0;
}
