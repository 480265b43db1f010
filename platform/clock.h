#pragma once

namespace platform {

struct CalendarDate
{
    int year = 1970;
    int month = 1; // 1..12
    int day = 1;   // 1..31
};

// Today's date in the machine's local time zone; tables record it as their update date.
CalendarDate Today();

} // namespace platform
