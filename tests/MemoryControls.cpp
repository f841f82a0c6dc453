#include "MemoryControls.h"

#include "pages/ControlTable.h"

#include <algorithm>
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

MemoryWizardUi::MemoryWizardUi() : controls_(kControlCount) {
    for (const ControlDef& c : controlTable()) {
        State state;
        state.text = std::string(c.caption);
        state.enabled = c.enabled;
        state.itemCount = static_cast<int>(c.items.size());
        state.maximum = c.maximum;
        state.index = c.kind == ControlKind::Slider ? c.position : 0;
        at(c.id) = std::move(state);
    }
}

const MemoryWizardUi::State& MemoryWizardUi::at(ControlId id) const {
    return controls_.at(static_cast<std::size_t>(indexOf(id)));
}

MemoryWizardUi::State& MemoryWizardUi::at(ControlId id) {
    return const_cast<State&>(std::as_const(*this).at(id));
}

std::string MemoryWizardUi::text(ControlId id) const {
    return at(id).text;
}

void MemoryWizardUi::setText(ControlId id, std::string_view text) {
    at(id).text = std::string(text);
}

bool MemoryWizardUi::enabled(ControlId id) const {
    return at(id).enabled;
}

void MemoryWizardUi::setEnabled(ControlId id, bool enabled) {
    at(id).enabled = enabled;
}

void MemoryWizardUi::goToPage(Page page) {
    if (pageIndex(page) < 0 || pageIndex(page) >= kPageCount) {
        throw std::out_of_range("no page " + std::to_string(pageIndex(page)));
    }
    page_ = page;
}

int MemoryWizardUi::comboIndex(ControlId id) const {
    return at(id).index;
}

void MemoryWizardUi::setComboIndex(ControlId id, int index) {
    State& state = at(id);
    if (index < -1 || index >= state.itemCount) {
        throw std::out_of_range("no item " + std::to_string(index) + " in " +
                                std::string(controlDef(id).name));
    }
    state.index = index;
    state.text =
        index >= 0 ? std::string(controlDef(id).items[static_cast<std::size_t>(index)]) : "";
}

int MemoryWizardUi::sliderPosition(ControlId id) const {
    return at(id).index;
}

void MemoryWizardUi::setSliderPosition(ControlId id, int position) {
    State& state = at(id);
    state.index = std::clamp(position, 0, state.maximum);
}

} // namespace quorvel
