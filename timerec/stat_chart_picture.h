// The statistics chart as the pictures "&Kopieren" adds to the clipboard (Windows only).
#pragma once
#include "timerec/stat_chart.h"

// Adds the laid-out chart to the clipboard the copy text was just put on, as an enhanced
// metafile and as a bitmap; 0, or -1 when either could not be made or put there.
int stat_chart_copy_picture(const stat_chart *chart);
