// The system's own screensavers that each page set's desktop page offers in its drop-down list,
// written once: the list's items, what choosing one records, and the largest value a project file
// may give the list are all taken from here. The list's first item is a prompt, so a
// screensaver's item number is its index here plus one.
#pragma once

#include "model/PageSet.h"
#include "model/ThemeProject.h"

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace quorvel {

struct SystemScreensaver {
    std::string_view item;     // the list's text
    std::string_view fileName; // in System32, letter case as installed
};

// The list's first item, which chooses nothing.
inline constexpr std::string_view kSystemScreensaverPrompt = "请选择系统屏保";

inline constexpr std::array<SystemScreensaver, 6> kWin7SystemScreensavers = {{
    {"照片", "PhotoScreensaver.scr"},
    {"彩带", "Ribbons.scr"},
    {"空白", "scrnsave.scr"},
    {"三维文字", "ssText3d.scr"},
    {"变幻线", "Mystify.scr"},
    {"气泡", "Bubbles.scr"},
}};

inline constexpr std::array<SystemScreensaver, 11> kXpSystemScreensavers = {{
    {"Windows XP", "logon.scr"},
    {"贝赛尔曲线", "ssbezier.scr"},
    {"三维花盒", "ssflwbox.scr"},
    {"三维飞行物", "ss3dfo.scr"},
    {"图片幻灯片收藏", "ssmypics.scr"},
    {"字幕", "ssmarque.scr"},
    {"变幻线", "ssmyst.scr"},
    {"空白", "scrnsave.scr"},
    {"三维管道", "sspipes.scr"},
    {"飞跃星空", "ssstars.scr"},
    {"三维文字", "sstext3d.scr"},
}};

// The screensavers after the list's prompt, in list order.
constexpr std::span<const SystemScreensaver> systemScreensavers(PageSet set) {
    if (set == PageSet::Win7) {
        return kWin7SystemScreensavers;
    }
    return kXpSystemScreensavers;
}

// The system's folder of screensavers, unexpanded, with its "\\" at the end.
inline constexpr std::string_view kSystemFolder = "%SystemRoot%\\System32\\";

// The pick that choosing an item (1 .. the list's size) of the list records.
inline AssetRef systemScreensaverPick(PageSet set, int item) {
    const std::string_view fileName =
        systemScreensavers(set)[static_cast<std::size_t>(item - 1)].fileName;
    return {std::string(kSystemFolder) + std::string(fileName), std::string(fileName)};
}

// The list's items: the prompt, then each screensaver's item.
template <std::size_t N>
constexpr std::array<std::string_view, N + 1>
screensaverListItems(const std::array<SystemScreensaver, N>& savers) {
    std::array<std::string_view, N + 1> items{kSystemScreensaverPrompt};
    for (std::size_t i = 0; i < N; ++i) {
        items[i + 1] = savers[i].item;
    }
    return items;
}

} // namespace quorvel
