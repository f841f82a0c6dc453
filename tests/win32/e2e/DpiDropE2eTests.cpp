// The window at 96, 144 and 192 DPI, and files dropped onto it from the file manager.
#include "WizardTest.h"
#include "pages/ControlTable.h"
#include "preview/win32/PagePictures.h"
#include "widgets/Dpi.h"

#include <map>
#include <optional>

namespace quorvel::e2e {
namespace {

// The row of the table a control seen on the page stands for: the one whose rectangle, scaled
// to the DPI, the control covers exactly (a drop-down list by its closed box).
const ControlDef* rowOf(const Seen& s, int dpi) {
    for (const ControlDef& def : controlTable()) {
        if (def.kind == ControlKind::PagePicture || def.kind == ControlKind::PageContainer) {
            continue;
        }
        const Rect r = scaleToDpi(def.rect, dpi);
        if (s.pixels.left == r.left && s.pixels.top == r.top && s.pixels.right == r.right() &&
            s.pixels.bottom == r.bottom()) {
            return &def;
        }
    }
    return nullptr;
}

SIZE extentOf(HFONT font, const std::string& text) {
    const HDC dc = ::CreateCompatibleDC(nullptr);
    const HGDIOBJ old = ::SelectObject(dc, font);
    const std::wstring wide = widen(text);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    size.cy = std::max<LONG>(size.cy, metrics.tmHeight);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return size;
}

class DpiWalk : public WizardTest {
protected:
    // Every control of the page shown: at its place of the table scaled to the DPI, in the same
    // order of edges as the table has at 96 DPI, its text inside it in the font of that DPI.
    void checkPage(const std::string& shot) {
        const int dpi = app->dpi();
        const auto px = [dpi](int v) { return scaleToDpi(v, dpi); };
        const std::string page = pageSeen(*app);
        app->screenshot(widen("dpi" + std::to_string(dpi) + "-" + shot));
        const WizardFonts fonts = makeWizardFonts(dpi);
        std::vector<std::pair<const ControlDef*, RECT>> placed;
        for (const Seen& s : app->visible()) {
            const ControlDef* def = rowOf(s, dpi);
            if (!def) {
                ADD_FAILURE() << page << ": " << s.caption << " at " << s.pixels.left << ","
                              << s.pixels.top << " is at no place of the table";
                continue;
            }
            placed.emplace_back(def, s.pixels);
            std::string text = app->text(s.window);
            HFONT font = fonts.text.get();
            int room = s.pixels.right - s.pixels.left - 2 * px(2);
            switch (def->kind) {
            case ControlKind::GraphicButton:
                font = fonts.face.get();
                text = std::string(def->caption);
                room = s.pixels.right - s.pixels.left - px(20) - px(24);
                break;
            case ControlKind::PushButton:
                room = s.pixels.right - s.pixels.left - 2 * px(3);
                break;
            case ControlKind::ComboBox:
                room = s.pixels.right - s.pixels.left - px(18) - px(7);
                break;
            case ControlKind::TickBox:
                font = fonts.tick.get();
                text = "√";
                room = s.pixels.right - s.pixels.left;
                break;
            case ControlKind::EditField:
                // A field scrolls a longer text; one character shows its height.
                text = "国";
                break;
            default:
                break;
            }
            const SIZE need = extentOf(font, text.empty() ? "国" : text);
            EXPECT_LE(need.cx, room) << page << ": " << def->name << " \"" << text << "\"";
            EXPECT_LE(need.cy, s.pixels.bottom - s.pixels.top)
                << page << ": " << def->name << " \"" << text << "\"";
        }
        EXPECT_FALSE(placed.empty()) << page;
        for (const auto& [a, ra] : placed) {
            for (const auto& [b, rb] : placed) {
                const auto same = [](int x, int y, LONG sx, LONG sy) {
                    return (x < y) == (sx < sy) && (x == y) == (sx == sy);
                };
                EXPECT_TRUE(same(a->rect.left, b->rect.left, ra.left, rb.left) &&
                            same(a->rect.top, b->rect.top, ra.top, rb.top) &&
                            same(a->rect.right(), b->rect.left, ra.right, rb.left) &&
                            same(a->rect.bottom(), b->rect.top, ra.bottom, rb.top))
                    << page << ": " << a->name << " / " << b->name;
            }
        }
        // The labels the page picture draws fit their rectangles too.
        const std::optional<Page> shown = shownPage(page);
        for (const PageLabel& label : pageLabels()) {
            if (label.style == LabelStyle::Pictogram || label.page != shown) {
                continue;
            }
            HFONT font = label.style == LabelStyle::Title     ? fonts.title.get()
                         : label.style == LabelStyle::Heading ? fonts.heading.get()
                                                              : fonts.text.get();
            const Rect r = scaleToDpi(label.rect, dpi);
            const SIZE need = extentOf(font, std::string(label.text));
            EXPECT_LE(need.cx, r.width) << page << ": " << label.text;
        }
    }
    static std::optional<Page> shownPage(const std::string& page) {
        static const std::map<std::string, Page> pages = {
            {"主界面", Page::Main}, {"软件信息", Page::About}, {"WIN71", Page::Win71},
            {"WIN73", Page::Win73}, {"WIN74", Page::Win74},    {"WIN75", Page::Win75},
            {"XP1", Page::Xp1},     {"XP3", Page::Xp3},        {"XP4", Page::Xp4},
            {"XP5", Page::Xp5}};
        const auto it = pages.find(page);
        if (it == pages.end()) {
            return std::nullopt;
        }
        return it->second;
    }
};

TEST_F(DpiWalk, EveryPageAt96_144And192DpiHasItsControlsInPlaceWithTheirTextsInside) {
    for (int dpi : {96, 144, 192}) {
        SCOPED_TRACE(dpi);
        start(L"win7", dpi);
        RECT client{};
        ::GetClientRect(app->mainWindow(), &client);
        EXPECT_GE(client.right, scaleToDpi(kPageWidth, dpi));
        EXPECT_GE(client.bottom, scaleToDpi(kPageHeight, dpi));
        if (dpi == 96) {
            RECT frame{};
            ::GetWindowRect(app->mainWindow(), &frame);
            EXPECT_EQ(frame.right - frame.left, 500);
        }
        checkPage("01-main");
        press("查看软件の信息", "软件信息");
        checkPage("02-about");
        press("返回主界面", "主界面");
        press("生成Win7主题", "WIN71");
        checkPage("03-WIN71");
        press("下一步", "指针页");
        pick(138, 18, "自定义鼠标方案");
        typeInto(320, 18, "大号指针");
        checkPage("04-WIN72");
        press("下一步", "WIN73");
        pick(159, 91, "系统默认声音方案");
        checkPage("05-WIN73");
        press("下一步", "WIN74");
        checkPage("06-WIN74");
        press("下一步", "WIN75");
        checkPage("07-WIN75");
        typeInto(159, 92, "C:\\windows\\resources\\themes\\aero\\aero.msstyles");
        press("下一步", "生成页");
        checkPage("08-WIN76");

        start(L"winxp", dpi);
        press("生成WinXP主题", "XP1");
        checkPage("09-XP1");
        press("下一步", "指针页");
        pick(138, 18, "系统默认鼠标方案");
        checkPage("10-XP2");
        press("下一步", "XP3");
        pick(159, 92, "自定义声音方案");
        typeInto(341, 92, "大号声音");
        checkPage("11-XP3");
        press("下一步", "XP4");
        checkPage("12-XP4");
        press("下一步", "XP5");
        checkPage("13-XP5");
        typeInto(159, 92, "C:\\windows\\resources\\themes\\luna\\luna.msstyles");
        press("下一步", "生成页");
        checkPage("14-XP6");
        app.reset();
    }
}

class Drops : public WizardTest {};

TEST_F(Drops, AFileOnAFieldIsTakenAsItsPickAFolderBecomesTheSaveLocationAndTheRestIsRefused) {
    const std::wstring work = settings().workDir;
    ASSERT_FALSE(work.empty()) << "run with --work=DIR";
    const std::wstring icons = work + L"\\拖放\\图标";
    const std::wstring out = work + L"\\拖放\\保存";
    ASSERT_TRUE(makeFolders(icons));
    ASSERT_TRUE(makeFolders(out));
    ASSERT_TRUE(writeFileBytes(icons + L"\\拖入.ico", "dropped icon"));

    start(L"win7");
    press("生成Win7主题", "WIN71");
    const LONG_PTR exStyle = ::GetWindowLongPtrW(app->mainWindow(), GWL_EXSTYLE);
    EXPECT_NE(exStyle & WS_EX_ACCEPTFILES, 0) << "the window does not take dropped files";

    ASSERT_TRUE(app->dropFiles(field(159, 92), {icons + L"\\拖入.ico"}));
    noMessageBox();
    EXPECT_EQ(app->text(field(159, 92)), narrow(icons + L"\\拖入.ico"));

    // A folder on a file field: one message, the field keeps its text.
    ASSERT_TRUE(app->dropFiles(field(159, 92), {icons}));
    const auto refused = app->messageBox(3000ms);
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(refused->title, "提示...");
    EXPECT_EQ(refused->text, "这里只能放入一个文件,不能放入文件夹。");
    app->screenshot(refused->window, L"30-drop-refused");
    app->confirm(*refused);
    EXPECT_EQ(app->text(field(159, 92)), narrow(icons + L"\\拖入.ico"));

    press("下一步", "指针页");
    pick(138, 18, "系统默认鼠标方案");
    press("下一步", "WIN73");
    pick(159, 91, "系统默认声音方案");
    press("下一步", "WIN74");
    press("下一步", "WIN75");
    typeInto(159, 92, "C:\\windows\\resources\\themes\\aero\\aero.msstyles");
    press("下一步", "生成页");
    typeInto(159, 92, "拖放主题");
    typeInto(159, 127, "拖放 显示名");
    ASSERT_TRUE(app->dropFiles(field(159, 161), {out}));
    EXPECT_EQ(app->text(field(159, 161)), narrow(out));
    app->click(button("生  成"));
    const auto done = app->messageBox(10000ms);
    ASSERT_TRUE(done.has_value());
    EXPECT_TRUE(done->text.starts_with("生成完毕!")) << done->text;
    app->confirm(*done);
    // The dropped icon went into its slot: the pack holds it under its own name.
    EXPECT_EQ(readFileBytes(out + L"\\拖放主题\\ICON\\拖入.ico"), "dropped icon");
}

} // namespace
} // namespace quorvel::e2e
