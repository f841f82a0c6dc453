#include "pages/Pickers.h"

#include "generator/ThemePaths.h"

namespace quorvel {

namespace {

constexpr SlotId icon(int position) {
    return {SlotKind::Icon, position};
}
constexpr SlotId cursor(int position) {
    return {SlotKind::Cursor, position};
}
constexpr SlotId sound(int position) {
    return {SlotKind::Sound, position};
}
constexpr SlotId single(SlotKind kind) {
    return {kind, 1};
}

// Every single-file picker, the Windows 7 one of each role before the XP one.
std::vector<AssetPickerDef> buildPickers() {
    std::vector<AssetPickerDef> pickers;
    const auto bothSets = [&](auto&& add) {
        add(pageSetControls(PageSet::Win7));
        add(pageSetControls(PageSet::Xp));
    };
    bothSets([&](const PageSetControls& c) {
        for (std::size_t i = 0; i < c.iconFields.size(); ++i) {
            pickers.push_back(
                {c.iconButtons[i], c.iconFields[i], filter::kIcon, icon(static_cast<int>(i) + 1)});
        }
    });
    bothSets([&](const PageSetControls& c) {
        for (int role = 0; role < kPointerRoleCount; ++role) {
            pickers.push_back({pointerButton(c.set, role), pointerField(c.set, role),
                               filter::kPointer, cursor(role + 1)});
        }
    });
    bothSets([&](const PageSetControls& c) {
        for (std::size_t i = 0; i < c.soundFields.size(); ++i) {
            pickers.push_back({c.soundButtons[i], c.soundFields[i], filter::kSound,
                               sound(static_cast<int>(i) + 1)});
        }
    });
    bothSets([&](const PageSetControls& c) {
        pickers.push_back({c.ownSaverButton, c.ownSaverField, filter::kScreensaver,
                           single(SlotKind::Screensaver)});
    });
    bothSets([&](const PageSetControls& c) {
        pickers.push_back(
            {c.wallpaperButton, c.wallpaper, filter::kPicture, single(SlotKind::Wallpaper)});
    });
    bothSets([&](const PageSetControls& c) {
        pickers.push_back(
            {c.visualStyleButton, c.visualStyle, filter::kStyle, single(SlotKind::VisualStyle)});
    });
    return pickers;
}

} // namespace

std::string closedFilter(std::string_view filter) {
    std::string closed(filter);
    if (!closed.ends_with("||")) {
        closed += "||";
    }
    return closed;
}

AssetRef& slotOf(ThemeProject& project, SlotId slot) {
    const auto index = static_cast<std::size_t>(slot.position - 1);
    switch (slot.kind) {
    case SlotKind::Icon:
        return project.iconFiles.at(index);
    case SlotKind::Cursor:
        return project.cursorFiles.at(index);
    case SlotKind::Sound:
        return project.soundFiles.at(index);
    case SlotKind::Screensaver:
        return project.screensaverFile;
    case SlotKind::Wallpaper:
        return project.wallpaperFile;
    case SlotKind::VisualStyle:
        return project.visualStyleFile;
    }
    return project.visualStyleFile;
}

std::span<const AssetPickerDef> assetPickers() {
    static const std::vector<AssetPickerDef> pickers = buildPickers();
    return pickers;
}

const AssetPickerDef* findAssetPicker(ControlId button) {
    for (const AssetPickerDef& picker : assetPickers()) {
        if (picker.button == button) {
            return &picker;
        }
    }
    return nullptr;
}

const AssetPickerDef* findAssetPickerOf(ControlId control) {
    for (const AssetPickerDef& picker : assetPickers()) {
        if (picker.button == control || picker.field == control) {
            return &picker;
        }
    }
    return nullptr;
}

void pickAssetFile(const AssetPickerDef& picker, Dialogs& dialogs, FileDialogState& dialog,
                   Controls& controls, ThemeProject& project) {
    const std::optional<std::string> path =
        dialogs.openFile(closedFilter(picker.filter), dialog.fileName);
    if (path) {
        takeAssetFile(picker, *path, dialog, controls, project);
    }
}

void takeAssetFile(const AssetPickerDef& picker, const std::string& path, FileDialogState& dialog,
                   Controls& controls, ThemeProject& project) {
    dialog.fileName = path;
    controls.setText(picker.field, path);
    slotOf(project, picker.slot) = AssetRef{path, fileNameOf(path)};
}

void pickSlideshowFiles(Dialogs& dialogs, Controls& controls, ThemeProject& project) {
    const std::vector<std::string> paths =
        dialogs.openFiles(kSlideshowTitle, closedFilter(filter::kPicture));
    if (!paths.empty()) {
        takeSlideshowFiles(paths, controls, project);
    }
}

void takeSlideshowFiles(std::span<const std::string> paths, Controls& controls,
                        ThemeProject& project) {
    project.slideshowFiles.clear();
    std::string fieldText;
    for (const std::string& path : paths) {
        AssetRef entry{path, fileNameOf(path)};
        fieldText += entry.fileName + ";";
        project.slideshowFiles.push_back(std::move(entry));
    }
    controls.setText(ControlId::Win7Slideshow, fieldText);
}

void pickSaveFolder(ControlId field, Dialogs& dialogs, Controls& controls) {
    if (const std::optional<std::string> folder = dialogs.browseFolder(kSaveFolderTitle)) {
        takeSaveFolder(field, *folder, controls);
    }
}

void takeSaveFolder(ControlId field, const std::string& folder, Controls& controls) {
    if (!folder.empty()) {
        controls.setText(field, folder);
    }
}

} // namespace quorvel
