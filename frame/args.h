// The words of the program's command line (taken from the application record's command line).
#pragma once

// The n-th word, 0 being the program path; "" when n is out of range.
const char *arg(int n);
// Forgets the words (the next arg() splits the command line again); used when it is changed.
void args_reset(void);
