// The resources linked into the program: version information and application manifest.
#include "ProgramPath.h"

#include "platform/win32/WideText.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace quorvel::test {
namespace {

struct ModuleFree {
    void operator()(HMODULE module) const noexcept { ::FreeLibrary(module); }
};
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFree>;

class ProgramResources : public testing::Test {
protected:
    void SetUp() override {
        const DWORD size = ::GetFileVersionInfoSizeW(programPath().c_str(), nullptr);
        ASSERT_NE(size, 0u) << "no version information in " << toUtf8(programPath());
        versionInfo.resize(size);
        ASSERT_TRUE(::GetFileVersionInfoW(programPath().c_str(), 0, size, versionInfo.data()));
    }

    // A string of the Simplified Chinese string table, or "(missing)".
    std::string versionString(const wchar_t* name) {
        const std::wstring query = std::wstring(L"\\StringFileInfo\\080404B0\\") + name;
        void* value = nullptr;
        UINT length = 0;
        if (!::VerQueryValueW(versionInfo.data(), query.c_str(), &value, &length) || !value) {
            return "(missing)";
        }
        return toUtf8(static_cast<const wchar_t*>(value));
    }

    std::vector<BYTE> versionInfo;
};

TEST_F(ProgramResources, VersionInformationNamesTheProductInChinese) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(
        ::VerQueryValueW(versionInfo.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00020000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00020000u);

    EXPECT_EQ(versionString(L"ProductName"), "Quorvel");
    EXPECT_EQ(versionString(L"CompanyName"), "The Quorvel Project");
    EXPECT_EQ(versionString(L"FileVersion"), "2.0.0.0");
    // The resource script is UTF-8; a wrong code page would garble this.
    EXPECT_EQ(versionString(L"FileDescription"), "Quorvel 桌面主题制作向导");
}

TEST_F(ProgramResources, ManifestAsksForCommonControlsSixAndLeavesTheCodePageAlone) {
    const UniqueModule module(::LoadLibraryExW(
        programPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_TRUE(module);
    const HRSRC resource =
        ::FindResourceW(module.get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)); // RT_MANIFEST
    ASSERT_NE(resource, nullptr);
    const HGLOBAL loaded = ::LoadResource(module.get(), resource);
    ASSERT_NE(loaded, nullptr);
    const std::string manifest(static_cast<const char*>(::LockResource(loaded)),
                               ::SizeofResource(module.get(), resource));
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("asInvoker"), std::string::npos);
    EXPECT_NE(manifest.find("35138b9a-5d96-4fbd-8e2d-a2440225f93a"), std::string::npos)
        << "Windows 7 is a supported system";
    // Theme files are written in the system's ANSI code page; a manifest that switched the
    // process to UTF-8 would write them wrongly.
    EXPECT_EQ(manifest.find("activeCodePage"), std::string::npos);
}

TEST_F(ProgramResources, CarriesItsIcon) {
    const UniqueModule module(::LoadLibraryExW(
        programPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_TRUE(module);
    EXPECT_NE(::FindResourceW(module.get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14)), nullptr)
        << "icon group 1"; // RT_GROUP_ICON
}

} // namespace
} // namespace quorvel::test
