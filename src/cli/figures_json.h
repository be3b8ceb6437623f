// The figures that several commands give in JSON, given alike.
#pragma once

#include <optional>

#include "cli/json_text.h"
#include "reports/score_report.h"
#include "stats/head_to_head.h"

namespace tessik {

// games, won, drawn, lost and the percentage scored.
Json CountsJson(const ScoreCounts& counts);

// The current streak (its result and games) and the longest won and lost.
Json StreaksJson(const Streaks& streaks);

// The performance's rating, average opponent rating, score in percent, rating difference and
// games; null for none.
Json PerformanceJson(const std::optional<Performance>& performance);

}  // namespace tessik
