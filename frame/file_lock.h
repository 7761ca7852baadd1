// One writer at a time: a lock on the companion file "<name>.lock", which outlives every rename
// that replaces name. Held locks are counted, so that nested takes of one process go through.
#pragma once

enum { FILE_LOCK_WAIT = 10000, FILE_LOCKS_HELD = 8 };

// Takes the lock of name, waiting at most the set time; 0, or -1 with status message 90 when
// another writer held it all the time. Where no lock file can be made, 0 without a lock.
int file_lock_take(const char *name);
// Gives back one take of the lock of name.
void file_lock_release(const char *name);
// How long file_lock_take waits for another writer, in milliseconds.
void file_lock_set_wait(int milliseconds);
