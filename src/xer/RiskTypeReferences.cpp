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
    if (parent != idKey({}))
        m_parentOf.emplace(type, parent); // the first record of a type names its parent
}

bool RiskTypeReferences::addParents() {
    for (std::size_t i = 0; i < m_order.size(); ++i) {
        const auto parent = m_parentOf.find(m_order[i]);
        if (parent != m_parentOf.end() && !add(parent->second))
            return false;
    }
    return true;
}

} // namespace zembrel::xer
