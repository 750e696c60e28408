#include "xer/RiskTypeReferences.h"

namespace zembrel::xer {

bool RiskTypeReferences::add(const IdKey& type) {
    if (contains(type))
        return true;
    if (m_order.size() >= m_limit)
        return false;
    m_set.insert(type);
    m_order.push_back(type);
    m_list.push_back(idText(type));
    return true;
}

void RiskTypeReferences::setParent(const IdKey& type, const IdKey& parent) {
    if (parent == idKey({}))
        return;
    // A record that repeats one already met adds nothing.
    const auto [first, last] = m_parentOf.equal_range(type);
    for (auto it = first; it != last; ++it) {
        if (it->second == parent)
            return;
    }
    m_parentOf.emplace(type, parent);
}

bool RiskTypeReferences::addParents() {
    for (std::size_t i = 0; i < m_order.size(); ++i) {
        const auto [first, last] = m_parentOf.equal_range(m_order[i]);
        for (auto it = first; it != last; ++it) {
            if (!add(it->second))
                return false;
        }
    }
    return true;
}

} // namespace zembrel::xer
