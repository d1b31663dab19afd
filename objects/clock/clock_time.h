// The local time the clock's hands show: the runtime's 64-bit calendar time converted to local
// time. The calendar source can be replaced (tests, the scene viewer), so that pictures of the
// clock need not depend on the wall clock.
#pragma once

#include <time.h>

using DS_CalendarSource = __time64_t (*)();

// Null puts the runtime's clock back.
void SetClockCalendarSource(DS_CalendarSource source);
// The current local time; false when the conversion fails.
bool ClockLocalTime(struct tm& result);

// The hands' angles in degrees, clockwise from 12: the hour hand moves with the minutes (the
// hour taken modulo 12), the minute hand with the seconds.
float HourHandDegrees(const struct tm& time);
float MinuteHandDegrees(const struct tm& time);
