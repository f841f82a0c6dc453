// The controls of the wizard as handlers see them, addressed by ControlId. The Win32 window
// implements this over its child windows; the tests keep controls in memory
// (tests/MemoryControls.h).
#pragma once

#include "pages/ControlId.h"

#include <string>
#include <string_view>

namespace quorvel {

class Controls {
public:
    virtual ~Controls() = default;

    // The text of an edit field, or the caption of a label, tick box or button.
    virtual std::string text(ControlId id) const = 0;
    virtual void setText(ControlId id, std::string_view text) = 0;
    virtual bool enabled(ControlId id) const = 0;
    virtual void setEnabled(ControlId id, bool enabled) = 0;
    // The current item of a drop-down list (0-based).
    virtual int comboIndex(ControlId id) const = 0;
    virtual void setComboIndex(ControlId id, int index) = 0;
};

} // namespace quorvel
