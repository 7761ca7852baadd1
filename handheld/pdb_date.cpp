// Palm database dates: seconds since 1904-01-01 00:00 in local time, counted in whole minutes.
#include "frame/dates.h"
#include "handheld/pdb.h"
#include <stdio.h>

static const date_rec PALM_EPOCH = {4, 1, 1}; // 1904-01-01
enum { SECONDS_PER_DAY = 86400 };

// Days, hours and minutes since the epoch, times 60: the field wraps like the handheld's own
// 32-bit clock after 2040.
uint32_t pdb_date_now(void) {
    datetime_rec now;
    date_now(&now);
    date_rec today = {now.year, now.month, now.day};
    uint32_t days = (uint32_t)(date_day_number(&today) - date_day_number(&PALM_EPOCH));
    return (days * 1440u + now.hour * 60u + now.minute) * 60u;
}

void pdb_date_text(char *out, uint32_t seconds) {
    date_rec day;
    date_add_days(&day, &PALM_EPOCH, (long)(seconds / SECONDS_PER_DAY));
    uint32_t rest = seconds % SECONDS_PER_DAY;
    snprintf(out, PDB_DATE_TEXT + 1, "%04u-%02u-%02u %02u:%02u:%02u",
             ((unsigned)day.year + 1900u) % 10000u, day.month % 100u, day.day % 100u,
             (unsigned)(rest / 3600), (unsigned)(rest / 60 % 60), (unsigned)(rest % 60));
}
