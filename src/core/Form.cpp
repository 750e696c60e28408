#include "core/Form.h"

#include <algorithm>

namespace zembrel {

std::string ControlDescription::key() const {
    return index ? name + "(" + std::to_string(*index) + ")" : name;
}

const ControlDescription* FormDescription::find(std::string_view key) const {
    const auto found = std::find_if(controls.begin(), controls.end(),
                                    [key](const ControlDescription& c) { return c.key() == key; });
    return found == controls.end() ? nullptr : &*found;
}

std::vector<const ControlDescription*> FormDescription::keyboardOrder() const {
    std::vector<const ControlDescription*> order;
    for (const ControlDescription& control : controls)
        if (control.tabIndex)
            order.push_back(&control);
    std::stable_sort(order.begin(), order.end(),
                     [](const ControlDescription* a, const ControlDescription* b) {
                         return *a->tabIndex < *b->tabIndex;
                     });
    return order;
}

const ControlDescription& FormDescription::nextOption(const ControlDescription& option,
                                                      bool back) const {
    std::vector<const ControlDescription*> ring;
    for (const ControlDescription* other : keyboardOrder())
        if (other->kind == ControlKind::OptionButton && other->container == option.container)
            ring.push_back(other);
    const auto here = std::find(ring.begin(), ring.end(), &option);
    if (here == ring.end())
        return option;
    const auto at = static_cast<std::size_t>(here - ring.begin());
    return *ring[(at + (back ? ring.size() - 1 : 1)) % ring.size()];
}

TwipRect FormDescription::clientRect(const ControlDescription& control) const {
    TwipRect rect = control.rect;
    // A frame inside itself, directly or not, would never end: stop after as many steps as
    // there are controls.
    const ControlDescription* inside = &control;
    for (std::size_t step = 0; step < controls.size() && !inside->container.empty(); ++step) {
        inside = find(inside->container);
        if (!inside)
            break;
        rect.left += inside->rect.left;
        rect.top += inside->rect.top;
    }
    return rect;
}

} // namespace zembrel
