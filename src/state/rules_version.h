// The version of the rules of play, sent with an online round's ticket.
#pragma once

namespace state {

// Raised whenever a change lets the same keys from the same start give
// another round (another fall of letters, score or level), so that an
// online server refuses rounds played under rules it does not replay.
inline constexpr int kRulesVersion = 1;

}  // namespace state
