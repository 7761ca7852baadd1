// The day editor "DB1170": the Win32 side that reads its fields and calls the day core.
#include "timerec/day_editor.h"

void day_editor_open(const char *) {}
