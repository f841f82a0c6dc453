// The plumbing of the file dialogs that can be checked without showing one.
#include "Sandbox.h"

#include "platform/win32/SystemLibraries.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Dialogs.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include <memory>
#include <vector>

namespace quorvel {
namespace {

TEST(Win32Dialogs, FilterBarsBecomeZerosAndTheListIsClosed) {
    const std::wstring filter = dialogFilter("鼠标指针|*.cur;*.ani");
    EXPECT_EQ(filter, std::wstring(L"鼠标指针\0*.cur;*.ani\0\0", 18));
    EXPECT_EQ(dialogFilter("a|*.x||"), std::wstring(L"a\0*.x\0\0", 7));
}

TEST(Win32Dialogs, SelectionBufferGivesFullPathsInOrder) {
    const wchar_t one[] = L"C:\\pics\\淺.jpg\0\0";
    EXPECT_EQ(selectedPaths(one), std::vector<std::string>{"C:\\pics\\淺.jpg"});
    const wchar_t many[] = L"C:\\pics\0b.jpg\0a.jpg\0奬.jpg\0\0";
    EXPECT_EQ(selectedPaths(many),
              (std::vector<std::string>{"C:\\pics\\b.jpg", "C:\\pics\\a.jpg", "C:\\pics\\奬.jpg"}));
    const wchar_t root[] = L"D:\\\0x.jpg\0y.jpg\0\0";
    EXPECT_EQ(selectedPaths(root), (std::vector<std::string>{"D:\\x.jpg", "D:\\y.jpg"}));
    const wchar_t none[] = L"\0\0";
    EXPECT_TRUE(selectedPaths(none).empty());
}

struct PidlDeleter {
    void operator()(ITEMIDLIST* item) const { ::CoTaskMemFree(item); }
};
using Pidl = std::unique_ptr<ITEMIDLIST, PidlDeleter>;

Pidl specialFolder(int csidl) {
    ITEMIDLIST* item = nullptr;
    ::SHGetSpecialFolderLocation(nullptr, csidl, &item);
    return Pidl(item);
}

// (The browser's own tree reaches folders whose paths are longer than MAX_PATH; the end-to-end
// tests choose one there, as the shell cannot parse such a path from text.)
TEST(Win32Dialogs, ChosenFolderGivesItsPathOrNothingForVirtualItems) {
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const auto sandbox = test::makeSandbox();
    const std::wstring folder = toWide(sandbox->root()) + L"\\淺 奬";
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    ITEMIDLIST* parsed = nullptr;
    ASSERT_TRUE(SUCCEEDED(::SHParseDisplayName(folder.c_str(), nullptr, &parsed, 0, nullptr)));
    EXPECT_EQ(folderPath(Pidl(parsed).get()), toUtf8(folder));
    ::RemoveDirectoryW(folder.c_str());

    // The computer and the network are no folders of the file system.
    EXPECT_EQ(folderPath(specialFolder(CSIDL_DRIVES).get()), "");
    EXPECT_EQ(folderPath(specialFolder(CSIDL_NETWORK).get()), "");
    // The desktop stands for its folder in the profile.
    wchar_t desktop[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(
        ::SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop)));
    EXPECT_EQ(folderPath(specialFolder(CSIDL_DESKTOP).get()), toUtf8(desktop));
    // A shell folder with a path of its own, and a folder below it.
    wchar_t documents[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(
        ::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents)));
    EXPECT_EQ(folderPath(specialFolder(CSIDL_PERSONAL).get()), toUtf8(documents));
    if (SUCCEEDED(com)) {
        ::CoUninitialize();
    }
}

} // namespace
} // namespace quorvel

// The shell and dialog libraries are loaded on first use; a function name the system does not
// know would make the dialogs fail silently.
TEST(SystemLibraries, EveryFunctionIsFoundInItsLibrary) {
    EXPECT_EQ(quorvel::system::missingFunctions(), std::vector<std::string>{});
}
