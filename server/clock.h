// The server's wall clock, in UTC.
#pragma once

#include <cstdint>
#include <string>

namespace server {

// Unix time in milliseconds.
int64_t NowMs();
// "2026-12-09T01:02:03Z".
std::string IsoUtc(int64_t ms);
// The start of the UTC day, and of the UTC week (Monday), that ms lies in.
int64_t DayStartMs(int64_t ms);
int64_t WeekStartMs(int64_t ms);

}  // namespace server
