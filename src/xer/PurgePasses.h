#pragma once

#include "platform/Failure.h"
#include "platform/Ui.h"
#include "xer/LineWalker.h"
#include "xer/RiskTypeReferences.h"

#include <cstdint>

namespace zembrel::xer {

// The passes of the purge. Each reads its input to the end through walkLines: the window
// processes its events before each line, and a request to stop ends the pass at once.

// The risk types that the PROJRISK and PRORISK tables of the intermediate file refer to, and the
// parents that its RISKTYPE tables name, collected by the pass that writes the intermediate file
// from the lines as that file holds them. The first failure (a record without the field that
// names its risk type, a list past its limit) ends the collection and waits in `failure` until
// the pass has ended, so that a failure of the pass itself comes first.
struct ReferenceCollection {
    explicit ReferenceCollection(RiskTypeReferences& r) : references(r) {}
    RiskTypeReferences& references;
    Status failure;
};

// Copies input to output without the POBS tables, counting the records left out, and collects
// the references of the lines it writes when asked to.
Outcome<PassEnd> pobsPass(XerLineReader& input, XerLineWriter& output, EventPump& events,
                          std::int32_t& removed, ReferenceCollection* references = nullptr);

// Reads input to its end, collecting the references of its lines, while its file copies itself
// (when there is nothing to leave out, the copy is the intermediate file).
Outcome<PassEnd> referencePass(XerLineReader& input, EventPump& events,
                               ReferenceCollection& references);

// Copies input to output keeping only the referenced RISKTYPE records; counts the records met
// and those kept.
Outcome<PassEnd> riskTypePass(XerLineReader& input, XerLineWriter& output, EventPump& events,
                              const RiskTypeReferences& references, std::int32_t& met,
                              std::int32_t& kept);

} // namespace zembrel::xer
