// Failures made on purpose in the platform layer's writing operations (write, sync, rename,
// truncate) and in memory allocation, so that tests can fail the n-th of them and check that no
// file is ever left torn.
#pragma once

enum fault_kind { FAULT_FILE = 1, FAULT_MEMORY = 2, FAULT_ANY = 3 };

// From now on the n-th operation of the kinds given (bits of fault_kind) fails (n >= 1); 0 stops
// failing. Either way the count of operations starts again at 0.
void fault_arm(int n, int kinds = FAULT_ANY);
// Counts one operation of the kind; true when it is the one that must fail.
bool fault_strike(int kind = FAULT_FILE);
// Whether the armed failure has happened since fault_arm.
bool fault_struck(void);
