// A theme pack dropped on the window opens: it is extracted into the current user's folder of
// packs and the files its theme names become the wizard's picks.
#include "WizardTest.h"
#include "wizard/ControlTable.h"

#include <gtest/gtest.h>

namespace quorvel::e2e {
namespace {

class Packs : public WizardTest {};

TEST_F(Packs, APackDroppedOnTheWindowOpensWithItsFilesAsThePicks) {
    const std::wstring work = settings().workDir;
    ASSERT_FALSE(work.empty()) << "run with --work=DIR";
    const std::optional<std::string> bytes =
        readFileBytes(widen(std::string("Z:") + QUORVEL_TEST_DATA_DIR + "/harbour.themepack"));
    ASSERT_TRUE(bytes.has_value());
    ASSERT_TRUE(makeFolders(work + L"\\主题包"));
    const std::wstring pack = work + L"\\主题包\\港湾.themepack";
    ASSERT_TRUE(writeFileBytes(pack, *bytes));

    start(L"win7");
    ASSERT_TRUE(app->dropFiles(nullptr, {pack}, POINT{40, 40}));
    // The visual style the pack's theme names is the system's, which Wine may lack: then one
    // message names it, and nothing else is missing.
    if (const auto missing = app->messageBox(3000ms)) {
        app->screenshot(missing->window, L"40-pack-missing");
        EXPECT_EQ(missing->text.find("harbour"), std::string::npos) << missing->text;
        EXPECT_NE(missing->text.find("Aero.msstyles"), std::string::npos) << missing->text;
        app->confirm(*missing);
    }
    EXPECT_EQ(pageSeen(*app), "WIN71");
    press("下一步", "指针页");
    press("下一步", "WIN73");
    press("下一步", "WIN74");
    app->screenshot(L"41-pack-opened");
    const Rect r = findControl("W桌面壁纸")->rect;
    const std::string wallpaper = app->text(field(r.left, r.top));
    const std::string tail = "\\Quorvel\\Packs\\港湾\\DesktopBackground\\harbour.jpg";
    ASSERT_GE(wallpaper.size(), tail.size());
    EXPECT_EQ(wallpaper.substr(wallpaper.size() - tail.size()), tail);
    EXPECT_EQ(readFileBytes(widen(wallpaper)),
              readFileBytes(widen(std::string("Z:") + QUORVEL_TEST_DATA_DIR +
                                  "/harbour-pack/DesktopBackground/harbour.jpg")));
}

} // namespace
} // namespace quorvel::e2e
