// The named controls of the wizard as handlers and generators see them. The Win32 window
// implements this over its child windows; tests use MemoryControls.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace quorvel {

class Controls {
public:
    virtual ~Controls() = default;

    // The text of an edit field, or the caption of a label, tick box or button.
    virtual std::string text(std::string_view name) const = 0;
    virtual void setText(std::string_view name, std::string_view text) = 0;
    virtual bool enabled(std::string_view name) const = 0;
    virtual void setEnabled(std::string_view name, bool enabled) = 0;
    // The current item of a drop-down list (0-based).
    virtual int comboIndex(std::string_view name) const = 0;
    virtual void setComboIndex(std::string_view name, int index) = 0;
};

// Controls kept in memory. A control that nothing has set is enabled, holds the empty text and
// shows the first item of its list.
class MemoryControls : public Controls {
public:
    std::string text(std::string_view name) const override;
    void setText(std::string_view name, std::string_view text) override;
    bool enabled(std::string_view name) const override;
    void setEnabled(std::string_view name, bool enabled) override;
    int comboIndex(std::string_view name) const override;
    void setComboIndex(std::string_view name, int index) override;

private:
    struct State {
        std::string text;
        bool enabled = true;
        int comboIndex = 0;
    };
    const State* find(std::string_view name) const;
    std::unordered_map<std::string, State> controls_;
};

} // namespace quorvel
