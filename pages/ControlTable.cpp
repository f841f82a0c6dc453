#include "pages/ControlTable.h"

#include "model/SystemScreensavers.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <stdexcept>
#include <string>

namespace quorvel {

namespace {

using K = ControlKind;

constexpr std::array<std::string_view, 3> kCursorSchemeItems = {
    "请选择鼠标方案(系统或自定)", "系统默认鼠标方案", "自定义鼠标方案"};
constexpr std::array<std::string_view, 3> kSoundSchemeItems = {
    "请选择声音方案(系统或自定)", "系统默认声音方案", "自定义声音方案"};
constexpr auto kWin7ScreensaverItems = screensaverListItems(kWin7SystemScreensavers);
constexpr auto kXpScreensaverItems = screensaverListItems(kXpSystemScreensavers);

// Every edit field, combo box and browse button is 20 high.
constexpr int kRowHeight = 20;

using C = ControlId;

// A control's identity with its Chinese name.
struct Named {
    ControlId id;
    std::string_view name;
};

ControlDef edit(Named c, Page page, int left, int top, int width, bool enabled = true,
                std::string_view text = {}) {
    return {c.id, c.name, page, K::EditField, {left, top, width, kRowHeight}, text, enabled,
            {},   0,      0};
}

ControlDef push(Named c, Page page, Rect rect, std::string_view caption, bool enabled = true) {
    return {c.id, c.name, page, K::PushButton, rect, caption, enabled, {}, 0, 0};
}

// A browse button beside a path field.
ControlDef browse(Named c, Page page, int left, int top, int width, bool enabled = true,
                  std::string_view caption = "打开") {
    return push(c, page, {left, top, width, kRowHeight}, caption, enabled);
}

ControlDef combo(Named c, Page page, int left, int top, int width,
                 std::span<const std::string_view> items, bool enabled = true) {
    return {c.id,          c.name,  page,  K::ComboBox, {left, top, width, kRowHeight},
            items.front(), enabled, items, 0,           0};
}

ControlDef graphic(Named c, Page page, Rect rect, std::string_view face) {
    return {c.id, c.name, page, K::GraphicButton, rect, face, true, {}, 0, 0};
}

ControlDef tick(Named c, Page page, int left, int top) {
    return {c.id, c.name, page, K::TickBox, {left, top, 20, 20}, "", true, {}, 0, 0};
}

// The page container, which belongs to no page.
ControlDef container(Named c, Rect rect) {
    return {c.id, c.name, std::nullopt, K::PageContainer, rect, "", true, {}, 0, 0};
}

// A horizontal slider over 0 .. maximum.
ControlDef slider(Named c, Page page, Rect rect, int maximum, int position) {
    return {c.id, c.name, page, K::Slider, rect, "", true, {}, maximum, position};
}

ControlDef picture(Named c, Page page) {
    return {c.id, c.name, page, K::PagePicture, {0, 0, kPageWidth, kPageHeight}, "", true,
            {},   0,      0};
}

// A path field at 159 (or `left`) with its browse button at the right edge of the page.
struct PathRow {
    Named field;
    Named button;
};

void pathRow(std::vector<ControlDef>& t, Page page, const PathRow& row, int top, int width,
             bool enabled = true, int left = 159, std::string_view caption = "打开") {
    t.push_back(edit(row.field, page, left, top, width, enabled));
    t.push_back(browse(row.button, page, 432, top, 42, enabled, caption));
}

// The four push buttons of 79 x 19 at the bottom of a wizard page.
struct BottomRow {
    Named about;
    Named back;
    Named next;
    Named web;
};

void bottomRow(std::vector<ControlDef>& t, Page page, const BottomRow& row,
               std::string_view nextCaption = "下一步") {
    t.push_back(push(row.about, page, {19, 287, 79, 19}, "关  于"));
    t.push_back(push(row.back, page, {144, 287, 79, 19}, "上一步"));
    t.push_back(push(row.next, page, {270, 287, 79, 19}, nextCaption));
    t.push_back(push(row.web, page, {395, 287, 79, 19}, "官  网"));
}

// The icon pages: five rows of field + browse button.
constexpr std::array<int, 5> kIconRowTops = {92, 127, 161, 198, 232};

void iconsPage(std::vector<ControlDef>& t, Page page, Named pic, std::span<const PathRow, 5> rows,
               int fieldWidth, const BottomRow& buttons) {
    t.push_back(picture(pic, page));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        pathRow(t, page, rows[i], kIconRowTops[i], fieldWidth);
    }
    bottomRow(t, page, buttons);
}

// The pointer pages: the scheme row, then two columns of field + browse button, one row for each
// role of kPointerRoles (eight on the left, seven on the right); all but the combo start
// disabled. The fields are named by the page set's prefix and the role, their buttons add
// "_打开".
constexpr std::array<int, 8> kPointerRowTops = {56, 91, 127, 162, 197, 232, 267, 303};
constexpr int kPointerRowsPerColumn = 8;

int pointerColumn(int role) {
    return role / kPointerRowsPerColumn;
}
int pointerRowTop(int role) {
    return kPointerRowTops[static_cast<std::size_t>(role % kPointerRowsPerColumn)];
}

std::string_view pointerName(PageSet set, int role, bool button) {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (std::string_view prefix : {"W", "X"}) {
            for (std::string_view end : {"", "_打开"}) {
                for (std::string_view r : kPointerRoles) {
                    all.push_back(std::string(prefix) + std::string(r) + std::string(end));
                }
            }
        }
        return all;
    }();
    const int group = (set == PageSet::Win7 ? 0 : 2) + (button ? 1 : 0);
    return names.at(static_cast<std::size_t>(group * kPointerRoleCount + role));
}

struct PointersPage {
    Named picture;
    Named scheme;
    Named schemeName;
    Named back;
    Named next;
};

void pointersPage(std::vector<ControlDef>& t, Page page, PageSet set, const PointersPage& p) {
    t.push_back(picture(p.picture, page));
    t.push_back(combo(p.scheme, page, 138, 18, 182, kCursorSchemeItems));
    t.push_back(edit(p.schemeName, page, 320, 18, 146, false));
    for (int role = 0; role < kPointerRoleCount; ++role) {
        const int top = pointerRowTop(role);
        const bool left = pointerColumn(role) == 0;
        t.push_back(edit({pointerField(set, role), pointerName(set, role, false)}, page,
                         left ? 57 : 292, top, 128, false));
        t.push_back(browse({pointerButton(set, role), pointerName(set, role, true)}, page,
                           left ? 192 : 427, top, 40, false));
    }
    t.push_back(push(p.back, page, {254, 303, 93, 19}, "上一步"));
    t.push_back(push(p.next, page, {373, 303, 93, 19}, "下一步"));
}

// The sound pages: the scheme row, then one disabled row for each sound.
struct SoundsPage {
    Named picture;
    Named scheme;
    Named schemeName;
    int schemeTop;
    std::span<const PathRow> sounds;
    std::span<const int> soundTops;
    BottomRow buttons;
};

void soundsPage(std::vector<ControlDef>& t, Page page, const SoundsPage& p) {
    t.push_back(picture(p.picture, page));
    t.push_back(combo(p.scheme, page, 159, p.schemeTop, 182, kSoundSchemeItems));
    t.push_back(edit(p.schemeName, page, 341, p.schemeTop, 133, false));
    for (std::size_t i = 0; i < p.sounds.size(); ++i) {
        pathRow(t, page, p.sounds[i], p.soundTops[i], 254, false);
    }
    bottomRow(t, page, p.buttons);
}

// The desktop pages: the two screensaver tick boxes with the system list and the own file (both
// disabled until ticked), the wallpaper, and on Windows 7 the slideshow.
struct DesktopPage {
    Named picture;
    Named systemTick;
    Named ownTick;
    Named systemSaver;
    std::span<const std::string_view> systemSavers;
    PathRow ownSaver;
    PathRow wallpaper;
    std::optional<PathRow> slideshow;
    BottomRow buttons;
};

void desktopPage(std::vector<ControlDef>& t, Page page, const DesktopPage& p) {
    t.push_back(picture(p.picture, page));
    t.push_back(tick(p.systemTick, page, 20, 92));
    t.push_back(tick(p.ownTick, page, 20, 126));
    t.push_back(combo(p.systemSaver, page, 195, 92, 280, p.systemSavers, false));
    pathRow(t, page, p.ownSaver, 127, 218, false, 195);
    pathRow(t, page, p.wallpaper, 161, 254);
    if (p.slideshow) {
        pathRow(t, page, *p.slideshow, 198, 254, true, 159, "多选");
    }
    bottomRow(t, page, p.buttons);
}

// The last pages: the two names, the save location and the generate button.
struct NamesPage {
    Named picture;
    Named themeName;
    Named displayName;
    PathRow saveLocation;
    BottomRow buttons;
};

void namesPage(std::vector<ControlDef>& t, Page page, const NamesPage& p) {
    t.push_back(picture(p.picture, page));
    t.push_back(edit(p.themeName, page, 159, 92, 315));
    t.push_back(edit(p.displayName, page, 159, 127, 315));
    pathRow(t, page, p.saveLocation, 161, 254);
    bottomRow(t, page, p.buttons, "生  成");
}

constexpr std::array<PathRow, 5> kWin7Icons = {{
    {{C::Win7IconDocuments, "W我的文档_图标"}, {C::Win7IconDocumentsBrowse, "W我的文档_打开"}},
    {{C::Win7IconComputer, "W我的电脑_图标"}, {C::Win7IconComputerBrowse, "W我的电脑_打开"}},
    {{C::Win7IconNetwork, "W网上邻居_图标"}, {C::Win7IconNetworkBrowse, "W网上邻居_打开"}},
    {{C::Win7IconRecycleEmpty, "W回收站空_图标"},
     {C::Win7IconRecycleEmptyBrowse, "W回收站空_打开"}},
    {{C::Win7IconRecycleFull, "W回收站满_图标"}, {C::Win7IconRecycleFullBrowse, "W回收站满_打开"}},
}};
constexpr std::array<PathRow, 5> kXpIcons = {{
    {{C::XpIconDocuments, "X我的文档_图标"}, {C::XpIconDocumentsBrowse, "X我的文档_打开"}},
    {{C::XpIconComputer, "X我的电脑_图标"}, {C::XpIconComputerBrowse, "X我的电脑_打开"}},
    {{C::XpIconNetwork, "X网上邻居_图标"}, {C::XpIconNetworkBrowse, "X网上邻居_打开"}},
    {{C::XpIconRecycleEmpty, "X回收站空_图标"}, {C::XpIconRecycleEmptyBrowse, "X回收站空_打开"}},
    {{C::XpIconRecycleFull, "X回收站满_图标"}, {C::XpIconRecycleFullBrowse, "X回收站满_打开"}},
}};

constexpr std::array<PathRow, 5> kWin7Sounds = {{
    {{C::Win7SoundShutdown, "W关机声音"}, {C::Win7SoundShutdownBrowse, "W关机声音_打开"}},
    {{C::Win7SoundStartup, "W开机声音"}, {C::Win7SoundStartupBrowse, "W开机声音_打开"}},
    {{C::Win7SoundLogoff, "W退出系统"}, {C::Win7SoundLogoffBrowse, "W退出系统_打开"}},
    {{C::Win7SoundLogon, "W登陆系统"}, {C::Win7SoundLogonBrowse, "W登陆系统_打开"}},
    {{C::Win7SoundThemeChange, "W切换主题"}, {C::Win7SoundThemeChangeBrowse, "W切换主题_打开"}},
}};
constexpr std::array<int, 5> kWin7SoundTops = {122, 152, 183, 212, 242};
constexpr std::array<PathRow, 4> kXpSounds = {{
    {{C::XpSoundShutdown, "X关机声音"}, {C::XpSoundShutdownBrowse, "X关机声音_打开"}},
    {{C::XpSoundStartup, "X开机声音"}, {C::XpSoundStartupBrowse, "X开机声音_打开"}},
    {{C::XpSoundLogoff, "X退出系统"}, {C::XpSoundLogoffBrowse, "X退出系统_打开"}},
    {{C::XpSoundLogon, "X登陆系统"}, {C::XpSoundLogonBrowse, "X登陆系统_打开"}},
}};
constexpr std::array<int, 4> kXpSoundTops = {127, 161, 198, 232};

std::vector<ControlDef> buildTable() {
    std::vector<ControlDef> t;
    t.push_back(container({C::PageContainer, "选择夹1"}, {0, 0, 494, 367}));

    // 主界面
    t.push_back(picture({C::MainPicture, "图片框1"}, Page::Main));
    t.push_back(graphic({C::MainWin7, "按钮1"}, Page::Main, {0, 114, 179, 40}, "生成Win7主题"));
    t.push_back(graphic({C::MainXp, "按钮2"}, Page::Main, {0, 164, 179, 40}, "生成WinXP主题"));
    t.push_back(graphic({C::MainForum, "按钮3"}, Page::Main, {0, 214, 179, 40}, "访问我们の网站"));
    t.push_back(graphic({C::MainAbout, "按钮4"}, Page::Main, {0, 264, 179, 40}, "查看软件の信息"));

    // 软件信息
    t.push_back(picture({C::AboutPicture, "图片框3"}, Page::About));
    t.push_back(graphic({C::AboutReturn, "按钮5"}, Page::About, {298, 264, 196, 40}, "返回主界面"));

    // WIN71: desktop icons
    iconsPage(t, Page::Win71, {C::Win7IconsPicture, "图片框2"}, kWin7Icons, 256,
              {{C::Win7IconsAbout, "按钮6"},
               {C::Win7IconsBack, "按钮7"},
               {C::Win7IconsNext, "按钮8"},
               {C::Win7IconsWeb, "按钮9"}});

    // WIN72: mouse pointers
    pointersPage(t, Page::Win72, PageSet::Win7,
                 {{C::Win7PointersPicture, "图片框4"},
                  {C::Win7PointerScheme, "W鼠标"},
                  {C::Win7PointerSchemeName, "W鼠标方案_名称"},
                  {C::Win7PointersBack, "按钮11"},
                  {C::Win7PointersNext, "按钮10"}});

    // WIN73: event sounds
    soundsPage(t, Page::Win73,
               {{C::Win7SoundsPicture, "图片框5"},
                {C::Win7SoundScheme, "W声音"},
                {C::Win7SoundSchemeName, "W声音方案_名称"},
                91,
                kWin7Sounds,
                kWin7SoundTops,
                {{C::Win7SoundsAbout, "按钮12"},
                 {C::Win7SoundsBack, "按钮13"},
                 {C::Win7SoundsNext, "按钮14"},
                 {C::Win7SoundsWeb, "按钮15"}}});

    // WIN74: screensaver, wallpaper, slideshow
    desktopPage(
        t, Page::Win74,
        {{C::Win7DesktopPicture, "图片框6"},
         {C::Win7SystemSaverTick, "W系统屏保_选择"},
         {C::Win7OwnSaverTick, "W屏保文件_选择"},
         {C::Win7SystemSaver, "W系统屏保"},
         kWin7ScreensaverItems,
         {{C::Win7OwnSaver, "W屏保文件_路径"}, {C::Win7OwnSaverBrowse, "W屏保文件_打开"}},
         {{C::Win7Wallpaper, "W桌面壁纸"}, {C::Win7WallpaperBrowse, "W桌面壁纸_打开"}},
         PathRow{{C::Win7Slideshow, "W壁纸文件夹"}, {C::Win7SlideshowBrowse, "W壁纸文件夹_打开"}},
         {{C::Win7DesktopAbout, "按钮16"},
          {C::Win7DesktopBack, "按钮17"},
          {C::Win7DesktopNext, "按钮18"},
          {C::Win7DesktopWeb, "按钮19"}}});

    // WIN75: visual style, slideshow interval, window colour and transparency
    t.push_back(picture({C::Win7StylePicture, "图片框7"}, Page::Win75));
    pathRow(t, Page::Win75,
            {{C::Win7VisualStyle, "W可视化风格文件"},
             {C::Win7VisualStyleBrowse, "W可视化风格文件_打开"}},
            92, 254);
    t.push_back(edit({C::Win7SlideshowInterval, "W壁纸切换时间"}, Page::Win75, 159, 127, 211));
    t.push_back(
        edit({C::Win7WindowColor, "W透明窗口颜色"}, Page::Win75, 159, 161, 211, true, "0066FF"));
    t.push_back(
        push({C::Win7PickColor, "选择颜色按钮"}, Page::Win75, {288, 162, 80, 18}, "选择颜色"));
    t.push_back(
        slider({C::Win7AlphaSlider, "窗口透明度滑块"}, Page::Win75, {159, 198, 254, 20}, 255, 127));
    t.push_back(edit({C::Win7Alpha, "W透明度"}, Page::Win75, 432, 198, 42, true, "127"));
    bottomRow(t, Page::Win75,
              {{C::Win7StyleAbout, "按钮20"},
               {C::Win7StyleBack, "按钮21"},
               {C::Win7StyleNext, "按钮22"},
               {C::Win7StyleWeb, "按钮23"}});

    // WIN76: names, save location, generate
    namesPage(t, Page::Win76,
              {{C::Win7NamesPicture, "图片框8"},
               {C::Win7ThemeName, "W生成名称"},
               {C::Win7DisplayName, "W显示名称"},
               {{C::Win7SaveLocation, "W保存位置"}, {C::Win7SaveLocationBrowse, "W保存位置_选择"}},
               {{C::Win7NamesAbout, "按钮24"},
                {C::Win7NamesBack, "按钮25"},
                {C::Win7Generate, "按钮26"},
                {C::Win7NamesWeb, "按钮27"}}});

    // XP1: desktop icons
    iconsPage(t, Page::Xp1, {C::XpIconsPicture, "图片框9"}, kXpIcons, 254,
              {{C::XpIconsAbout, "按钮28"},
               {C::XpIconsBack, "按钮29"},
               {C::XpIconsNext, "按钮30"},
               {C::XpIconsWeb, "按钮31"}});

    // XP2: mouse pointers
    pointersPage(t, Page::Xp2, PageSet::Xp,
                 {{C::XpPointersPicture, "图片框10"},
                  {C::XpPointerScheme, "X鼠标"},
                  {C::XpPointerSchemeName, "X鼠标方案_名称"},
                  {C::XpPointersBack, "按钮32"},
                  {C::XpPointersNext, "按钮33"}});

    // XP3: event sounds
    soundsPage(t, Page::Xp3,
               {{C::XpSoundsPicture, "图片框11"},
                {C::XpSoundScheme, "X声音"},
                {C::XpSoundSchemeName, "X声音方案_名称"},
                92,
                kXpSounds,
                kXpSoundTops,
                {{C::XpSoundsAbout, "按钮34"},
                 {C::XpSoundsBack, "按钮35"},
                 {C::XpSoundsNext, "按钮36"},
                 {C::XpSoundsWeb, "按钮37"}}});

    // XP4: screensaver and wallpaper
    desktopPage(t, Page::Xp4,
                {{C::XpDesktopPicture, "图片框12"},
                 {C::XpSystemSaverTick, "X系统屏保_选择"},
                 {C::XpOwnSaverTick, "X自己屏保_选择"},
                 {C::XpSystemSaver, "X系统屏保"},
                 kXpScreensaverItems,
                 {{C::XpOwnSaver, "X自己屏保"}, {C::XpOwnSaverBrowse, "X自己屏保_打开"}},
                 {{C::XpWallpaper, "X桌面壁纸"}, {C::XpWallpaperBrowse, "X桌面壁纸_打开"}},
                 std::nullopt,
                 {{C::XpDesktopAbout, "按钮38"},
                  {C::XpDesktopBack, "按钮39"},
                  {C::XpDesktopNext, "按钮40"},
                  {C::XpDesktopWeb, "按钮41"}}});

    // XP5: visual style
    t.push_back(picture({C::XpStylePicture, "图片框13"}, Page::Xp5));
    pathRow(t, Page::Xp5,
            {{C::XpVisualStyle, "X可视化风格"}, {C::XpVisualStyleBrowse, "X可视化风格_打开"}}, 92,
            256);
    bottomRow(t, Page::Xp5,
              {{C::XpStyleAbout, "按钮42"},
               {C::XpStyleBack, "按钮43"},
               {C::XpStyleNext, "按钮44"},
               {C::XpStyleWeb, "按钮45"}});

    // XP6: names, save location, generate
    namesPage(t, Page::Xp6,
              {{C::XpNamesPicture, "图片框14"},
               {C::XpThemeName, "X生成名称"},
               {C::XpDisplayName, "X显示名称"},
               {{C::XpSaveLocation, "X保存位置"}, {C::XpSaveLocationBrowse, "X保存位置_打开"}},
               {{C::XpNamesAbout, "按钮46"},
                {C::XpNamesBack, "按钮47"},
                {C::XpGenerate, "按钮48"},
                {C::XpNamesWeb, "按钮49"}}});
    return t;
}

// Field labels end 6 pixels left of the fields at 159 and sit on the row's middle.
constexpr int kLabelRight = 153;
PageLabel field(Page page, int top, std::string_view text, int right = kLabelRight) {
    const int left = std::max(4, right - 140);
    return {page, LabelStyle::Field, {left, top, right - left, kRowHeight}, text};
}
PageLabel title(Page page, std::string_view text) {
    return {page, LabelStyle::Title, {24, 26, 446, 40}, text};
}
PageLabel text(Page page, Rect rect, std::string_view text, LabelStyle style = LabelStyle::Text) {
    return {page, style, rect, text};
}

// The system pointer of each role, left of its field.
void pointerPictograms(std::vector<PageLabel>& labels, Page page) {
    for (int role = 0; role < kPointerRoleCount; ++role) {
        const int left = pointerColumn(role) == 0 ? 28 : 263;
        labels.push_back({page,
                          LabelStyle::Pictogram,
                          {left, pointerRowTop(role) - 2, 24, 24},
                          kPointerRoles[static_cast<std::size_t>(role)]});
    }
}

std::vector<PageLabel> buildLabels() {
    std::vector<PageLabel> l;
    l.push_back(text(Page::Main, {24, 24, 446, 44}, "欢迎使用 Quorvel", LabelStyle::Heading));
    l.push_back(text(Page::Main, {26, 70, 446, 20}, "Windows 7 与 Windows XP 桌面主题制作向导"));
    l.push_back(text(Page::Main, {204, 122, 270, 20}, "为 Windows 7 制作一套完整的主题"));
    l.push_back(text(Page::Main, {204, 172, 270, 20}, "为 Windows XP 制作一套完整的主题"));
    l.push_back(text(Page::Main, {204, 222, 270, 20}, "打开我们的论坛, 交流与下载"));
    l.push_back(text(Page::Main, {204, 272, 270, 20}, "版本与制作者的信息"));

    l.push_back(title(Page::About, "软件の相关信息"));
    l.push_back(text(Page::About, {40, 92, 420, 20}, "Quorvel（Quorvel Ver2.0）"));
    l.push_back(text(Page::About, {40, 122, 420, 20}, "版本：2.0"));
    l.push_back(text(Page::About, {40, 152, 420, 20}, "制作：The Quorvel Project"));
    l.push_back(
        text(Page::About, {40, 182, 420, 20}, "版权所有 © The Quorvel Project, 保留所有权利。"));
    l.push_back(
        text(Page::About, {40, 212, 420, 20}, "本软件只生成主题文件与主题包, 不更改系统设置。"));

    for (Page page : {Page::Win71, Page::Xp1}) {
        l.push_back(title(page, "系统主题の图标"));
        l.push_back(field(page, 92, "库图标/我的文档："));
        l.push_back(field(page, 127, "计算机/我的电脑："));
        l.push_back(field(page, 161, "网络/网上邻居："));
        l.push_back(field(page, 198, "回收站(状态空)："));
        l.push_back(field(page, 232, "回收站(状态满)："));
    }

    for (Page page : {Page::Win72, Page::Xp2}) {
        l.push_back(field(page, 18, "鼠标方案名称：", 132));
    }
    pointerPictograms(l, Page::Win72);
    pointerPictograms(l, Page::Xp2);

    l.push_back(title(Page::Win73, "系统主题の声音"));
    l.push_back(field(Page::Win73, 91, "声音方案名称："));
    l.push_back(field(Page::Win73, 122, "关机声音："));
    l.push_back(field(Page::Win73, 152, "开机声音："));
    l.push_back(field(Page::Win73, 183, "退出系统："));
    l.push_back(field(Page::Win73, 212, "登录系统："));
    l.push_back(field(Page::Win73, 242, "主题切换音："));
    l.push_back(title(Page::Xp3, "系统主题の声音"));
    l.push_back(field(Page::Xp3, 92, "声音方案名称："));
    l.push_back(field(Page::Xp3, 127, "关机声音："));
    l.push_back(field(Page::Xp3, 161, "开机声音："));
    l.push_back(field(Page::Xp3, 198, "退出系统："));
    l.push_back(field(Page::Xp3, 232, "登录系统："));

    for (Page page : {Page::Win74, Page::Xp4}) {
        l.push_back(title(page, "系统桌面の应用"));
        l.push_back(text(page, {46, 92, 146, 20}, "选择系统自带的屏保"));
        l.push_back(text(page, {46, 126, 146, 20}, "选择自己的屏保文件"));
        l.push_back(field(page, 161, "选择桌面壁纸："));
    }
    l.push_back(field(Page::Win74, 198, "选择幻灯壁纸："));

    l.push_back(title(Page::Win75, "桌面窗口の风格"));
    l.push_back(field(Page::Win75, 92, "可视化风格文件："));
    l.push_back(field(Page::Win75, 127, "壁纸切换时间："));
    l.push_back(text(Page::Win75, {376, 127, 112, 20}, "单位：秒(S)", LabelStyle::Note));
    l.push_back(field(Page::Win75, 161, "透明窗口颜色："));
    l.push_back(text(Page::Win75, {376, 161, 112, 20}, "点击选择颜色", LabelStyle::Note));
    l.push_back(field(Page::Win75, 198, "窗口的透明度："));

    l.push_back(title(Page::Xp5, "桌面窗口の风格"));
    l.push_back(field(Page::Xp5, 92, "可视化风格文件："));

    for (Page page : {Page::Win76, Page::Xp6}) {
        l.push_back(title(page, "系统主题の生成"));
        l.push_back(field(page, 92, "生成文件名称："));
        l.push_back(field(page, 127, "系统显示名称："));
        l.push_back(field(page, 161, "主题保存位置："));
    }
    return l;
}

constexpr std::array<PageInfo, kPageCount> kPages = {{
    {Page::Main, "主界面", C::MainPicture},
    {Page::About, "软件信息", C::AboutPicture},
    {Page::Win71, "WIN71", C::Win7IconsPicture},
    {Page::Win72, "WIN72", C::Win7PointersPicture},
    {Page::Win73, "WIN73", C::Win7SoundsPicture},
    {Page::Win74, "WIN74", C::Win7DesktopPicture},
    {Page::Win75, "WIN75", C::Win7StylePicture},
    {Page::Win76, "WIN76", C::Win7NamesPicture},
    {Page::Xp1, "XP1", C::XpIconsPicture},
    {Page::Xp2, "XP2", C::XpPointersPicture},
    {Page::Xp3, "XP3", C::XpSoundsPicture},
    {Page::Xp4, "XP4", C::XpDesktopPicture},
    {Page::Xp5, "XP5", C::XpStylePicture},
    {Page::Xp6, "XP6", C::XpNamesPicture},
}};

constexpr std::array<ControlId, 5> kWin7SoundFields = {C::Win7SoundShutdown, C::Win7SoundStartup,
                                                       C::Win7SoundLogoff, C::Win7SoundLogon,
                                                       C::Win7SoundThemeChange};
constexpr std::array<ControlId, 5> kWin7SoundButtons = {
    C::Win7SoundShutdownBrowse, C::Win7SoundStartupBrowse, C::Win7SoundLogoffBrowse,
    C::Win7SoundLogonBrowse, C::Win7SoundThemeChangeBrowse};
constexpr std::array<ControlId, 4> kXpSoundFields = {C::XpSoundShutdown, C::XpSoundStartup,
                                                     C::XpSoundLogoff, C::XpSoundLogon};
constexpr std::array<ControlId, 4> kXpSoundButtons = {
    C::XpSoundShutdownBrowse, C::XpSoundStartupBrowse, C::XpSoundLogoffBrowse,
    C::XpSoundLogonBrowse};

const PageSetControls kWin7Controls{
    PageSet::Win7,
    Page::Win71,
    Page::Win72,
    Page::Win73,
    Page::Win74,
    Page::Win75,
    Page::Win76,
    {C::Win7IconDocuments, C::Win7IconComputer, C::Win7IconNetwork, C::Win7IconRecycleEmpty,
     C::Win7IconRecycleFull},
    {C::Win7IconDocumentsBrowse, C::Win7IconComputerBrowse, C::Win7IconNetworkBrowse,
     C::Win7IconRecycleEmptyBrowse, C::Win7IconRecycleFullBrowse},
    C::Win7PointerScheme,
    C::Win7PointerSchemeName,
    C::Win7SoundScheme,
    C::Win7SoundSchemeName,
    kWin7SoundFields,
    kWin7SoundButtons,
    C::Win7SystemSaverTick,
    C::Win7OwnSaverTick,
    C::Win7SystemSaver,
    C::Win7OwnSaver,
    C::Win7OwnSaverBrowse,
    C::Win7Wallpaper,
    C::Win7WallpaperBrowse,
    C::Win7VisualStyle,
    C::Win7VisualStyleBrowse,
    C::Win7ThemeName,
    C::Win7DisplayName,
    C::Win7SaveLocation,
    C::Win7SaveLocationBrowse,
    C::Win7Generate,
};

const PageSetControls kXpControls{
    PageSet::Xp,
    Page::Xp1,
    Page::Xp2,
    Page::Xp3,
    Page::Xp4,
    Page::Xp5,
    Page::Xp6,
    {C::XpIconDocuments, C::XpIconComputer, C::XpIconNetwork, C::XpIconRecycleEmpty,
     C::XpIconRecycleFull},
    {C::XpIconDocumentsBrowse, C::XpIconComputerBrowse, C::XpIconNetworkBrowse,
     C::XpIconRecycleEmptyBrowse, C::XpIconRecycleFullBrowse},
    C::XpPointerScheme,
    C::XpPointerSchemeName,
    C::XpSoundScheme,
    C::XpSoundSchemeName,
    kXpSoundFields,
    kXpSoundButtons,
    C::XpSystemSaverTick,
    C::XpOwnSaverTick,
    C::XpSystemSaver,
    C::XpOwnSaver,
    C::XpOwnSaverBrowse,
    C::XpWallpaper,
    C::XpWallpaperBrowse,
    C::XpVisualStyle,
    C::XpVisualStyleBrowse,
    C::XpThemeName,
    C::XpDisplayName,
    C::XpSaveLocation,
    C::XpSaveLocationBrowse,
    C::XpGenerate,
};

// The rows of the table by identity. A missing or repeated row is a defect of the table above
// and stops the program at its first use rather than answering for the wrong control.
std::vector<const ControlDef*> indexById(std::span<const ControlDef> table) {
    std::vector<const ControlDef*> index(kControlCount, nullptr);
    for (const ControlDef& c : table) {
        const ControlDef*& slot = index.at(static_cast<std::size_t>(indexOf(c.id)));
        if (slot) {
            throw std::logic_error("two rows for control " + std::string(c.name));
        }
        slot = &c;
    }
    for (int i = 0; i < kControlCount; ++i) {
        if (!index[static_cast<std::size_t>(i)]) {
            throw std::logic_error("no row for control " + std::to_string(i));
        }
    }
    return index;
}

} // namespace

const PageSetControls& pageSetControls(PageSet set) {
    return set == PageSet::Win7 ? kWin7Controls : kXpControls;
}

std::span<const ControlDef> controlTable() {
    static const std::vector<ControlDef> table = buildTable();
    return table;
}

const ControlDef& controlDef(ControlId id) {
    static const std::vector<const ControlDef*> index = indexById(controlTable());
    return *index.at(static_cast<std::size_t>(indexOf(id)));
}

const ControlDef* findControl(std::string_view name) {
    for (const ControlDef& c : controlTable()) {
        if (c.name == name) {
            return &c;
        }
    }
    return nullptr;
}

std::ostream& operator<<(std::ostream& out, ControlId id) {
    return out << controlDef(id).name;
}

std::ostream& operator<<(std::ostream& out, Page page) {
    return out << kPages.at(static_cast<std::size_t>(pageIndex(page))).name;
}

std::vector<const ControlDef*> controlsOfPage(Page page) {
    std::vector<const ControlDef*> result;
    for (const ControlDef& c : controlTable()) {
        if (c.page == page) {
            result.push_back(&c);
        }
    }
    return result;
}

std::span<const PageLabel> pageLabels() {
    static const std::vector<PageLabel> labels = buildLabels();
    return labels;
}

std::span<const PageInfo> pageInfos() {
    return kPages;
}

bool takesFocus(ControlKind kind) {
    switch (kind) {
    case K::GraphicButton:
    case K::PushButton:
    case K::EditField:
    case K::ComboBox:
    case K::Slider:
        return true;
    case K::PageContainer:
    case K::PagePicture:
    case K::TickBox:
        return false;
    }
    return false;
}

std::vector<const ControlDef*> tabOrder(Page page) {
    std::vector<const ControlDef*> order;
    for (const ControlDef* c : controlsOfPage(page)) {
        if (takesFocus(c->kind)) {
            order.push_back(c);
        }
    }
    std::stable_sort(order.begin(), order.end(), [](const ControlDef* a, const ControlDef* b) {
        if (a->rect.top != b->rect.top) {
            return a->rect.top < b->rect.top;
        }
        return a->rect.left < b->rect.left;
    });
    return order;
}

} // namespace quorvel
