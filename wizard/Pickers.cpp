#include "wizard/Pickers.h"

#include "generator/ThemePaths.h"

#include <array>

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

// clang-format off
constexpr std::array kPickers = {
    AssetPickerDef{"W我的文档_打开", "W我的文档_图标", filter::kIcon, icon(1)},
    AssetPickerDef{"W我的电脑_打开", "W我的电脑_图标", filter::kIcon, icon(2)},
    AssetPickerDef{"W网上邻居_打开", "W网上邻居_图标", filter::kIcon, icon(3)},
    AssetPickerDef{"W回收站空_打开", "W回收站空_图标", filter::kIcon, icon(4)},
    AssetPickerDef{"W回收站满_打开", "W回收站满_图标", filter::kIcon, icon(5)},
    AssetPickerDef{"X我的文档_打开", "X我的文档_图标", filter::kIcon, icon(1)},
    AssetPickerDef{"X我的电脑_打开", "X我的电脑_图标", filter::kIcon, icon(2)},
    AssetPickerDef{"X网上邻居_打开", "X网上邻居_图标", filter::kIcon, icon(3)},
    AssetPickerDef{"X回收站空_打开", "X回收站空_图标", filter::kIcon, icon(4)},
    AssetPickerDef{"X回收站满_打开", "X回收站满_图标", filter::kIcon, icon(5)},

    AssetPickerDef{"WUpArrow_打开", "WUpArrow", filter::kPointer, cursor(1)},
    AssetPickerDef{"WWait_打开", "WWait", filter::kPointer, cursor(2)},
    AssetPickerDef{"WSizeNWSE_打开", "WSizeNWSE", filter::kPointer, cursor(3)},
    AssetPickerDef{"WSizeNESW_打开", "WSizeNESW", filter::kPointer, cursor(4)},
    AssetPickerDef{"WNWPen_打开", "WNWPen", filter::kPointer, cursor(5)},
    AssetPickerDef{"WHelp_打开", "WHelp", filter::kPointer, cursor(6)},
    AssetPickerDef{"WSizeWE_打开", "WSizeWE", filter::kPointer, cursor(7)},
    AssetPickerDef{"WHand_打开", "WHand", filter::kPointer, cursor(8)},
    AssetPickerDef{"WSizeAll_打开", "WSizeAll", filter::kPointer, cursor(9)},
    AssetPickerDef{"WArrow_打开", "WArrow", filter::kPointer, cursor(10)},
    AssetPickerDef{"WCrosshair_打开", "WCrosshair", filter::kPointer, cursor(11)},
    AssetPickerDef{"WIBeam_打开", "WIBeam", filter::kPointer, cursor(12)},
    AssetPickerDef{"WNo_打开", "WNo", filter::kPointer, cursor(13)},
    AssetPickerDef{"WSizeNS_打开", "WSizeNS", filter::kPointer, cursor(14)},
    AssetPickerDef{"WAppStarting_打开", "WAppStarting", filter::kPointer, cursor(15)},
    AssetPickerDef{"XUpArrow_打开", "XUpArrow", filter::kPointer, cursor(1)},
    AssetPickerDef{"XWait_打开", "XWait", filter::kPointer, cursor(2)},
    AssetPickerDef{"XSizeNWSE_打开", "XSizeNWSE", filter::kPointer, cursor(3)},
    AssetPickerDef{"XSizeNESW_打开", "XSizeNESW", filter::kPointer, cursor(4)},
    AssetPickerDef{"XNWPen_打开", "XNWPen", filter::kPointer, cursor(5)},
    AssetPickerDef{"XHelp_打开", "XHelp", filter::kPointer, cursor(6)},
    AssetPickerDef{"XSizeWE_打开", "XSizeWE", filter::kPointer, cursor(7)},
    AssetPickerDef{"XHand_打开", "XHand", filter::kPointer, cursor(8)},
    AssetPickerDef{"XSizeAll_打开", "XSizeAll", filter::kPointer, cursor(9)},
    AssetPickerDef{"XArrow_打开", "XArrow", filter::kPointer, cursor(10)},
    AssetPickerDef{"XCrosshair_打开", "XCrosshair", filter::kPointer, cursor(11)},
    AssetPickerDef{"XIBeam_打开", "XIBeam", filter::kPointer, cursor(12)},
    AssetPickerDef{"XNo_打开", "XNo", filter::kPointer, cursor(13)},
    AssetPickerDef{"XSizeNS_打开", "XSizeNS", filter::kPointer, cursor(14)},
    AssetPickerDef{"XAppStarting_打开", "XAppStarting", filter::kPointer, cursor(15)},

    AssetPickerDef{"W关机声音_打开", "W关机声音", filter::kSound, sound(1)},
    AssetPickerDef{"W开机声音_打开", "W开机声音", filter::kSound, sound(2)},
    AssetPickerDef{"W退出系统_打开", "W退出系统", filter::kSound, sound(3)},
    AssetPickerDef{"W登陆系统_打开", "W登陆系统", filter::kSound, sound(4)},
    AssetPickerDef{"W切换主题_打开", "W切换主题", filter::kSound, sound(5)},
    AssetPickerDef{"X关机声音_打开", "X关机声音", filter::kSound, sound(1)},
    AssetPickerDef{"X开机声音_打开", "X开机声音", filter::kSound, sound(2)},
    AssetPickerDef{"X退出系统_打开", "X退出系统", filter::kSound, sound(3)},
    AssetPickerDef{"X登陆系统_打开", "X登陆系统", filter::kSound, sound(4)},

    AssetPickerDef{"W屏保文件_打开", "W屏保文件_路径", filter::kScreensaver, single(SlotKind::Screensaver)},
    AssetPickerDef{"X自己屏保_打开", "X自己屏保", filter::kScreensaver, single(SlotKind::Screensaver)},
    AssetPickerDef{"W桌面壁纸_打开", "W桌面壁纸", filter::kPicture, single(SlotKind::Wallpaper)},
    AssetPickerDef{"X桌面壁纸_打开", "X桌面壁纸", filter::kPicture, single(SlotKind::Wallpaper)},
    AssetPickerDef{"W可视化风格文件_打开", "W可视化风格文件", filter::kStyle, single(SlotKind::VisualStyle)},
    AssetPickerDef{"X可视化风格_打开", "X可视化风格", filter::kStyle, single(SlotKind::VisualStyle)},
};
// clang-format on

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
    return kPickers;
}

const AssetPickerDef* findAssetPicker(std::string_view button) {
    for (const AssetPickerDef& picker : kPickers) {
        if (picker.button == button) {
            return &picker;
        }
    }
    return nullptr;
}

void pickAssetFile(const AssetPickerDef& picker, Dialogs& dialogs, FileDialogState& dialog,
                   Controls& controls, ThemeProject& project) {
    const std::optional<std::string> path =
        dialogs.openFile(closedFilter(picker.filter), dialog.fileName);
    if (!path) {
        return;
    }
    dialog.fileName = *path;
    controls.setText(picker.field, *path);
    slotOf(project, picker.slot) = AssetRef{*path, fileNameOf(*path)};
}

void pickSlideshowFiles(Dialogs& dialogs, Controls& controls, ThemeProject& project) {
    const std::vector<std::string> paths =
        dialogs.openFiles(kSlideshowTitle, closedFilter(filter::kPicture));
    if (paths.empty()) {
        return;
    }
    project.slideshowFiles.clear();
    std::string fieldText;
    for (const std::string& path : paths) {
        AssetRef entry{path, fileNameOf(path)};
        fieldText += entry.fileName + ";";
        project.slideshowFiles.push_back(std::move(entry));
    }
    controls.setText(kSlideshowField, fieldText);
}

void pickSaveFolder(std::string_view field, Dialogs& dialogs, Controls& controls) {
    if (const std::optional<std::string> folder = dialogs.browseFolder(kSaveFolderTitle)) {
        if (!folder->empty()) {
            controls.setText(field, *folder);
        }
    }
}

} // namespace quorvel
