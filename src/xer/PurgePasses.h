#pragma once

#include "platform/Failure.h"
#include "platform/Ui.h"
#include "xer/XerLineReader.h"
#include "xer/XerLineWriter.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace zembrel::xer {

enum class PassEnd { Done, Stopped };

// The risk types that risks refer to: the list in the order first met, a set for the look-ups,
// and the parent of each risk type that names one.
class RiskTypeReferences {
public:
    explicit RiskTypeReferences(std::vector<std::string>& list) : m_list(list) {}

    // False when the list would outgrow its 32-bit count.
    bool add(std::string_view type);
    bool contains(std::string_view type) const { return m_set.find(type) != m_set.end(); }
    void setParent(std::string_view type, std::string_view parent);
    // Adds the parents of every listed type, and theirs, so that no kept type points at a
    // removed one. Types already listed end the climb, so cycles end too.
    void addParents();
    std::size_t count() const { return m_list.size(); }
    std::size_t longest() const;

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };
    std::vector<std::string>& m_list;
    std::unordered_set<std::string, Hash, std::equal_to<>> m_set;
    std::unordered_map<std::string, std::string, Hash, std::equal_to<>> m_parentOf;
};

// Each pass reads its input to the end. It lets the window process its events before each
// line and stops when the program is closing.

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
