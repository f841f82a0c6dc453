#include "pages/WindowStyle.h"

#include "model/Texts.h"

#include <algorithm>
#include <limits>

namespace quorvel {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

} // namespace

std::string toHexText(std::int64_t value) {
    // Digits are produced from the lowest up and joined in reverse. The remainder is taken in
    // integers, so values beyond the 53 bits a double holds exactly keep every digit.
    std::uint64_t n = value < 0 ? 0 : static_cast<std::uint64_t>(value);
    std::string reversed;
    while (true) {
        reversed += kDigits[n % 16];
        n /= 16;
        if (n < 16) {
            reversed += kDigits[n];
            break;
        }
    }
    std::string text(reversed.rbegin(), reversed.rend());
    if (text.front() == '0') {
        text = stripLeadingZeros(text);
    }
    return text;
}

std::string stripLeadingZeros(std::string_view text) {
    const std::size_t first = text.find_first_not_of('0');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::int64_t leadingInteger(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        const int digit = text[pos] - '0';
        if (value > (kMax - digit) / 10) {
            value = kMax;
        } else {
            value = value * 10 + digit;
        }
    }
    return negative ? -value : value;
}

void onAlphaSliderMoved(Controls& controls, int position) {
    controls.setText(ControlId::Win7Alpha, std::to_string(position));
}

void applyPickedWindowColor(Controls& controls, const std::optional<Rgb>& color) {
    if (color) {
        controls.setText(ControlId::Win7WindowColor, hexText(*color));
    }
}

bool commitWindowStylePage(Controls& controls, ThemeProject& project, Platform& platform) {
    if (controls.text(ControlId::Win7VisualStyle).empty()) {
        platform.messageBox(std::string(text::kNoVisualStyle), MessageIcon::Error,
                            std::string(text::kErrorTitle));
        return false;
    }
    project.slideshowIntervalText = controls.text(ControlId::Win7SlideshowInterval);
    project.windowAlphaText = toHexText(
        std::clamp<std::int64_t>(leadingInteger(controls.text(ControlId::Win7Alpha)), 0, 255));
    project.windowColorText = controls.text(ControlId::Win7WindowColor);
    return true;
}

} // namespace quorvel
