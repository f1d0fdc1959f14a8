// The server's wall clock, in UTC.
#include "server/clock.h"

#include <chrono>

namespace server {

using namespace std::chrono;

int64_t NowMs() {
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::string IsoUtc(int64_t ms) {
  const sys_seconds at{seconds(ms / 1000)};
  const sys_days day = floor<days>(at);
  const year_month_day date{day};
  const hh_mm_ss time{at - day};
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02ld:%02ld:%02lldZ",
                static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                static_cast<unsigned>(date.day()), static_cast<long>(time.hours().count()),
                static_cast<long>(time.minutes().count()),
                static_cast<long long>(time.seconds().count()));
  return text;
}

int64_t DayStartMs(int64_t ms) {
  return duration_cast<milliseconds>(
             floor<days>(sys_time<milliseconds>(milliseconds(ms))).time_since_epoch())
      .count();
}

int64_t WeekStartMs(int64_t ms) {
  const sys_days day = floor<days>(sys_time<milliseconds>(milliseconds(ms)));
  const weekday wd{day};
  const sys_days monday = day - days((wd.c_encoding() + 6) % 7);
  return duration_cast<milliseconds>(monday.time_since_epoch()).count();
}

}  // namespace server
