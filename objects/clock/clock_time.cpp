#include "objects/clock/clock_time.h"

namespace {
__time64_t RuntimeCalendarTime() { return _time64(nullptr); }
// One calendar for every clock of every output: the local time of the process.
DS_CalendarSource g_CalendarSource = RuntimeCalendarTime;
}  // namespace

void SetClockCalendarSource(DS_CalendarSource source) {
  g_CalendarSource = source ? source : RuntimeCalendarTime;
}

bool ClockLocalTime(struct tm& result) {
  const __time64_t now = g_CalendarSource();
  return _localtime64_s(&result, &now) == 0;
}

float HourHandDegrees(const struct tm& time) {
  return (static_cast<float>(time.tm_hour % 12) + static_cast<float>(time.tm_min) / 60.0f) * 30.0f;
}

float MinuteHandDegrees(const struct tm& time) {
  return (static_cast<float>(time.tm_min) + static_cast<float>(time.tm_sec) / 60.0f) * 6.0f;
}
