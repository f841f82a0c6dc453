// The wizard's controls kept in memory, for the tests of the handlers and of the bridge between
// the controls and the theme document.
#pragma once

#include "pages/Controls.h"
#include "pages/WizardUi.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// Controls kept in memory. A control that nothing has set is enabled, holds the empty text and
// shows the first item of its list.
class MemoryControls : public Controls {
public:
    std::string text(ControlId id) const override;
    void setText(ControlId id, std::string_view text) override;
    bool enabled(ControlId id) const override;
    void setEnabled(ControlId id, bool enabled) override;
    int comboIndex(ControlId id) const override;
    void setComboIndex(ControlId id, int index) override;

private:
    struct State {
        std::string text;
        bool enabled = true;
        int comboIndex = 0;
    };
    const State& at(ControlId id) const;
    State& at(ControlId id);
    std::array<State, kControlCount> controls_;
};

// The wizard's controls in memory, starting in the state the control table gives them: texts,
// captions, enabled states, combo boxes on their first item, sliders at their positions.
// A list item or page that does not exist is a programming error and throws.
class MemoryWizardUi : public WizardUi {
public:
    MemoryWizardUi();

    std::string text(ControlId id) const override;
    void setText(ControlId id, std::string_view text) override;
    bool enabled(ControlId id) const override;
    void setEnabled(ControlId id, bool enabled) override;
    Page currentPage() const override { return page_; }
    void goToPage(Page page) override;
    int comboIndex(ControlId id) const override;
    void setComboIndex(ControlId id, int index) override;
    int sliderPosition(ControlId id) const override;
    void setSliderPosition(ControlId id, int position) override;

private:
    struct State {
        std::string text;
        bool enabled = true;
        int index = 0;
        int itemCount = 0;
        int maximum = 0;
    };
    const State& at(ControlId id) const;
    State& at(ControlId id);

    std::vector<State> controls_; // by ControlId
    Page page_ = Page::Main;
};

} // namespace quorvel
