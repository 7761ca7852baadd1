// The present moment: one clock for the whole program. Production reads the local clock; tests
// and kxcli --now fix it.
#pragma once
#include "frame/platform.h"

void clock_now(platform_time *now);
// Fixes the present moment (seconds as given); clock_release returns to the local clock.
void clock_fix(const platform_time *moment);
void clock_release(void);
