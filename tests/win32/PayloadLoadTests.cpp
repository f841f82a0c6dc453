// The support DLLs as Windows sees them: each file is written to a temporary folder, loaded as an
// image resource and a data file, and its resource types, texts, pictures and version read back
// through the Win32 API.
#include "generator/Payload.h"
#include "generator/PayloadDlls.h"
#include "model/ProductInfo.h"

#include <windows.h>

#include <imagehlp.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace quorvel::test {
namespace {

std::wstring wide(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                           static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                        text.data(), length);
    return text;
}

std::string narrow(const wchar_t* text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length > 0 ? length - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), length, nullptr, nullptr);
    return out;
}

// A folder under %TEMP% with the payload files in it, removed again with everything in it.
class PayloadFolder {
public:
    PayloadFolder() {
        wchar_t temp[MAX_PATH + 1];
        const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
        static unsigned counter = 0;
        path_ = std::wstring(temp, length) + L"quorvel-payload-" +
                std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
        created_ = CreateDirectoryW(path_.c_str(), nullptr) != FALSE;
    }
    ~PayloadFolder() {
        for (const std::wstring& file : files_) {
            DeleteFileW(file.c_str());
        }
        if (created_) {
            RemoveDirectoryW(path_.c_str());
        }
    }
    PayloadFolder(const PayloadFolder&) = delete;
    PayloadFolder& operator=(const PayloadFolder&) = delete;

    bool created() const { return created_; }

    // Writes the bytes to a file of that name in the folder; the empty text on failure.
    std::wstring write(const wchar_t* name, std::span<const std::uint8_t> bytes) {
        const std::wstring file = path_ + L"\\" + name;
        const HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            return {};
        }
        files_.push_back(file);
        DWORD written = 0;
        const BOOL ok =
            WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(handle);
        return ok && written == bytes.size() ? file : std::wstring();
    }

private:
    std::wstring path_;
    bool created_ = false;
    std::vector<std::wstring> files_;
};

struct ModuleFree {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using Module = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFree>;

struct ObjectDelete {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using GdiObject = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, ObjectDelete>;

Module loadAsImageResource(const std::wstring& file) {
    return Module(LoadLibraryExW(file.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

BOOL CALLBACK collectType(HMODULE, LPWSTR type, LONG_PTR list) {
    auto& types = *reinterpret_cast<std::vector<std::string>*>(list);
    types.push_back(IS_INTRESOURCE(type) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(type))
                                         : narrow(type));
    return TRUE;
}

struct SupportDll {
    const wchar_t* fileName;
    std::span<const std::uint8_t> bytes;
    std::vector<std::string> types;
};

std::vector<SupportDll> supportDlls() {
    return {
        {L"aero.msstyles.mui", payload::aeroMsstylesMui(), {"MUI", "#6", "#16"}},
        {L"shellstyle.dll", payload::shellStyleDll(), {"MUI", "UIFILE", "#2", "#16", "#23"}},
        {L"shellstyle.dll.mui", payload::shellStyleDllMui(), {"MUI", "#6", "#10", "#16", "#23"}},
    };
}

TEST(SupportDllsUnderWindows, LoadAsImageResourcesAndListTheirResourceTypes) {
    PayloadFolder folder;
    ASSERT_TRUE(folder.created());
    for (const SupportDll& dll : supportDlls()) {
        SCOPED_TRACE(narrow(dll.fileName));
        const std::wstring file = folder.write(dll.fileName, dll.bytes);
        ASSERT_FALSE(file.empty());
        const Module module = loadAsImageResource(file);
        ASSERT_TRUE(module) << "error " << GetLastError();
        std::vector<std::string> types;
        ASSERT_TRUE(
            EnumResourceTypesW(module.get(), collectType, reinterpret_cast<LONG_PTR>(&types)));
        EXPECT_EQ(types, dll.types);
        EXPECT_NE(FindResourceW(module.get(), MAKEINTRESOURCEW(1), L"MUI"), nullptr);
    }
}

TEST(SupportDllsUnderWindows, HeaderChecksumIsTheOneWindowsComputes) {
    PayloadFolder folder;
    ASSERT_TRUE(folder.created());
    for (const SupportDll& dll : supportDlls()) {
        SCOPED_TRACE(narrow(dll.fileName));
        const std::wstring file = folder.write(dll.fileName, dll.bytes);
        ASSERT_FALSE(file.empty());
        DWORD inHeader = 0;
        DWORD computed = 0;
        ASSERT_EQ(MapFileAndCheckSumW(file.c_str(), &inHeader, &computed),
                  static_cast<DWORD>(CHECKSUM_SUCCESS));
        EXPECT_EQ(inHeader, computed);
        EXPECT_NE(computed, 0u);
    }
}

TEST(SupportDllsUnderWindows, VersionInformationReadsBack) {
    PayloadFolder folder;
    ASSERT_TRUE(folder.created());
    for (const SupportDll& dll : supportDlls()) {
        SCOPED_TRACE(narrow(dll.fileName));
        const std::wstring file = folder.write(dll.fileName, dll.bytes);
        ASSERT_FALSE(file.empty());
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
        ASSERT_GT(size, 0u) << "error " << GetLastError();
        std::vector<std::uint8_t> block(size);
        ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, size, block.data()));

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
        ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
        EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
        EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), 6);
        EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), 1);
        EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), 7600);
        EXPECT_EQ(LOWORD(fixed->dwFileVersionLS), 16385);
        EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));

        WORD* translation = nullptr;
        ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                                   reinterpret_cast<void**>(&translation), &length));
        ASSERT_EQ(length, 4u);
        EXPECT_EQ(translation[0], 0x0804);
        EXPECT_EQ(translation[1], 1200);

        const auto text = [&](const wchar_t* key) {
            wchar_t* value = nullptr;
            UINT chars = 0;
            const std::wstring path = std::wstring(L"\\StringFileInfo\\080404b0\\") + key;
            if (!VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value),
                                &chars) ||
                value == nullptr) {
                return std::string("(missing)");
            }
            return narrow(value);
        };
        EXPECT_EQ(text(L"CompanyName"), kCompanyName);
        EXPECT_EQ(text(L"ProductName"), kProductName);
        EXPECT_EQ(text(L"FileVersion"), "6.1.7600.16385");
        EXPECT_EQ(text(L"OriginalFilename"), narrow(dll.fileName));
    }
}

TEST(SupportDllsUnderWindows, TextsAndPicturesLoadThroughTheApi) {
    PayloadFolder folder;
    ASSERT_TRUE(folder.created());
    const std::wstring aeroFile = folder.write(L"aero.msstyles.mui", payload::aeroMsstylesMui());
    const std::wstring neutralFile = folder.write(L"shellstyle.dll", payload::shellStyleDll());
    const std::wstring languageFile =
        folder.write(L"shellstyle.dll.mui", payload::shellStyleDllMui());
    const Module aero = loadAsImageResource(aeroFile);
    const Module neutral = loadAsImageResource(neutralFile);
    const Module language = loadAsImageResource(languageFile);
    ASSERT_TRUE(aero && neutral && language);

    const std::pair<HMODULE, const payload::StringTable*> languageFiles[] = {
        {aero.get(), &payload::aeroMsstylesStrings()},
        {language.get(), &payload::shellStyleStrings()},
    };
    for (const auto& [module, table] : languageFiles) {
        for (const auto& [id, expected] : *table) {
            wchar_t buffer[512];
            const int length = LoadStringW(module, id, buffer, 512);
            EXPECT_EQ(std::wstring(buffer, static_cast<std::size_t>(length)), wide(expected))
                << "string " << id;
        }
    }

    for (int id = 101; id <= 105; ++id) {
        const GdiObject bitmap(LoadImageW(neutral.get(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0,
                                          LR_CREATEDIBSECTION));
        ASSERT_TRUE(bitmap) << "bitmap " << id;
        BITMAP info{};
        ASSERT_EQ(GetObjectW(bitmap.get(), sizeof info, &info), static_cast<int>(sizeof info));
        EXPECT_EQ(info.bmBitsPixel, 32);
        EXPECT_EQ(info.bmWidth, id <= 102 ? payload::kPaneBackgroundWidth : 16);
        EXPECT_GT(info.bmHeight, id == 101 ? 200 : 0);
    }
    EXPECT_NE(FindResourceW(neutral.get(), MAKEINTRESOURCEW(1), L"UIFILE"), nullptr);
    EXPECT_NE(FindResourceW(neutral.get(), L"SHELLSTYLE.CSS", MAKEINTRESOURCEW(23)), nullptr);

    const HRSRC banner = FindResourceW(language.get(), MAKEINTRESOURCEW(1), RT_RCDATA);
    ASSERT_NE(banner, nullptr);
    const auto* bytes =
        static_cast<const char*>(LockResource(LoadResource(language.get(), banner)));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::string(bytes, 2), "BM");
    EXPECT_GT(SizeofResource(language.get(), banner), 100000u);
    EXPECT_NE(FindResourceW(language.get(), L"about.htm", MAKEINTRESOURCEW(23)), nullptr)
        << "names are found regardless of case";
}

} // namespace
} // namespace quorvel::test
