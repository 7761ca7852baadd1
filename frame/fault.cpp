// The failure switch of the platform layer: one count over every writing operation.
#include "frame/fault.h"

static int armed_at;
static int counted;
static bool struck;

void fault_arm(int n) {
    armed_at = n > 0 ? n : 0;
    counted = 0;
    struck = false;
}

bool fault_strike(void) {
    if (armed_at == 0 || struck) return false;
    if (++counted < armed_at) return false;
    struck = true;
    return true;
}

bool fault_struck(void) {
    return struck;
}
