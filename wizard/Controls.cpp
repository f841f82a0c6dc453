#include "wizard/Controls.h"

namespace quorvel {

const MemoryControls::State* MemoryControls::find(std::string_view name) const {
    auto it = controls_.find(std::string(name));
    return it == controls_.end() ? nullptr : &it->second;
}

std::string MemoryControls::text(std::string_view name) const {
    const State* state = find(name);
    return state ? state->text : std::string();
}

void MemoryControls::setText(std::string_view name, std::string_view text) {
    controls_[std::string(name)].text = std::string(text);
}

bool MemoryControls::enabled(std::string_view name) const {
    const State* state = find(name);
    return state ? state->enabled : true;
}

void MemoryControls::setEnabled(std::string_view name, bool enabled) {
    controls_[std::string(name)].enabled = enabled;
}

int MemoryControls::comboIndex(std::string_view name) const {
    const State* state = find(name);
    return state ? state->comboIndex : 0;
}

void MemoryControls::setComboIndex(std::string_view name, int index) {
    controls_[std::string(name)].comboIndex = index;
}

} // namespace quorvel
