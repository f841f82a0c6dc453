// The program as a screen reader in another process sees it: quorvel_access_reader.exe, a small
// oleacc client started beside the program, reads the first page's graphic buttons (names,
// roles, states, the pressed state while the mouse holds one) and the colour palette's cells,
// picks a cell through its default action, and, for comparison, reads a system button whose
// object the system makes itself.
#include "WizardTest.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace quorvel::e2e {

namespace {

constexpr unsigned long kPushButton = 0x2B;
constexpr unsigned long kListItem = 0x22;
constexpr unsigned long kClient = 0x0A;
constexpr unsigned long kPressed = 0x8;
constexpr unsigned long kFocused = 0x4;
constexpr unsigned long kFocusable = 0x100000;

struct Element {
    bool window = false; // a child window: an object of its own
    unsigned long role = 0;
    unsigned long state = 0;
    std::string name;
};

// What the reader saw of one window: oleacc's answer and the elements by child id (0 is the
// object itself).
struct Read {
    unsigned long got = 0xFFFFFFFF;
    long children = -1;
    std::map<long, Element> elements;
    unsigned long late = 0xFFFFFFFF; // the name asked for through IDispatch
    std::string lateName;
    long actionOn = -1;
    unsigned long action = 0xFFFFFFFF; // what the default action returned
};

std::wstring besideThisProgram(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + name;
}

// Runs the reader on the windows, in a process of its own, and parses what it wrote. With
// `action`, the reader then carries out the default action of that element of the last window.
std::map<HWND, Read> readFromOutside(const std::vector<HWND>& windows, long action = -1) {
    const std::wstring folder =
        settings().workDir.empty() ? besideThisProgram(L"") : settings().workDir + L"\\";
    const std::wstring out = folder + L"access-read.txt";
    ::DeleteFileW(out.c_str());
    std::wstring commandLine =
        L"\"" + besideThisProgram(L"quorvel_access_reader.exe") + L"\" \"--out=" + out + L"\"";
    for (HWND window : windows) {
        wchar_t handle[24];
        std::swprintf(handle, 24, L" %llx",
                      static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(window)));
        commandLine += handle;
    }
    if (action >= 0) {
        commandLine += L":" + std::to_wstring(action);
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::map<HWND, Read> reads;
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        ADD_FAILURE() << "the reader did not start (error " << ::GetLastError() << ")";
        return reads;
    }
    const DWORD waited = ::WaitForSingleObject(process.hProcess, 30000);
    DWORD code = 1;
    ::GetExitCodeProcess(process.hProcess, &code);
    if (waited != WAIT_OBJECT_0) {
        ::TerminateProcess(process.hProcess, 1);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the reader hung";
    EXPECT_EQ(code, 0u) << "the reader failed";

    std::istringstream lines(readFileBytes(out).value_or(""));
    Read* read = nullptr;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("window ")) {
            unsigned long long handle = 0;
            Read window;
            std::istringstream fields(line.substr(7));
            fields >> std::hex >> handle >> window.got >> std::dec >> window.children;
            read = &reads[reinterpret_cast<HWND>(static_cast<ULONG_PTR>(handle))];
            *read = window;
            continue;
        }
        if (read == nullptr) {
            continue;
        }
        if (line.starts_with("late ")) {
            std::istringstream fields(line.substr(5));
            fields >> std::hex >> read->late;
            fields.get(); // the tab before the name
            std::getline(fields, read->lateName);
            continue;
        }
        if (line.starts_with("action ")) {
            std::istringstream fields(line.substr(7));
            fields >> std::dec >> read->actionOn >> std::hex >> read->action;
            continue;
        }
        std::istringstream fields(line);
        long id = 0;
        std::string role;
        fields >> id >> role;
        Element& element = read->elements[id];
        if (role == "window") {
            element.window = true;
            continue;
        }
        element.role = std::stoul(role, nullptr, 16);
        fields >> std::hex >> element.state;
        fields.get(); // the tab before the name
        std::getline(fields, element.name);
    }
    return reads;
}

class Access : public WizardTest {};

TEST_F(Access, AScreenReaderInAnotherProcessReadsTheButtonsAndThePaletteCells) {
    start(L"win7");
    std::vector<HWND> buttons;
    std::vector<std::string> captions;
    for (const Seen& seen : app->visible()) {
        if (seen.kind == Kind::Button) {
            buttons.push_back(seen.window);
            captions.push_back(seen.caption);
        }
    }
    ASSERT_EQ(buttons.size(), 4u) << "the first page's graphic buttons";
    // A click on the page brings the window to the front; the first button takes the focus.
    app->pressAt(::GetParent(buttons[0]), {300, 30});
    app->releaseAt(::GetParent(buttons[0]), {300, 30});
    ASSERT_TRUE(waitUntil([&] { return app->focus() == buttons[0]; }, 2000ms));

    std::map<HWND, Read> reads = readFromOutside(buttons);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        SCOPED_TRACE(captions[i]);
        Read& read = reads[buttons[i]];
        EXPECT_EQ(read.got, 0u) << "AccessibleObjectFromWindow";
        const Element& self = read.elements[0];
        EXPECT_EQ(self.role, kPushButton);
        EXPECT_EQ(self.name, captions[i]);
        EXPECT_EQ(self.state & (kFocusable | kFocused | kPressed),
                  kFocusable | (i == 0 ? kFocused : 0));
        EXPECT_EQ(read.late, 0u) << "IDispatch::Invoke";
        EXPECT_EQ(read.lateName, captions[i]);
    }

    // Held down with the mouse, a button is pressed; released over another, nothing happens.
    app->pressAt(buttons[1], {20, 20});
    reads = readFromOutside({buttons[1]});
    EXPECT_EQ(reads[buttons[1]].elements[0].state & kPressed, kPressed);
    app->releaseAt(buttons[2], {20, 20});
    noMessageBox();

    walkWin7To("WIN75");
    const HWND choose = button("选择颜色"); // a system button: the system makes its object
    ASSERT_NE(choose, nullptr);
    app->click(choose);
    HWND popup = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (popup = shownPalettePopup()) != nullptr; }, 5000ms));
    const HWND other = ::FindWindowExW(popup, nullptr, L"Button", L"其他颜色...");
    ASSERT_NE(other, nullptr);
    reads = readFromOutside({popup, other, choose});

    Read& palette = reads[popup];
    EXPECT_EQ(palette.got, 0u);
    EXPECT_EQ(palette.children, 74) << "70 cells, then the buttons and labels";
    int cells = 0;
    for (long id = 1; id <= 70; ++id) {
        const Element& cell = palette.elements[id];
        cells += cell.role == kListItem && cell.name.size() == 7 && cell.name[0] == '#';
    }
    EXPECT_EQ(cells, 70) << "every cell a list item named by its colour";
    const std::pair<long, const char*> named[] = {
        {14, "#C6D9F0"}, {24, "#8DB3E2"}, {25, "#B8CCE4"}, {70, "#7030A0"}};
    for (const auto& [id, name] : named) {
        EXPECT_EQ(palette.elements[id].name, name) << "cell " << id;
    }
    EXPECT_TRUE(palette.elements[71].window && palette.elements[74].window);

    // The palette's own button answers with the program's object, a push button by its label.
    EXPECT_EQ(reads[other].got, 0u);
    EXPECT_EQ(reads[other].elements[0].role, kPushButton);
    EXPECT_EQ(reads[other].elements[0].name, "其他颜色...");
    // The system button's object is made by the reader's own oleacc. Wine's gives the name but
    // the role of any window's client area; Windows' gives a push button.
    EXPECT_EQ(reads[choose].got, 0u);
    EXPECT_EQ(reads[choose].elements[0].name, "选择颜色");
    const unsigned long systemRole = reads[choose].elements[0].role;
    EXPECT_TRUE(systemRole == kPushButton || systemRole == kClient) << systemRole;

    // The reader picks cell 25 through its default action, as a screen reader user does.
    const HWND colorField = field(159, 161);
    reads = readFromOutside({popup}, 25);
    EXPECT_EQ(reads[popup].actionOn, 25);
    EXPECT_EQ(reads[popup].action, 0u);
    EXPECT_TRUE(waitUntil([] { return shownPalettePopup() == nullptr; }, 3000ms)) << "still open";
    app->settle();
    EXPECT_EQ(app->text(colorField), "B8CCE4");
}

} // namespace
} // namespace quorvel::e2e
