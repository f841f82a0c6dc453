// What the wizard's handlers see of the window: the named controls (the same interface the
// generators use), the current page of 选择夹1, and the list and slider positions. The Win32
// window implements it over its child windows; MemoryWizardUi keeps it in memory for tests.
#pragma once

#include "wizard/Controls.h"

#include <map>
#include <string>
#include <string_view>

namespace quorvel {

class WizardUi : public Controls {
public:
    // The index of the page shown by 选择夹1 (0 = main page).
    virtual int currentPage() const = 0;
    // Shows page `index`; nothing on any page is cleared or saved by the change.
    virtual void goToPage(int index) = 0;
    // The position of a slider.
    virtual int sliderPosition(std::string_view name) const = 0;
    virtual void setSliderPosition(std::string_view name, int position) = 0;
};

// The wizard's controls in memory, starting in the state the control table gives them: texts,
// captions, enabled states, combo boxes on their first item, sliders at their positions.
// Asking for a name that is not in the table is a programming error and throws.
class MemoryWizardUi : public WizardUi {
public:
    MemoryWizardUi();

    std::string text(std::string_view name) const override;
    void setText(std::string_view name, std::string_view text) override;
    bool enabled(std::string_view name) const override;
    void setEnabled(std::string_view name, bool enabled) override;
    int currentPage() const override { return page_; }
    void goToPage(int index) override;
    int comboIndex(std::string_view name) const override;
    void setComboIndex(std::string_view name, int index) override;
    int sliderPosition(std::string_view name) const override;
    void setSliderPosition(std::string_view name, int position) override;

private:
    struct State {
        std::string text;
        bool enabled = true;
        int index = 0;
        int itemCount = 0;
        int maximum = 0;
    };
    const State& at(std::string_view name) const;
    State& at(std::string_view name);

    std::map<std::string, State, std::less<>> controls_;
    int page_ = 0;
};

} // namespace quorvel
