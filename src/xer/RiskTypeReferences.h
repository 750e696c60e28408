#pragma once

#include "xer/FieldReader.h"

#include <cstdint>
#include <limits>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace zembrel::xer {

// The risk types that risks refer to: the list in the order first met, a set for the look-ups,
// and the parent of each risk type that names one. Ids are kept as IdKeys, so a long id costs
// no more than a short one; the shared list shows each as its text, or as its digest when long.
class RiskTypeReferences {
public:
    // The list holds at most limit types: its count is a 32-bit number.
    explicit RiskTypeReferences(
        std::vector<std::string>& list,
        std::size_t limit = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        : m_list(list), m_limit(limit) {}

    // False when the list would outgrow its limit.
    bool add(const IdKey& type);
    bool contains(const IdKey& type) const { return m_set.find(type) != m_set.end(); }
    // Every record that declares a type counts: a type declared twice, in one table or in two,
    // may name two parents, and both are kept with it.
    void setParent(const IdKey& type, const IdKey& parent);
    // Adds the parents of every listed type, and theirs, so that no kept type points at a
    // removed one. Types already listed end the climb, so cycles end too. False when the list
    // would outgrow its limit.
    [[nodiscard]] bool addParents();
    std::size_t count() const { return m_order.size(); }

private:
    std::vector<std::string>& m_list;
    std::size_t m_limit;
    std::vector<IdKey> m_order;
    std::unordered_set<IdKey> m_set;
    std::unordered_multimap<IdKey, IdKey> m_parentOf;
};

} // namespace zembrel::xer
