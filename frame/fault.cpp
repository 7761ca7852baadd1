// The failure switch of the platform layer: one count over every writing operation. It is armed
// before an operation starts; the count and the strike are shared by the threads of a walk.
#include "frame/fault.h"
#include <atomic>

static int armed_at;
static int armed_kinds;
static std::atomic<int> counted;
static std::atomic<bool> struck;

void fault_arm(int n, int kinds) {
    armed_at = n > 0 ? n : 0;
    armed_kinds = kinds;
    counted = 0;
    struck = false;
}

bool fault_strike(int kind) {
    if (armed_at == 0 || struck || !(armed_kinds & kind)) return false;
    if (++counted < armed_at) return false;
    struck = true;
    return true;
}

bool fault_struck(void) {
    return struck;
}
