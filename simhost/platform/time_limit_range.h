// The longest time limit, of a run and of one of validate's checks alike: a
// day. Kept apart from the timer (crash_report.h) so that the options that
// quote it need nothing else of it.
#pragma once

namespace sim {

const unsigned kMostTimeLimitSeconds = 86400;

}  // namespace sim
