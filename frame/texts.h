// The program's texts: string table entries by id, with a fixed wording for missing ones.
#pragma once

enum { TEXT_MAX = 500, TEXT_RING = 10 };

// The text of id in the next area of a ring of ten; valid until ten further calls.
const char *text(int id);
// The text of id into buffer (at most size-1 characters); the number of characters.
int text_copy(int id, char *buffer, int size);
// Frees the ring (program end); the next text() allocates it again.
void text_release(void);
