// The version of the rules of play, sent with an online round's ticket.
#pragma once

namespace state {

// Raised whenever a change lets the same keys from the same start give
// another round (another fall of letters, score or level), so that an
// online server refuses rounds played under rules it does not replay.
inline constexpr int kRulesVersion = 1;

// How long a game waits for its round's ticket before it plays the round offline. The round's
// clock runs from the pass that asked for it, so a round may end up to this long sooner after
// its ticket than its length: the server allows it that much.
inline constexpr int kTicketWaitMs = 1000;

}  // namespace state
