// The three support DLLs of a Windows 7 pack: their texts, markup and pictures, and how they are
// assembled into resource trees and files. See PayloadDlls.h for the overall plan.
#include "generator/PayloadDlls.h"

#include "generator/Md5.h"
#include "generator/Payload.h"
#include "generator/PayloadTexts.h"
#include "generator/PeImage.h"
#include "model/Geometry.h"
#include "model/ProductInfo.h"
#include "platform/LittleEndian.h"
#include "platform/Utf8.h"

#include <functional>
#include <stdexcept>
#include <string_view>

namespace quorvel::payload {

namespace {

using pe::ResourceTree;

// ---------------------------------------------------------------------------------------------
// Texts

const StringTable kAeroStrings = {
    {1000, "Quorvel 主题包视觉样式"},
    {1001, "由 Quorvel 主题制作向导随主题包写入的简体中文语言资源。"},
    {1002, "标准颜色"},
    {1003, "用主题包选定的颜色和透明度绘制窗口边框、标题栏、开始菜单和任务栏。"},
    {1004, "标准尺寸"},
    {1005, "窗口标题、菜单、滚动条和按钮使用常规大小。"},
    {1006, "主题包"},
    {1007, "若要停止使用此视觉样式，请在“个性化”窗口中选择其他主题。"},
    {1008, "The Quorvel Project"},
    {1009, "版权所有 (C) The Quorvel Project。保留所有权利。"},
    {1010, "窗口"},
    {1011, "活动窗口的标题栏"},
    {1012, "非活动窗口的标题栏"},
    {1013, "窗口边框"},
    {1014, "菜单"},
    {1015, "选定的菜单项"},
    {1016, "工具提示"},
    {1017, "消息框"},
    {1018, "滚动条"},
    {1019, "按钮"},
    {1020, "开始按钮"},
    {1021, "任务栏"},
    {1022, "通知区域"},
    {1023, "桌面"},
    {1024, "图标间距"},
    {1025, "玻璃效果：窗口边框和任务栏半透明，透出其后的桌面。"},
    {1026, "若显示设置不支持玻璃效果，窗口边框以不透明的同一颜色显示。"},
    {1027, "此视觉样式的颜色来自主题包，可在“窗口颜色和外观”中调整。"},
    {1028, "高对比度主题不使用此视觉样式。"},
    {1029, "此文件只含文字资源，不含可执行的代码。"},
};

const StringTable kShellStyleStrings = {
    {1000, "主题包外壳"},     {1001, "文件和文件夹任务"},
    {1002, "其他位置"},       {1003, "详细信息"},
    {1004, "查看方式"},       {1010, "创建新文件夹"},
    {1011, "重命名此文件"},   {1012, "移动此文件"},
    {1013, "复制此文件"},     {1014, "删除此文件"},
    {1015, "共享此文件夹"},   {1020, "桌面"},
    {1021, "我的文档"},       {1022, "计算机"},
    {1023, "网络"},           {1030, "正在加载…"},
    {1031, "此文件夹为空。"}, {1032, "已选择 %d 个项目"},
    {1033, "可用空间：%s"},   {1040, "大图标"},
    {1041, "小图标"},         {1042, "列表"},
    {1043, "详细信息"},       {1044, "平铺"},
    {1050, "关于此外壳样式"}, {1051, "此外壳样式由 Quorvel 主题制作向导随主题包写入。"},
};

std::vector<std::uint8_t> bytesOf(std::string_view text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

// ---------------------------------------------------------------------------------------------
// Pictures. Integer arithmetic only, so that every compiler draws the same pixels.

constexpr std::uint32_t argb(int a, int r, int g, int b) {
    return (static_cast<std::uint32_t>(a) << 24) | (static_cast<std::uint32_t>(r) << 16) |
           (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
}

std::uint8_t clampByte(int value) {
    return static_cast<std::uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value));
}

std::uint32_t opaque(const Rgb& c) {
    return argb(255, c.red, c.green, c.blue);
}

Rgb mix(const Rgb& from, const Rgb& to, int step, int steps) {
    return blend(from, to, step, steps, Rounding::Nearest);
}

Rgb lighten(const Rgb& c, int amount) {
    return {clampByte(c.red + amount), clampByte(c.green + amount), clampByte(c.blue + amount)};
}

constexpr Rgb kHeaderDark{0x1E, 0x39, 0x5B};
constexpr Rgb kHeaderLight{0x4A, 0x78, 0xB0};
constexpr Rgb kPaneTop{0xD6, 0xE2, 0xF3};
constexpr Rgb kPaneBottom{0xF4, 0xF7, 0xFC};
constexpr Rgb kPaneEdge{0xC5, 0xD2, 0xE3};
constexpr Rgb kLink{0x00, 0x66, 0xCC};

// The pane background: a vertical gradient with a faint diagonal sheen and the pane's edge on
// the right.
pe::PixelFunction paneBackground(int width, int height) {
    return [width, height](int x, int y) {
        if (x == width - 1) {
            return opaque(kPaneEdge);
        }
        Rgb c = mix(kPaneTop, kPaneBottom, y, height - 1);
        const int band = (x + y) % 128;
        if (band < 32) {
            c = lighten(c, (band < 16 ? band : 31 - band) / 4);
        }
        return opaque(c);
    };
}

// The pane header: dark to light from left to right, with a lighter upper half.
pe::PixelFunction headerBand(int width, int height) {
    return [width, height](int x, int y) {
        Rgb c = mix(kHeaderDark, kHeaderLight, x, width - 1);
        if (y < height / 2) {
            c = lighten(c, 10 - 10 * y / (height / 2));
        }
        if (y == height - 1) {
            c = lighten(c, -16);
        }
        return opaque(c);
    };
}

// Squared distance test of a point to a segment, all in the same integer units.
bool nearSegment(std::int64_t px, std::int64_t py, std::int64_t ax, std::int64_t ay,
                 std::int64_t bx, std::int64_t by, std::int64_t radius) {
    const std::int64_t dx = bx - ax;
    const std::int64_t dy = by - ay;
    const std::int64_t length2 = dx * dx + dy * dy;
    const std::int64_t t = (px - ax) * dx + (py - ay) * dy;
    if (t <= 0) {
        return (px - ax) * (px - ax) + (py - ay) * (py - ay) <= radius * radius;
    }
    if (t >= length2) {
        return (px - bx) * (px - bx) + (py - by) * (py - by) <= radius * radius;
    }
    const std::int64_t cross = (px - ax) * dy - (py - ay) * dx;
    return cross * cross <= radius * radius * length2;
}

// A glyph of one colour whose coverage comes from 4 x 4 samples per pixel, in premultiplied
// alpha. `inside` gets sample positions in sixteenths of a pixel.
pe::PixelFunction glyph(const Rgb& colour, std::function<bool(int, int)> inside) {
    return [colour, inside = std::move(inside)](int x, int y) {
        int covered = 0;
        for (int sy = 0; sy < 4; ++sy) {
            for (int sx = 0; sx < 4; ++sx) {
                if (inside(16 * x + 4 * sx + 2, 16 * y + 4 * sy + 2)) {
                    ++covered;
                }
            }
        }
        const int alpha = covered * 255 / 16;
        return argb(alpha, colour.red * alpha / 255, colour.green * alpha / 255,
                    colour.blue * alpha / 255);
    };
}

// A chevron in a 16 x 16 cell, pointing down (103) or up (104).
pe::PixelFunction chevron(bool down) {
    return glyph(kHeaderDark, [down](int sx, int sy) {
        const int y = down ? sy : 16 * 16 - sy;
        return nearSegment(sx, y, 4 * 16, 6 * 16, 8 * 16, 10 * 16, 20) ||
               nearSegment(sx, y, 8 * 16, 10 * 16, 12 * 16, 6 * 16, 20);
    });
}

// A round bullet in a 16 x 16 cell.
pe::PixelFunction bullet() {
    return glyph(kLink, [](int sx, int sy) {
        const int dx = sx - 8 * 16;
        const int dy = sy - 8 * 16;
        return dx * dx + dy * dy <= 3 * 16 * 3 * 16;
    });
}

// The banner of the language file: a light gradient with soft diagonal stripes under a dark top
// rule.
pe::PixelFunction banner(int width) {
    return [width](int x, int y) {
        if (y < 4) {
            return opaque(kHeaderDark);
        }
        Rgb c = mix(Rgb{0xE8, 0xF1, 0xFB}, Rgb{0xC9, 0xDD, 0xF5}, x, width - 1);
        if (((x + y) / 12) % 2 == 0) {
            c = lighten(c, 6);
        }
        return opaque(c);
    };
}

// ---------------------------------------------------------------------------------------------
// Assembly

std::string versionText(const pe::FileVersion& v) {
    return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.build) +
           "." + std::to_string(v.revision);
}

// The product version as four numbers, from its text ("2.0" gives 2.0.0.0).
pe::FileVersion productVersion() {
    std::uint16_t parts[4] = {0, 0, 0, 0};
    int part = 0;
    for (const char* c = kProductVersion; *c != 0 && part < 4; ++c) {
        if (*c == '.') {
            ++part;
        } else if (*c >= '0' && *c <= '9') {
            parts[part] = static_cast<std::uint16_t>(parts[part] * 10 + (*c - '0'));
        }
    }
    return {parts[0], parts[1], parts[2], parts[3]};
}

std::vector<std::uint8_t> versionFor(const std::string& description,
                                     const std::string& internalName,
                                     const std::string& originalName) {
    pe::VersionInfo info;
    info.fileVersion = kSupportFileVersion;
    info.productVersion = productVersion();
    info.language = pe::kLanguageZhCn;
    info.strings = {
        {"CompanyName", kCompanyName},
        {"FileDescription", description},
        {"FileVersion", versionText(kSupportFileVersion)},
        {"InternalName", internalName},
        {"LegalCopyright", "版权所有 (C) " + std::string(kCompanyName) + "。保留所有权利。"},
        {"OriginalFilename", originalName},
        {"ProductName", kProductName},
        {"ProductVersion", kProductVersion},
    };
    return pe::versionResource(info);
}

// The checksum that ties a language-neutral file and its language files together: MD5 of the
// neutral file's name in UTF-16 followed by the major and minor file version.
std::array<std::uint8_t, 16> mainChecksum(std::string_view neutralFileName) {
    std::vector<std::uint8_t> input;
    pe::appendUtf16(input, utf8::toUtf16(neutralFileName), false);
    for (std::uint16_t number : {kSupportFileVersion.major, kSupportFileVersion.minor}) {
        le::append16(input, number);
    }
    return pe::md5(input);
}

// The service checksum: MD5 of the localised resources of the language file, in tree order.
std::array<std::uint8_t, 16> serviceChecksum(const ResourceTree& localised) {
    std::vector<std::uint8_t> input;
    for (const pe::Resource& resource : localised.resources()) {
        input.insert(input.end(), resource.data.begin(), resource.data.end());
    }
    return pe::md5(input);
}

void addStrings(ResourceTree& tree, const StringTable& strings) {
    for (auto& [block, data] : pe::stringTableBlocks(strings)) {
        tree.add(pe::kTypeString, block, pe::kLanguageZhCn, std::move(data));
    }
}

// How many rows the stretchable picture of a tree gets: the tree is built with a picture one row
// tall, and every further row adds the same multiple of eight bytes, so nothing else moves.
int fittedRows(const std::function<ResourceTree(int rows)>& build, std::size_t room,
               std::size_t rowBytes) {
    if (rowBytes % 8 != 0) {
        throw std::logic_error("a stretchable picture needs rows of a multiple of eight bytes");
    }
    const std::size_t oneRow = build(1).size();
    if (oneRow > room) {
        throw std::length_error("the resources do not fit into the file");
    }
    return static_cast<int>(1 + (room - oneRow) / rowBytes);
}

// The localised part of shellstyle.dll.mui: strings, banner and page.
ResourceTree shellStyleLocalised(int bannerRows) {
    ResourceTree tree;
    addStrings(tree, kShellStyleStrings);
    tree.add(pe::kTypeRcData, kBannerPicture, pe::kLanguageZhCn,
             pe::bmpFile(kBannerWidth, bannerRows, 24, banner(kBannerWidth)));
    tree.add(pe::kTypeHtml, "ABOUT.HTM", pe::kLanguageZhCn, bytesOf(aboutPage()));
    return tree;
}

pe::MuiConfig shellStyleNeutralConfig(const std::array<std::uint8_t, 16>& service) {
    pe::MuiConfig config;
    config.kind = pe::MuiConfig::Kind::LanguageNeutral;
    config.serviceChecksum = service;
    config.checksum = mainChecksum("shellstyle.dll");
    config.mainTypeNames = {"MUI", "UIFILE"};
    config.mainTypeIds = {pe::kTypeBitmap, pe::kTypeVersion, pe::kTypeHtml};
    config.muiTypeNames = {"MUI"};
    config.muiTypeIds = {pe::kTypeString, pe::kTypeRcData, pe::kTypeVersion, pe::kTypeHtml};
    config.fallbackLanguage = "zh-CN";
    return config;
}

ResourceTree shellStyleMuiTree(int bannerRows) {
    ResourceTree tree = shellStyleLocalised(bannerRows);
    pe::MuiConfig config;
    config.kind = pe::MuiConfig::Kind::Language;
    config.serviceChecksum = serviceChecksum(tree);
    config.checksum = mainChecksum("shellstyle.dll");
    // A language file lists the types it holds, which are the neutral file's "MUI" types.
    const pe::MuiConfig neutral = shellStyleNeutralConfig({});
    config.mainTypeNames = neutral.muiTypeNames;
    config.mainTypeIds = neutral.muiTypeIds;
    config.language = "zh-CN";
    tree.add("MUI", 1, pe::kLanguageNeutral, pe::muiResource(config));
    tree.add(pe::kTypeVersion, 1, pe::kLanguageZhCn,
             versionFor("Quorvel 主题包外壳样式语言资源（简体中文）", "shellstyle",
                        "shellstyle.dll.mui"));
    return tree;
}

int bannerRows() {
    return fittedRows(shellStyleMuiTree, pe::resourceRoom(kShellStyleDllMuiSize),
                      pe::dibRowBytes(kBannerWidth, 24));
}

ResourceTree shellStyleDllTree(int backgroundRows, const std::array<std::uint8_t, 16>& service) {
    ResourceTree tree;
    tree.add("MUI", 1, pe::kLanguageNeutral, pe::muiResource(shellStyleNeutralConfig(service)));
    tree.add("UIFILE", 1, pe::kLanguageNeutral, bytesOf(paneMarkup()));
    tree.add(pe::kTypeBitmap, kPaneBackgroundBitmap, pe::kLanguageNeutral,
             pe::packedDib(kPaneBackgroundWidth, backgroundRows, 32,
                           paneBackground(kPaneBackgroundWidth, backgroundRows)));
    tree.add(pe::kTypeBitmap, 102, pe::kLanguageNeutral,
             pe::packedDib(256, 40, 32, headerBand(256, 40)));
    tree.add(pe::kTypeBitmap, 103, pe::kLanguageNeutral, pe::packedDib(16, 16, 32, chevron(true)));
    tree.add(pe::kTypeBitmap, 104, pe::kLanguageNeutral, pe::packedDib(16, 16, 32, chevron(false)));
    tree.add(pe::kTypeBitmap, 105, pe::kLanguageNeutral, pe::packedDib(16, 16, 32, bullet()));
    tree.add(pe::kTypeVersion, 1, pe::kLanguageZhCn,
             versionFor("Quorvel 主题包外壳样式", "shellstyle", "shellstyle.dll"));
    tree.add(pe::kTypeHtml, "PANE.HTM", pe::kLanguageNeutral, bytesOf(panePage()));
    tree.add(pe::kTypeHtml, "SHELLSTYLE.CSS", pe::kLanguageNeutral, bytesOf(styleSheet()));
    return tree;
}

ResourceTree aeroMsstylesMuiTree() {
    ResourceTree tree;
    addStrings(tree, kAeroStrings);
    pe::MuiConfig config;
    config.kind = pe::MuiConfig::Kind::Language;
    config.serviceChecksum = serviceChecksum(tree);
    config.checksum = mainChecksum("aero.msstyles");
    config.mainTypeNames = {"MUI"};
    config.mainTypeIds = {pe::kTypeString, pe::kTypeVersion};
    config.language = "zh-CN";
    tree.add("MUI", 1, pe::kLanguageNeutral, pe::muiResource(config));
    tree.add(pe::kTypeVersion, 1, pe::kLanguageZhCn,
             versionFor("Quorvel 主题包视觉样式语言资源（简体中文）", "aero.msstyles",
                        "aero.msstyles.mui"));
    return tree;
}

} // namespace

const StringTable& aeroMsstylesStrings() {
    return kAeroStrings;
}
const StringTable& shellStyleStrings() {
    return kShellStyleStrings;
}

std::vector<std::uint8_t> buildAeroMsstylesMui() {
    return pe::buildResourceDll(aeroMsstylesMuiTree(), kAeroMsstylesMuiSize);
}

std::vector<std::uint8_t> buildShellStyleDll() {
    // The neutral file carries the service checksum of its language file.
    const auto service = serviceChecksum(shellStyleLocalised(bannerRows()));
    const auto tree = [&](int rows) { return shellStyleDllTree(rows, service); };
    const int rows = fittedRows(tree, pe::resourceRoom(kShellStyleDllSize),
                                pe::dibRowBytes(kPaneBackgroundWidth, 32));
    return pe::buildResourceDll(tree(rows), kShellStyleDllSize);
}

std::vector<std::uint8_t> buildShellStyleDllMui() {
    return pe::buildResourceDll(shellStyleMuiTree(bannerRows()), kShellStyleDllMuiSize);
}

std::span<const std::uint8_t> aeroMsstylesMui() {
    static const std::vector<std::uint8_t> bytes = buildAeroMsstylesMui();
    return bytes;
}

std::span<const std::uint8_t> shellStyleDll() {
    static const std::vector<std::uint8_t> bytes = buildShellStyleDll();
    return bytes;
}

std::span<const std::uint8_t> shellStyleDllMui() {
    static const std::vector<std::uint8_t> bytes = buildShellStyleDllMui();
    return bytes;
}

} // namespace quorvel::payload
