// The present moment: the local clock, or a moment fixed by tests and kxcli --now.
#include "frame/clock.h"

static bool fixed;
static platform_time fixed_moment;

void clock_now(platform_time *now) {
    if (fixed)
        *now = fixed_moment;
    else
        platform_local_time(now);
}

void clock_fix(const platform_time *moment) {
    fixed_moment = *moment;
    fixed = true;
}

void clock_release(void) {
    fixed = false;
}
