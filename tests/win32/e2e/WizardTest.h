// The frame of the end-to-end tests: starts the program, tells its pages apart and offers the
// steps a user takes on them (pressing buttons, typing into fields, picking list items).
#pragma once

#include "AppDriver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::e2e {

using namespace std::chrono_literals;

// The page shown, told apart by what is on it.
std::string pageSeen(const App& app);

class WizardTest : public testing::Test {
protected:
    std::unique_ptr<App> app;

    void start(const wchar_t* version, int dpi = 96) {
        app = std::make_unique<App>(version, dpi);
        ASSERT_TRUE(app->running()) << "the main window did not show";
        ASSERT_EQ(pageSeen(*app), "主界面");
    }
    HWND button(std::string_view caption) {
        const HWND found = app->find(Kind::Button, caption);
        EXPECT_NE(found, nullptr) << "no button " << caption << " on " << pageSeen(*app);
        return found;
    }
    // Clicks a button and checks the page it leads to.
    void press(std::string_view caption, std::string_view expectedPage) {
        const HWND b = button(caption);
        ASSERT_NE(b, nullptr);
        app->click(b);
        ASSERT_TRUE(waitUntil([&] { return pageSeen(*app) == expectedPage; }, 3000ms))
            << caption << " led to " << pageSeen(*app) << ", not " << expectedPage;
    }
    // Clicks a button and expects an error box with that text; the page stays.
    void pressRefused(std::string_view caption, std::string_view message) {
        const std::string page = pageSeen(*app);
        const HWND b = button(caption);
        ASSERT_NE(b, nullptr);
        app->click(b);
        const auto box = app->messageBox(3000ms);
        ASSERT_TRUE(box.has_value()) << caption << " showed no message";
        EXPECT_EQ(box->text, message);
        EXPECT_EQ(box->title, "错误...");
        app->confirm(*box);
        EXPECT_EQ(pageSeen(*app), page);
    }
    void noMessageBox() {
        const auto box = app->messageBox(400ms);
        EXPECT_FALSE(box.has_value()) << "unexpected message: " << (box ? box->text : "");
        if (box) {
            app->confirm(*box);
        }
    }
    HWND field(int left, int top) {
        const HWND f = app->findAt(Kind::Field, left, top);
        EXPECT_NE(f, nullptr) << "no field at " << left << "," << top;
        return f;
    }
    void typeInto(int left, int top, std::string_view text) {
        const HWND f = field(left, top);
        ASSERT_NE(f, nullptr);
        app->type(f, text);
        ASSERT_EQ(app->text(f), text);
    }
    // Picks an item of the list at a place; the list's items go to `items` when it is given.
    void pick(int left, int top, std::string_view item, std::vector<std::string>* items = nullptr) {
        const HWND list = app->findAt(Kind::List, left, top);
        ASSERT_NE(list, nullptr);
        ASSERT_TRUE(app->pickItem(list, item, items)) << item;
        ASSERT_EQ(app->text(list), item);
    }
    // Presses the browse button at a place and answers its open-file dialog with a full path.
    // The dialog's file types go to `types` when it is given.
    void pickFile(int left, int top, const std::wstring& path,
                  std::vector<std::string>* types = nullptr) {
        const HWND browse = app->findAt(Kind::Button, left, top);
        ASSERT_NE(browse, nullptr) << "no button at " << left << "," << top;
        ASSERT_TRUE(app->enabled(browse))
            << "the button at " << left << "," << top << " is disabled";
        app->click(browse);
        const HWND dialog = app->fileDialog(5000ms);
        ASSERT_NE(dialog, nullptr) << "no file dialog";
        if (types) {
            *types = app->fileTypes(dialog);
        }
        app->enterFileName(dialog, narrow(path));
        ASSERT_TRUE(app->closed(dialog)) << narrow(path);
    }
    void aboutTrip(std::string_view page) {
        press("关  于", "软件信息");
        press("返回主界面", page);
    }
    // From the main page on a Windows 7 system up to a Windows 7 page, with default schemes.
    void walkWin7To(std::string_view target) {
        press("生成Win7主题", "WIN71");
        if (target == "WIN71") {
            return;
        }
        press("下一步", "指针页");
        if (target == "WIN72") {
            return;
        }
        pick(138, 18, "系统默认鼠标方案");
        press("下一步", "WIN73");
        if (target == "WIN73") {
            return;
        }
        pick(159, 91, "系统默认声音方案");
        press("下一步", "WIN74");
        if (target == "WIN74") {
            return;
        }
        press("下一步", "WIN75");
        if (target == "WIN75") {
            return;
        }
        typeInto(159, 92, "C:\\windows\\resources\\themes\\aero\\aero.msstyles");
        press("下一步", "生成页");
    }
};

} // namespace quorvel::e2e
