// What the wizard's handlers see of the window: the controls (the same interface the generators
// use), the current page of 选择夹1, and the list and slider positions. The Win32
// window implements it over its child windows; MemoryWizardUi keeps it in memory for tests.
#pragma once

#include "pages/Controls.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

class WizardUi : public Controls {
public:
    // The index of the page shown by 选择夹1 (0 = main page).
    virtual int currentPage() const = 0;
    // Shows page `index`; nothing on any page is cleared or saved by the change.
    virtual void goToPage(int index) = 0;
    // The position of a slider.
    virtual int sliderPosition(ControlId id) const = 0;
    virtual void setSliderPosition(ControlId id, int position) = 0;
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
    int currentPage() const override { return page_; }
    void goToPage(int index) override;
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
    int page_ = 0;
};

} // namespace quorvel
