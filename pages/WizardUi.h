// What the wizard's handlers see of the window: the controls (the same interface the generators
// use), the current page of 选择夹1, and the list and slider positions. The Win32
// window implements it over its child windows; the tests keep it in memory
// (tests/MemoryControls.h).
#pragma once

#include "model/PageSet.h"
#include "pages/Controls.h"

namespace quorvel {

class WizardUi : public Controls {
public:
    // The index of the page shown by 选择夹1 (0 = main page).
    virtual Page currentPage() const = 0;
    // Shows page `index`; nothing on any page is cleared or saved by the change.
    virtual void goToPage(Page page) = 0;
    // The position of a slider.
    virtual int sliderPosition(ControlId id) const = 0;
    virtual void setSliderPosition(ControlId id, int position) = 0;
};

} // namespace quorvel
