// The identities of the wizard's controls. Code names a control by its ControlId; the control
// table (pages/ControlTable.cpp) gives each identity its row, with the control's Chinese name as
// data.
#pragma once

#include "model/PageSet.h"
#include "model/ThemeProject.h"
#include "model/ThemeRequest.h"

#include <array>
#include <span>

namespace quorvel {

inline constexpr int kPointerRoleCount = static_cast<int>(kPointerRoles.size());

// One enumerator per control, page by page. The pointer pages' fields and browse buttons are
// ranges of kPointerRoleCount identities in the order of kPointerRoles: address them through
// pointerField() and pointerButton().
enum class ControlId : int {
    PageContainer,

    MainPicture,
    MainWin7,
    MainXp,
    MainForum,
    MainAbout,

    AboutPicture,
    AboutReturn,

    Win7IconsPicture,
    Win7IconDocuments,
    Win7IconDocumentsBrowse,
    Win7IconComputer,
    Win7IconComputerBrowse,
    Win7IconNetwork,
    Win7IconNetworkBrowse,
    Win7IconRecycleEmpty,
    Win7IconRecycleEmptyBrowse,
    Win7IconRecycleFull,
    Win7IconRecycleFullBrowse,
    Win7IconsAbout,
    Win7IconsBack,
    Win7IconsNext,
    Win7IconsWeb,

    Win7PointersPicture,
    Win7PointerScheme,
    Win7PointerSchemeName,
    Win7PointerFields,
    Win7PointerButtons = Win7PointerFields + kPointerRoleCount,
    Win7PointersBack = Win7PointerButtons + kPointerRoleCount,
    Win7PointersNext,

    Win7SoundsPicture,
    Win7SoundScheme,
    Win7SoundSchemeName,
    Win7SoundShutdown,
    Win7SoundShutdownBrowse,
    Win7SoundStartup,
    Win7SoundStartupBrowse,
    Win7SoundLogoff,
    Win7SoundLogoffBrowse,
    Win7SoundLogon,
    Win7SoundLogonBrowse,
    Win7SoundThemeChange,
    Win7SoundThemeChangeBrowse,
    Win7SoundsAbout,
    Win7SoundsBack,
    Win7SoundsNext,
    Win7SoundsWeb,

    Win7DesktopPicture,
    Win7SystemSaverTick,
    Win7OwnSaverTick,
    Win7SystemSaver,
    Win7OwnSaver,
    Win7OwnSaverBrowse,
    Win7Wallpaper,
    Win7WallpaperBrowse,
    Win7Slideshow,
    Win7SlideshowBrowse,
    Win7DesktopAbout,
    Win7DesktopBack,
    Win7DesktopNext,
    Win7DesktopWeb,

    Win7StylePicture,
    Win7VisualStyle,
    Win7VisualStyleBrowse,
    Win7SlideshowInterval,
    Win7WindowColor,
    Win7PickColor,
    Win7AlphaSlider,
    Win7Alpha,
    Win7StyleAbout,
    Win7StyleBack,
    Win7StyleNext,
    Win7StyleWeb,

    Win7NamesPicture,
    Win7ThemeName,
    Win7DisplayName,
    Win7SaveLocation,
    Win7SaveLocationBrowse,
    Win7NamesAbout,
    Win7NamesBack,
    Win7Generate,
    Win7NamesWeb,

    XpIconsPicture,
    XpIconDocuments,
    XpIconDocumentsBrowse,
    XpIconComputer,
    XpIconComputerBrowse,
    XpIconNetwork,
    XpIconNetworkBrowse,
    XpIconRecycleEmpty,
    XpIconRecycleEmptyBrowse,
    XpIconRecycleFull,
    XpIconRecycleFullBrowse,
    XpIconsAbout,
    XpIconsBack,
    XpIconsNext,
    XpIconsWeb,

    XpPointersPicture,
    XpPointerScheme,
    XpPointerSchemeName,
    XpPointerFields,
    XpPointerButtons = XpPointerFields + kPointerRoleCount,
    XpPointersBack = XpPointerButtons + kPointerRoleCount,
    XpPointersNext,

    XpSoundsPicture,
    XpSoundScheme,
    XpSoundSchemeName,
    XpSoundShutdown,
    XpSoundShutdownBrowse,
    XpSoundStartup,
    XpSoundStartupBrowse,
    XpSoundLogoff,
    XpSoundLogoffBrowse,
    XpSoundLogon,
    XpSoundLogonBrowse,
    XpSoundsAbout,
    XpSoundsBack,
    XpSoundsNext,
    XpSoundsWeb,

    XpDesktopPicture,
    XpSystemSaverTick,
    XpOwnSaverTick,
    XpSystemSaver,
    XpOwnSaver,
    XpOwnSaverBrowse,
    XpWallpaper,
    XpWallpaperBrowse,
    XpDesktopAbout,
    XpDesktopBack,
    XpDesktopNext,
    XpDesktopWeb,

    XpStylePicture,
    XpVisualStyle,
    XpVisualStyleBrowse,
    XpStyleAbout,
    XpStyleBack,
    XpStyleNext,
    XpStyleWeb,

    XpNamesPicture,
    XpThemeName,
    XpDisplayName,
    XpSaveLocation,
    XpSaveLocationBrowse,
    XpNamesAbout,
    XpNamesBack,
    XpGenerate,
    XpNamesWeb,

    Count
};

inline constexpr int kControlCount = static_cast<int>(ControlId::Count);

constexpr int indexOf(ControlId id) {
    return static_cast<int>(id);
}
constexpr ControlId controlAt(int index) {
    return static_cast<ControlId>(index);
}

// The path field and the browse button of pointer role `role` (index into kPointerRoles).
constexpr ControlId pointerField(PageSet set, int role) {
    return controlAt(
        indexOf(set == PageSet::Win7 ? ControlId::Win7PointerFields : ControlId::XpPointerFields) +
        role);
}
constexpr ControlId pointerButton(PageSet set, int role) {
    return controlAt(indexOf(set == PageSet::Win7 ? ControlId::Win7PointerButtons
                                                  : ControlId::XpPointerButtons) +
                     role);
}

// The controls that play the same part on the pages of either wizard, so that one handler serves
// both. Fields come with the browse button at the same position of the matching list.
struct PageSetControls {
    PageSet set;
    Page iconsPage, pointersPage, soundsPage, desktopPage, stylePage, namesPage;
    std::array<ControlId, 5> iconFields;
    std::array<ControlId, 5> iconButtons;
    ControlId pointerScheme, pointerSchemeName;
    ControlId soundScheme, soundSchemeName;
    std::span<const ControlId> soundFields; // five on the Windows 7 page, four on the XP page
    std::span<const ControlId> soundButtons;
    ControlId systemSaverTick, ownSaverTick, systemSaver, ownSaverField, ownSaverButton;
    ControlId wallpaper, wallpaperButton;
    ControlId visualStyle, visualStyleButton;
    ControlId themeName, displayName, saveLocation, saveLocationButton;
    ControlId generate;
};

const PageSetControls& pageSetControls(PageSet set);

} // namespace quorvel
