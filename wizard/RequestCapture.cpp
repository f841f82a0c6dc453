#include "wizard/RequestCapture.h"

#include <array>
#include <string>

namespace quorvel {

namespace {

// The fields of one page set that the generators consult, indexed like the project's slots.
struct FieldNames {
    PageSet set;
    std::string_view prefix; // of the pointer fields
    std::array<std::string_view, ThemeProject::kIconCount> icons;
    std::array<std::string_view, ThemeProject::kSoundCount> sounds; // empty: no such field
    std::string_view wallpaper;
    std::string_view slideshow;
    std::string_view cursorScheme;
    std::string_view soundScheme;
    std::string_view systemScreensaverTick;
    std::string_view ownScreensaverTick;
};

const FieldNames kWin7Fields{
    PageSet::Win7,
    "W",
    {"W我的文档_图标", "W我的电脑_图标", "W网上邻居_图标", "W回收站空_图标", "W回收站满_图标"},
    {"W关机声音", "W开机声音", "W退出系统", "W登陆系统", "W切换主题"},
    "W桌面壁纸",
    "W壁纸文件夹",
    "W鼠标方案_名称",
    "W声音方案_名称",
    "W系统屏保_选择",
    "W屏保文件_选择",
};

const FieldNames kXpFields{
    PageSet::Xp,
    "X",
    {"X我的文档_图标", "X我的电脑_图标", "X网上邻居_图标", "X回收站空_图标", "X回收站满_图标"},
    {"X关机声音", "X开机声音", "X退出系统", "X登陆系统", ""},
    "X桌面壁纸",
    "",
    "X鼠标方案_名称",
    "X声音方案_名称",
    "X系统屏保_选择",
    "X自己屏保_选择",
};

std::string textOf(const Controls& controls, std::string_view name) {
    return name.empty() ? std::string() : controls.text(name);
}

ThemeRequest capture(const FieldNames& names, const Controls& controls,
                     const ThemeProject& project) {
    ThemeRequest request;
    request.pageSet = names.set;
    request.project = project;
    const GenerationControls& page = generationControls(names.set);
    request.project.themeName = controls.text(page.nameField);
    request.project.displayName = controls.text(page.displayNameField);
    request.project.saveLocation = controls.text(page.saveLocationField);

    for (std::size_t i = 0; i < names.icons.size(); ++i) {
        request.iconFields[i] = textOf(controls, names.icons[i]);
    }
    for (std::size_t i = 0; i < kPointerRoles.size(); ++i) {
        request.pointerFields[i] =
            controls.text(std::string(names.prefix) + std::string(kPointerRoles[i]));
    }
    for (std::size_t i = 0; i < names.sounds.size(); ++i) {
        request.soundFields[i] = textOf(controls, names.sounds[i]);
    }
    request.wallpaperField = textOf(controls, names.wallpaper);
    request.slideshowField = textOf(controls, names.slideshow);
    request.cursorSchemeField = textOf(controls, names.cursorScheme);
    request.soundSchemeField = textOf(controls, names.soundScheme);
    // A tick box is ticked when it shows any mark.
    request.systemScreensaverTicked = !controls.text(names.systemScreensaverTick).empty();
    request.ownScreensaverTicked = !controls.text(names.ownScreensaverTick).empty();
    return request;
}

} // namespace

const GenerationControls& generationControls(PageSet set) {
    static const GenerationControls win7{
        "W生成名称",
        "W显示名称",
        "W保存位置",
        {"W生成名称", "W显示名称", "W保存位置", "按钮25", "按钮26"}};
    static const GenerationControls xp{
        "X生成名称",
        "X显示名称",
        "X保存位置",
        {"X生成名称", "X保存位置", "X显示名称", "X保存位置_打开", "按钮47", "按钮48"}};
    return set == PageSet::Win7 ? win7 : xp;
}

ThemeRequest captureWin7Request(const Controls& controls, const ThemeProject& project) {
    return capture(kWin7Fields, controls, project);
}

ThemeRequest captureXpRequest(const Controls& controls, const ThemeProject& project) {
    return capture(kXpFields, controls, project);
}

GenerationControlsDisabled::GenerationControlsDisabled(Controls& controls, PageSet set)
    : controls_(controls), page_(generationControls(set)) {
    setEnabled(false);
}

GenerationControlsDisabled::~GenerationControlsDisabled() {
    try {
        setEnabled(true);
    } catch (...) {
        // Nothing can be done about it here, and a destructor must not throw.
    }
}

void GenerationControlsDisabled::setEnabled(bool enabled) {
    for (std::string_view name : page_.disableList) {
        controls_.setEnabled(name, enabled);
    }
}

} // namespace quorvel
