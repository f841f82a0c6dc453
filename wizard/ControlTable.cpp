#include "wizard/ControlTable.h"

#include <algorithm>
#include <array>

namespace quorvel {

namespace {

using K = ControlKind;

constexpr std::array<std::string_view, 3> kCursorSchemeItems = {
    "请选择鼠标方案(系统或自定)", "系统默认鼠标方案", "自定义鼠标方案"};
constexpr std::array<std::string_view, 3> kSoundSchemeItems = {
    "请选择声音方案(系统或自定)", "系统默认声音方案", "自定义声音方案"};
constexpr std::array<std::string_view, 7> kWin7ScreensaverItems = {
    "请选择系统屏保", "照片", "彩带", "空白", "三维文字", "变幻线", "气泡"};
constexpr std::array<std::string_view, 12> kXpScreensaverItems = {
    "请选择系统屏保", "Windows XP", "贝赛尔曲线", "三维花盒", "三维飞行物", "图片幻灯片收藏",
    "字幕",           "变幻线",     "空白",       "三维管道", "飞跃星空",   "三维文字"};

// Every edit field, combo box and browse button is 20 high.
constexpr int kRowHeight = 20;

ControlDef edit(std::string_view name, int page, int left, int top, int width, bool enabled = true,
                std::string_view text = {}) {
    return {name, page, K::EditField, {left, top, width, kRowHeight}, text, enabled, {}, 0, 0};
}

ControlDef push(std::string_view name, int page, Rect rect, std::string_view caption,
                bool enabled = true) {
    return {name, page, K::PushButton, rect, caption, enabled, {}, 0, 0};
}

// A browse button beside a path field.
ControlDef browse(std::string_view name, int page, int left, int top, int width,
                  bool enabled = true, std::string_view caption = "打开") {
    return push(name, page, {left, top, width, kRowHeight}, caption, enabled);
}

ControlDef combo(std::string_view name, int page, int left, int top, int width,
                 std::span<const std::string_view> items, bool enabled = true) {
    return {name, page, K::ComboBox, {left, top, width, kRowHeight}, items.front(), enabled, items,
            0,    0};
}

ControlDef graphic(std::string_view name, int page, Rect rect, std::string_view face) {
    return {name, page, K::GraphicButton, rect, face, true, {}, 0, 0};
}

ControlDef tick(std::string_view name, int page, int left, int top) {
    return {name, page, K::TickBox, {left, top, 20, 20}, "", true, {}, 0, 0};
}

// The four push buttons of 79 x 19 at the bottom of a wizard page.
void bottomRow(std::vector<ControlDef>& t, int page, std::string_view about, std::string_view back,
               std::string_view next, std::string_view web,
               std::string_view nextCaption = "下一步") {
    t.push_back(push(about, page, {19, 287, 79, 19}, "关  于"));
    t.push_back(push(back, page, {144, 287, 79, 19}, "上一步"));
    t.push_back(push(next, page, {270, 287, 79, 19}, nextCaption));
    t.push_back(push(web, page, {395, 287, 79, 19}, "官  网"));
}

// The pointer pages: two columns of field + browse button; the scheme group starts disabled.
struct PointerRow {
    std::string_view field;
    std::string_view button;
    int column; // 0 left, 1 right
    int row;    // 0 .. 7
};

constexpr std::array<int, 8> kPointerRowTops = {56, 91, 127, 162, 197, 232, 267, 303};

void pointerPage(std::vector<ControlDef>& t, int page, std::span<const PointerRow> rows) {
    for (const PointerRow& r : rows) {
        const int top = kPointerRowTops[r.row];
        const int fieldLeft = r.column == 0 ? 57 : 292;
        const int buttonLeft = r.column == 0 ? 192 : 427;
        t.push_back(edit(r.field, page, fieldLeft, top, 128, false));
        t.push_back(browse(r.button, page, buttonLeft, top, 40, false));
    }
}

constexpr std::array<PointerRow, 15> kWin7Pointers = {{
    {"WUpArrow", "WUpArrow_打开", 0, 0},
    {"WWait", "WWait_打开", 0, 1},
    {"WSizeNWSE", "WSizeNWSE_打开", 0, 2},
    {"WSizeNESW", "WSizeNESW_打开", 0, 3},
    {"WNWPen", "WNWPen_打开", 0, 4},
    {"WHelp", "WHelp_打开", 0, 5},
    {"WSizeWE", "WSizeWE_打开", 0, 6},
    {"WHand", "WHand_打开", 0, 7},
    {"WSizeAll", "WSizeAll_打开", 1, 0},
    {"WArrow", "WArrow_打开", 1, 1},
    {"WCrosshair", "WCrosshair_打开", 1, 2},
    {"WIBeam", "WIBeam_打开", 1, 3},
    {"WNo", "WNo_打开", 1, 4},
    {"WSizeNS", "WSizeNS_打开", 1, 5},
    {"WAppStarting", "WAppStarting_打开", 1, 6},
}};

constexpr std::array<PointerRow, 15> kXpPointers = {{
    {"XUpArrow", "XUpArrow_打开", 0, 0},
    {"XWait", "XWait_打开", 0, 1},
    {"XSizeNWSE", "XSizeNWSE_打开", 0, 2},
    {"XSizeNESW", "XSizeNESW_打开", 0, 3},
    {"XNWPen", "XNWPen_打开", 0, 4},
    {"XHelp", "XHelp_打开", 0, 5},
    {"XSizeWE", "XSizeWE_打开", 0, 6},
    {"XHand", "XHand_打开", 0, 7},
    {"XSizeAll", "XSizeAll_打开", 1, 0},
    {"XArrow", "XArrow_打开", 1, 1},
    {"XCrosshair", "XCrosshair_打开", 1, 2},
    {"XIBeam", "XIBeam_打开", 1, 3},
    {"XNo", "XNo_打开", 1, 4},
    {"XSizeNS", "XSizeNS_打开", 1, 5},
    {"XAppStarting", "XAppStarting_打开", 1, 6},
}};

std::vector<ControlDef> buildTable() {
    std::vector<ControlDef> t;
    t.push_back({"选择夹1", kNoPage, K::PageContainer, {0, 0, 494, 367}, "", true, {}, 0, 0});

    const auto picture = [&](std::string_view name, int page) {
        t.push_back(
            {name, page, K::PagePicture, {0, 0, kPageWidth, kPageHeight}, "", true, {}, 0, 0});
    };

    // 主界面
    picture("图片框1", kPageMain);
    t.push_back(graphic("按钮1", kPageMain, {0, 114, 179, 40}, "生成Win7主题"));
    t.push_back(graphic("按钮2", kPageMain, {0, 164, 179, 40}, "生成WinXP主题"));
    t.push_back(graphic("按钮3", kPageMain, {0, 214, 179, 40}, "访问我们の网站"));
    t.push_back(graphic("按钮4", kPageMain, {0, 264, 179, 40}, "查看软件の信息"));

    // 软件信息
    picture("图片框3", kPageAbout);
    t.push_back(graphic("按钮5", kPageAbout, {298, 264, 196, 40}, "返回主界面"));

    // WIN71: desktop icons
    picture("图片框2", kPageWin71);
    t.push_back(edit("W我的文档_图标", kPageWin71, 159, 92, 256));
    t.push_back(browse("W我的文档_打开", kPageWin71, 432, 92, 42));
    t.push_back(edit("W我的电脑_图标", kPageWin71, 159, 127, 256));
    t.push_back(browse("W我的电脑_打开", kPageWin71, 432, 127, 42));
    t.push_back(edit("W网上邻居_图标", kPageWin71, 159, 161, 256));
    t.push_back(browse("W网上邻居_打开", kPageWin71, 432, 161, 42));
    t.push_back(edit("W回收站空_图标", kPageWin71, 159, 198, 256));
    t.push_back(browse("W回收站空_打开", kPageWin71, 432, 198, 42));
    t.push_back(edit("W回收站满_图标", kPageWin71, 159, 232, 256));
    t.push_back(browse("W回收站满_打开", kPageWin71, 432, 232, 42));
    bottomRow(t, kPageWin71, "按钮6", "按钮7", "按钮8", "按钮9");

    // WIN72: mouse pointers
    picture("图片框4", kPageWin72);
    t.push_back(combo("W鼠标", kPageWin72, 138, 18, 182, kCursorSchemeItems));
    t.push_back(edit("W鼠标方案_名称", kPageWin72, 320, 18, 146, false));
    pointerPage(t, kPageWin72, kWin7Pointers);
    t.push_back(push("按钮11", kPageWin72, {254, 303, 93, 19}, "上一步"));
    t.push_back(push("按钮10", kPageWin72, {373, 303, 93, 19}, "下一步"));

    // WIN73: event sounds
    picture("图片框5", kPageWin73);
    t.push_back(combo("W声音", kPageWin73, 159, 91, 182, kSoundSchemeItems));
    t.push_back(edit("W声音方案_名称", kPageWin73, 341, 91, 133, false));
    t.push_back(edit("W关机声音", kPageWin73, 159, 122, 254, false));
    t.push_back(browse("W关机声音_打开", kPageWin73, 432, 122, 42, false));
    t.push_back(edit("W开机声音", kPageWin73, 159, 152, 254, false));
    t.push_back(browse("W开机声音_打开", kPageWin73, 432, 152, 42, false));
    t.push_back(edit("W退出系统", kPageWin73, 159, 183, 254, false));
    t.push_back(browse("W退出系统_打开", kPageWin73, 432, 183, 42, false));
    t.push_back(edit("W登陆系统", kPageWin73, 159, 212, 254, false));
    t.push_back(browse("W登陆系统_打开", kPageWin73, 432, 212, 42, false));
    t.push_back(edit("W切换主题", kPageWin73, 159, 242, 254, false));
    t.push_back(browse("W切换主题_打开", kPageWin73, 432, 242, 42, false));
    bottomRow(t, kPageWin73, "按钮12", "按钮13", "按钮14", "按钮15");

    // WIN74: screensaver, wallpaper, slideshow
    picture("图片框6", kPageWin74);
    t.push_back(tick("W系统屏保_选择", kPageWin74, 20, 92));
    t.push_back(tick("W屏保文件_选择", kPageWin74, 20, 126));
    t.push_back(combo("W系统屏保", kPageWin74, 195, 92, 280, kWin7ScreensaverItems, false));
    t.push_back(edit("W屏保文件_路径", kPageWin74, 195, 127, 218, false));
    t.push_back(browse("W屏保文件_打开", kPageWin74, 432, 127, 42, false));
    t.push_back(edit("W桌面壁纸", kPageWin74, 159, 161, 254));
    t.push_back(browse("W桌面壁纸_打开", kPageWin74, 432, 161, 42));
    t.push_back(edit("W壁纸文件夹", kPageWin74, 159, 198, 254));
    t.push_back(browse("W壁纸文件夹_打开", kPageWin74, 432, 198, 42, true, "多选"));
    bottomRow(t, kPageWin74, "按钮16", "按钮17", "按钮18", "按钮19");

    // WIN75: visual style, slideshow interval, window colour and transparency
    picture("图片框7", kPageWin75);
    t.push_back(edit("W可视化风格文件", kPageWin75, 159, 92, 254));
    t.push_back(browse("W可视化风格文件_打开", kPageWin75, 432, 92, 42));
    t.push_back(edit("W壁纸切换时间", kPageWin75, 159, 127, 211));
    t.push_back(edit("W透明窗口颜色", kPageWin75, 159, 161, 211, true, "0066FF"));
    t.push_back(push("选择颜色按钮", kPageWin75, {288, 162, 80, 18}, "选择颜色"));
    t.push_back(
        {"窗口透明度滑块", kPageWin75, K::Slider, {159, 198, 254, 20}, "", true, {}, 255, 127});
    t.push_back(edit("W透明度", kPageWin75, 432, 198, 42, true, "127"));
    bottomRow(t, kPageWin75, "按钮20", "按钮21", "按钮22", "按钮23");

    // WIN76: names, save location, generate
    picture("图片框8", kPageWin76);
    t.push_back(edit("W生成名称", kPageWin76, 159, 92, 315));
    t.push_back(edit("W显示名称", kPageWin76, 159, 127, 315));
    t.push_back(edit("W保存位置", kPageWin76, 159, 161, 254));
    t.push_back(browse("W保存位置_选择", kPageWin76, 432, 161, 42));
    bottomRow(t, kPageWin76, "按钮24", "按钮25", "按钮26", "按钮27", "生  成");

    // XP1: desktop icons
    picture("图片框9", kPageXp1);
    t.push_back(edit("X我的文档_图标", kPageXp1, 159, 92, 254));
    t.push_back(browse("X我的文档_打开", kPageXp1, 432, 92, 42));
    t.push_back(edit("X我的电脑_图标", kPageXp1, 159, 127, 254));
    t.push_back(browse("X我的电脑_打开", kPageXp1, 432, 127, 42));
    t.push_back(edit("X网上邻居_图标", kPageXp1, 159, 161, 254));
    t.push_back(browse("X网上邻居_打开", kPageXp1, 432, 161, 42));
    t.push_back(edit("X回收站空_图标", kPageXp1, 159, 198, 254));
    t.push_back(browse("X回收站空_打开", kPageXp1, 432, 198, 42));
    t.push_back(edit("X回收站满_图标", kPageXp1, 159, 232, 254));
    t.push_back(browse("X回收站满_打开", kPageXp1, 432, 232, 42));
    bottomRow(t, kPageXp1, "按钮28", "按钮29", "按钮30", "按钮31");

    // XP2: mouse pointers
    picture("图片框10", kPageXp2);
    t.push_back(combo("X鼠标", kPageXp2, 138, 18, 182, kCursorSchemeItems));
    t.push_back(edit("X鼠标方案_名称", kPageXp2, 320, 18, 146, false));
    pointerPage(t, kPageXp2, kXpPointers);
    t.push_back(push("按钮32", kPageXp2, {254, 303, 93, 19}, "上一步"));
    t.push_back(push("按钮33", kPageXp2, {373, 303, 93, 19}, "下一步"));

    // XP3: event sounds
    picture("图片框11", kPageXp3);
    t.push_back(combo("X声音", kPageXp3, 159, 92, 182, kSoundSchemeItems));
    t.push_back(edit("X声音方案_名称", kPageXp3, 341, 92, 133, false));
    t.push_back(edit("X关机声音", kPageXp3, 159, 127, 254, false));
    t.push_back(browse("X关机声音_打开", kPageXp3, 432, 127, 42, false));
    t.push_back(edit("X开机声音", kPageXp3, 159, 161, 254, false));
    t.push_back(browse("X开机声音_打开", kPageXp3, 432, 161, 42, false));
    t.push_back(edit("X退出系统", kPageXp3, 159, 198, 254, false));
    t.push_back(browse("X退出系统_打开", kPageXp3, 432, 198, 42, false));
    t.push_back(edit("X登陆系统", kPageXp3, 159, 232, 254, false));
    t.push_back(browse("X登陆系统_打开", kPageXp3, 432, 232, 42, false));
    bottomRow(t, kPageXp3, "按钮34", "按钮35", "按钮36", "按钮37");

    // XP4: screensaver and wallpaper
    picture("图片框12", kPageXp4);
    t.push_back(tick("X系统屏保_选择", kPageXp4, 20, 92));
    t.push_back(tick("X自己屏保_选择", kPageXp4, 20, 126));
    t.push_back(combo("X系统屏保", kPageXp4, 195, 92, 280, kXpScreensaverItems, false));
    t.push_back(edit("X自己屏保", kPageXp4, 195, 127, 218, false));
    t.push_back(browse("X自己屏保_打开", kPageXp4, 432, 127, 42, false));
    t.push_back(edit("X桌面壁纸", kPageXp4, 159, 161, 254));
    t.push_back(browse("X桌面壁纸_打开", kPageXp4, 432, 161, 42));
    bottomRow(t, kPageXp4, "按钮38", "按钮39", "按钮40", "按钮41");

    // XP5: visual style
    picture("图片框13", kPageXp5);
    t.push_back(edit("X可视化风格", kPageXp5, 159, 92, 256));
    t.push_back(browse("X可视化风格_打开", kPageXp5, 432, 92, 42));
    bottomRow(t, kPageXp5, "按钮42", "按钮43", "按钮44", "按钮45");

    // XP6: names, save location, generate
    picture("图片框14", kPageXp6);
    t.push_back(edit("X生成名称", kPageXp6, 159, 92, 315));
    t.push_back(edit("X显示名称", kPageXp6, 159, 127, 315));
    t.push_back(edit("X保存位置", kPageXp6, 159, 161, 254));
    t.push_back(browse("X保存位置_打开", kPageXp6, 432, 161, 42));
    bottomRow(t, kPageXp6, "按钮46", "按钮47", "按钮48", "按钮49", "生  成");
    return t;
}

// Field labels end 6 pixels left of the fields at 159 and sit on the row's middle.
constexpr int kLabelRight = 153;
PageLabel field(int page, int top, std::string_view text, int right = kLabelRight) {
    const int left = std::max(4, right - 140);
    return {page, LabelStyle::Field, {left, top, right - left, kRowHeight}, text};
}
PageLabel title(int page, std::string_view text) {
    return {page, LabelStyle::Title, {24, 26, 446, 40}, text};
}
PageLabel text(int page, Rect rect, std::string_view text, LabelStyle style = LabelStyle::Text) {
    return {page, style, rect, text};
}

void pointerPictograms(std::vector<PageLabel>& labels, int page, std::span<const PointerRow> rows) {
    for (const PointerRow& r : rows) {
        const int left = r.column == 0 ? 28 : 263;
        // The field names after their first letter are the pointer roles.
        labels.push_back({page,
                          LabelStyle::Pictogram,
                          {left, kPointerRowTops[r.row] - 2, 24, 24},
                          r.field.substr(1)});
    }
}

std::vector<PageLabel> buildLabels() {
    std::vector<PageLabel> l;
    l.push_back(text(kPageMain, {24, 24, 446, 44}, "欢迎使用 Quorvel", LabelStyle::Heading));
    l.push_back(text(kPageMain, {26, 70, 446, 20}, "Windows 7 与 Windows XP 桌面主题制作向导"));
    l.push_back(text(kPageMain, {204, 122, 270, 20}, "为 Windows 7 制作一套完整的主题"));
    l.push_back(text(kPageMain, {204, 172, 270, 20}, "为 Windows XP 制作一套完整的主题"));
    l.push_back(text(kPageMain, {204, 222, 270, 20}, "打开我们的论坛, 交流与下载"));
    l.push_back(text(kPageMain, {204, 272, 270, 20}, "版本与制作者的信息"));

    l.push_back(title(kPageAbout, "软件の相关信息"));
    l.push_back(text(kPageAbout, {40, 92, 420, 20}, "Quorvel（Quorvel Ver2.0）"));
    l.push_back(text(kPageAbout, {40, 122, 420, 20}, "版本：2.0"));
    l.push_back(text(kPageAbout, {40, 152, 420, 20}, "制作：The Quorvel Project"));
    l.push_back(
        text(kPageAbout, {40, 182, 420, 20}, "版权所有 © The Quorvel Project, 保留所有权利。"));
    l.push_back(
        text(kPageAbout, {40, 212, 420, 20}, "本软件只生成主题文件与主题包, 不更改系统设置。"));

    for (int page : {kPageWin71, kPageXp1}) {
        l.push_back(title(page, "系统主题の图标"));
        l.push_back(field(page, 92, "库图标/我的文档："));
        l.push_back(field(page, 127, "计算机/我的电脑："));
        l.push_back(field(page, 161, "网络/网上邻居："));
        l.push_back(field(page, 198, "回收站(状态空)："));
        l.push_back(field(page, 232, "回收站(状态满)："));
    }

    for (int page : {kPageWin72, kPageXp2}) {
        l.push_back(field(page, 18, "鼠标方案名称：", 132));
    }
    pointerPictograms(l, kPageWin72, kWin7Pointers);
    pointerPictograms(l, kPageXp2, kXpPointers);

    l.push_back(title(kPageWin73, "系统主题の声音"));
    l.push_back(field(kPageWin73, 91, "声音方案名称："));
    l.push_back(field(kPageWin73, 122, "关机声音："));
    l.push_back(field(kPageWin73, 152, "开机声音："));
    l.push_back(field(kPageWin73, 183, "退出系统："));
    l.push_back(field(kPageWin73, 212, "登录系统："));
    l.push_back(field(kPageWin73, 242, "主题切换音："));
    l.push_back(title(kPageXp3, "系统主题の声音"));
    l.push_back(field(kPageXp3, 92, "声音方案名称："));
    l.push_back(field(kPageXp3, 127, "关机声音："));
    l.push_back(field(kPageXp3, 161, "开机声音："));
    l.push_back(field(kPageXp3, 198, "退出系统："));
    l.push_back(field(kPageXp3, 232, "登录系统："));

    for (int page : {kPageWin74, kPageXp4}) {
        l.push_back(title(page, "系统桌面の应用"));
        l.push_back(text(page, {46, 92, 146, 20}, "选择系统自带的屏保"));
        l.push_back(text(page, {46, 126, 146, 20}, "选择自己的屏保文件"));
        l.push_back(field(page, 161, "选择桌面壁纸："));
    }
    l.push_back(field(kPageWin74, 198, "选择幻灯壁纸："));

    l.push_back(title(kPageWin75, "桌面窗口の风格"));
    l.push_back(field(kPageWin75, 92, "可视化风格文件："));
    l.push_back(field(kPageWin75, 127, "壁纸切换时间："));
    l.push_back(text(kPageWin75, {376, 127, 112, 20}, "单位：秒(S)", LabelStyle::Note));
    l.push_back(field(kPageWin75, 161, "透明窗口颜色："));
    l.push_back(text(kPageWin75, {376, 161, 112, 20}, "点击选择颜色", LabelStyle::Note));
    l.push_back(field(kPageWin75, 198, "窗口的透明度："));

    l.push_back(title(kPageXp5, "桌面窗口の风格"));
    l.push_back(field(kPageXp5, 92, "可视化风格文件："));

    for (int page : {kPageWin76, kPageXp6}) {
        l.push_back(title(page, "系统主题の生成"));
        l.push_back(field(page, 92, "生成文件名称："));
        l.push_back(field(page, 127, "系统显示名称："));
        l.push_back(field(page, 161, "主题保存位置："));
    }
    return l;
}

constexpr std::array<PageInfo, kPageCount> kPages = {{
    {kPageMain, "主界面", "图片框1"},
    {kPageAbout, "软件信息", "图片框3"},
    {kPageWin71, "WIN71", "图片框2"},
    {kPageWin72, "WIN72", "图片框4"},
    {kPageWin73, "WIN73", "图片框5"},
    {kPageWin74, "WIN74", "图片框6"},
    {kPageWin75, "WIN75", "图片框7"},
    {kPageWin76, "WIN76", "图片框8"},
    {kPageXp1, "XP1", "图片框9"},
    {kPageXp2, "XP2", "图片框10"},
    {kPageXp3, "XP3", "图片框11"},
    {kPageXp4, "XP4", "图片框12"},
    {kPageXp5, "XP5", "图片框13"},
    {kPageXp6, "XP6", "图片框14"},
}};

} // namespace

std::span<const ControlDef> controlTable() {
    static const std::vector<ControlDef> table = buildTable();
    return table;
}

const ControlDef* findControl(std::string_view name) {
    for (const ControlDef& c : controlTable()) {
        if (c.name == name) {
            return &c;
        }
    }
    return nullptr;
}

std::vector<const ControlDef*> controlsOfPage(int page) {
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

std::vector<const ControlDef*> tabOrder(int page) {
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
