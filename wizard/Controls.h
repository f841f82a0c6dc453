// The controls of the wizard as handlers see them, addressed by ControlId. The Win32 window
// implements this over its child windows; tests use MemoryControls.
#pragma once

#include "wizard/ControlId.h"

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

    // NAME-BASED ADAPTER: access by the control's Chinese name, for the theme generators until
    // they take a request of their own (and for the tests that drive them). Throws
    // std::out_of_range for a name that is not in the control table. Delete together with
    // controlIdNamed() once generator/ no longer uses Controls.
    std::string text(std::string_view name) const { return text(controlIdNamed(name)); }
    void setText(std::string_view name, std::string_view text) {
        setText(controlIdNamed(name), text);
    }
    bool enabled(std::string_view name) const { return enabled(controlIdNamed(name)); }
    void setEnabled(std::string_view name, bool enabled) {
        setEnabled(controlIdNamed(name), enabled);
    }
    int comboIndex(std::string_view name) const { return comboIndex(controlIdNamed(name)); }
    void setComboIndex(std::string_view name, int index) {
        setComboIndex(controlIdNamed(name), index);
    }
    static ControlId controlIdNamed(std::string_view name);
};

// Controls kept in memory. A control that nothing has set is enabled, holds the empty text and
// shows the first item of its list.
class MemoryControls : public Controls {
public:
    using Controls::comboIndex;
    using Controls::enabled;
    using Controls::setComboIndex;
    using Controls::setEnabled;
    using Controls::setText;
    using Controls::text;

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
