// The plumbing of the file dialogs that can be checked without showing one.
#include "platform/win32/Win32Dialogs.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace quorvel
