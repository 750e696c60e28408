#pragma once

#include "platform/Failure.h"
#include "platform/Ui.h"
#include "xer/LineWalker.h"
#include "xer/RiskTypeReferences.h"

#include <cstdint>

namespace zembrel::xer {

// The three passes of the purge. Each reads its input to the end through walkLines: the window
// processes its events before each line, and a request to stop ends the pass at once.

// Copies input to output without the POBS tables, counting the records left out.
Outcome<PassEnd> pobsPass(XerLineReader& input, XerLineWriter& output, EventPump& events,
                          std::int32_t& removed);

// Collects the risk types that the PROJRISK and PRORISK tables refer to, and the parents that
// the RISKTYPE tables name.
Outcome<PassEnd> referencePass(XerLineReader& input, EventPump& events,
                               RiskTypeReferences& references);

// Copies input to output keeping only the referenced RISKTYPE records; counts the records met
// and those kept.
Outcome<PassEnd> riskTypePass(XerLineReader& input, XerLineWriter& output, EventPump& events,
                              const RiskTypeReferences& references, std::int32_t& met,
                              std::int32_t& kept);

} // namespace zembrel::xer
