// The two wizards: the Windows 7 pages WIN71 .. WIN76 and the Windows XP pages XP1 .. XP6; and
// the pages of the window that shows them.
#pragma once

#include <array>

namespace quorvel {

enum class PageSet { Win7, Xp };

// The pages of the wizard's page container, in the container's order: the main page, the about
// page, then each page set's six pages.
enum class Page : int {
    Main,
    About,
    Win71,
    Win72,
    Win73,
    Win74,
    Win75,
    Win76,
    Xp1,
    Xp2,
    Xp3,
    Xp4,
    Xp5,
    Xp6,
};
inline constexpr int kPageCount = 14;
// Every page, in the container's order.
inline constexpr std::array<Page, kPageCount> kAllPages = {
    Page::Main,  Page::About, Page::Win71, Page::Win72, Page::Win73, Page::Win74, Page::Win75,
    Page::Win76, Page::Xp1,   Page::Xp2,   Page::Xp3,   Page::Xp4,   Page::Xp5,   Page::Xp6};

// A page's position in the container.
constexpr int pageIndex(Page page) {
    return static_cast<int>(page);
}

} // namespace quorvel
