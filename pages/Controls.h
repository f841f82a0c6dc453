// The controls of the wizard as handlers see them, addressed by ControlId. The Win32 window
// implements this over its child windows; tests use MemoryControls.
#pragma once

#include "pages/ControlId.h"

#include <array>
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

} // namespace quorvel
