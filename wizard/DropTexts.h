// The messages of a refused drop of files onto the window.
#pragma once

#include <string_view>

namespace quorvel::text {

inline constexpr std::string_view kDropTitle = "提示...";
inline constexpr std::string_view kDropFolderOnFileField = "这里只能放入一个文件,不能放入文件夹。";
inline constexpr std::string_view kDropSeveralOnFileField =
    "这里只能放入一个文件,请只拖入一个文件。";
// Followed by the field's file types, e.g. "鼠标指针(*.cur;*.ani)".
inline constexpr std::string_view kDropWrongType = "这里只能放入此类文件: ";
inline constexpr std::string_view kDropFileOnFolderField = "这里只能放入一个文件夹,作为保存位置。";
inline constexpr std::string_view kDropFieldDisabled = "这一项现在不可用,文件未被放入。";
inline constexpr std::string_view kDropNotADocument =
    "请把文件拖到它所属的路径框上;拖到窗口其他位置的只能是一个主题文件(*.theme)或工程文件"
    "(*.quorvel)。";
// Followed by the file's path.
inline constexpr std::string_view kDocumentNotOpened = "此版本还不能打开主题文件或工程文件: ";

} // namespace quorvel::text
