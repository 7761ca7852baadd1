// Failures made on purpose in the platform layer's writing operations (write, sync, rename,
// truncate) and in memory allocation, so that tests can fail the n-th of them and check that no
// file is ever left torn.
#pragma once

// From now on the n-th such operation fails (n >= 1); 0 stops failing. Either way the count of
// operations starts again at 0.
void fault_arm(int n);
// Counts one operation; true when it is the one that must fail.
bool fault_strike(void);
// Whether the armed failure has happened since fault_arm.
bool fault_struck(void);
