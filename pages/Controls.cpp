#include "pages/Controls.h"

#include "pages/ControlTable.h"

#include <stdexcept>
#include <utility>

namespace quorvel {

const MemoryControls::State& MemoryControls::at(ControlId id) const {
    return controls_.at(static_cast<std::size_t>(indexOf(id)));
}

MemoryControls::State& MemoryControls::at(ControlId id) {
    return const_cast<State&>(std::as_const(*this).at(id));
}

std::string MemoryControls::text(ControlId id) const {
    return at(id).text;
}

void MemoryControls::setText(ControlId id, std::string_view text) {
    at(id).text = std::string(text);
}

bool MemoryControls::enabled(ControlId id) const {
    return at(id).enabled;
}

void MemoryControls::setEnabled(ControlId id, bool enabled) {
    at(id).enabled = enabled;
}

int MemoryControls::comboIndex(ControlId id) const {
    return at(id).comboIndex;
}

void MemoryControls::setComboIndex(ControlId id, int index) {
    at(id).comboIndex = index;
}

} // namespace quorvel
