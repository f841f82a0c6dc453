#include "wizard/WizardUi.h"

#include "wizard/ControlTable.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace quorvel {

MemoryWizardUi::MemoryWizardUi() {
    for (const ControlDef& c : controlTable()) {
        State state;
        state.text = std::string(c.caption);
        state.enabled = c.enabled;
        state.itemCount = static_cast<int>(c.items.size());
        state.maximum = c.maximum;
        state.index = c.kind == ControlKind::Slider ? c.position : 0;
        controls_.emplace(std::string(c.name), std::move(state));
    }
}

const MemoryWizardUi::State& MemoryWizardUi::at(std::string_view name) const {
    auto it = controls_.find(name);
    if (it == controls_.end()) {
        throw std::out_of_range("no control named " + std::string(name));
    }
    return it->second;
}

MemoryWizardUi::State& MemoryWizardUi::at(std::string_view name) {
    return const_cast<State&>(std::as_const(*this).at(name));
}

std::string MemoryWizardUi::text(std::string_view name) const {
    return at(name).text;
}

void MemoryWizardUi::setText(std::string_view name, std::string_view text) {
    at(name).text = std::string(text);
}

bool MemoryWizardUi::enabled(std::string_view name) const {
    return at(name).enabled;
}

void MemoryWizardUi::setEnabled(std::string_view name, bool enabled) {
    at(name).enabled = enabled;
}

void MemoryWizardUi::goToPage(int index) {
    if (index < 0 || index >= kPageCount) {
        throw std::out_of_range("no page " + std::to_string(index));
    }
    page_ = index;
}

int MemoryWizardUi::comboIndex(std::string_view name) const {
    return at(name).index;
}

void MemoryWizardUi::setComboIndex(std::string_view name, int index) {
    State& state = at(name);
    if (index < -1 || index >= state.itemCount) {
        throw std::out_of_range("no item " + std::to_string(index) + " in " + std::string(name));
    }
    state.index = index;
    const ControlDef* def = findControl(name);
    state.text = index >= 0 ? std::string(def->items[static_cast<std::size_t>(index)]) : "";
}

int MemoryWizardUi::sliderPosition(std::string_view name) const {
    return at(name).index;
}

void MemoryWizardUi::setSliderPosition(std::string_view name, int position) {
    State& state = at(name);
    state.index = std::clamp(position, 0, state.maximum);
}

} // namespace quorvel
