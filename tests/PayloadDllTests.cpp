// The three support DLLs of a Windows 7 pack, read back with the tests' own PE reader: sizes,
// headers, checksum, resource types, version information, MUI configuration, texts, markup and
// pictures. The loader's view of the same files is in tests/win32/PayloadLoadTests.cpp.
#include "PeReader.h"

#include "generator/Md5.h"
#include "generator/Payload.h"
#include "generator/PayloadDlls.h"
#include "generator/PeImage.h"
#include "generator/ResourceFormats.h"
#include "model/ProductInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>

namespace quorvel::test {
namespace {

struct SupportDll {
    std::string fileName;
    std::span<const std::uint8_t> bytes;
    std::size_t size;
    std::vector<std::string> types;
};

std::vector<SupportDll> supportDlls() {
    return {
        {"aero.msstyles.mui", payload::aeroMsstylesMui(), 3584, {"MUI", "#6", "#16"}},
        {"shellstyle.dll", payload::shellStyleDll(), 350720, {"MUI", "UIFILE", "#2", "#16", "#23"}},
        {"shellstyle.dll.mui",
         payload::shellStyleDllMui(),
         123392,
         {"MUI", "#6", "#10", "#16", "#23"}},
    };
}

std::string hex(std::span<const std::uint8_t> bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (std::uint8_t b : bytes) {
        text.push_back(digits[b >> 4]);
        text.push_back(digits[b & 15]);
    }
    return text;
}

std::span<const std::uint8_t> asBytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string asText(std::span<const std::uint8_t> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

std::size_t align4(std::size_t value) {
    return (value + 3) / 4 * 4;
}

// --- Version information -----------------------------------------------------------------------

struct VersionNode {
    std::string key;
    std::uint16_t type = 0;
    std::uint16_t valueLength = 0;
    std::span<const std::uint8_t> value;
    std::vector<VersionNode> children;

    const VersionNode* child(const std::string& name) const {
        for (const VersionNode& c : children) {
            if (c.key == name) {
                return &c;
            }
        }
        return nullptr;
    }
};

VersionNode parseVersionNode(std::span<const std::uint8_t> data, std::size_t at) {
    VersionNode node;
    const std::size_t length = read16(data, at);
    if (length < 6 || at + length > data.size()) {
        throw std::runtime_error("a version node runs past its resource");
    }
    node.valueLength = read16(data, at + 2);
    node.type = read16(data, at + 4);
    std::size_t p = at + 6;
    std::size_t keyEnd = p;
    while (read16(data, keyEnd) != 0) {
        keyEnd += 2;
    }
    node.key = utf8FromUtf16(data.subspan(p, keyEnd - p));
    p = keyEnd + 2;
    if (node.valueLength > 0) {
        p = align4(p);
        const std::size_t bytes = node.type == 1 ? 2u * node.valueLength : node.valueLength;
        if (p + bytes > at + length) {
            throw std::runtime_error("a version value runs past its node");
        }
        node.value = data.subspan(p, bytes);
        p += bytes;
    }
    while (align4(p) < at + length) {
        p = align4(p);
        node.children.push_back(parseVersionNode(data, p));
        p += read16(data, p);
    }
    if (p != at + length) {
        throw std::runtime_error("a version node's children do not end with it");
    }
    return node;
}

// The value of a text entry, without its terminating zero.
std::string versionText(const VersionNode& entry) {
    const auto units =
        entry.value.size() >= 2 ? entry.value.first(entry.value.size() - 2) : entry.value;
    return utf8FromUtf16(units);
}

// --- MUI configuration -------------------------------------------------------------------------

struct MuiData {
    std::uint32_t size = 0;
    std::uint32_t version = 0;
    std::uint32_t fileType = 0;
    std::string serviceChecksum;
    std::string checksum;
    std::vector<std::string> mainNames;
    std::vector<std::uint32_t> mainIds;
    std::vector<std::string> muiNames;
    std::vector<std::uint32_t> muiIds;
    std::string language;
    std::string fallbackLanguage;
};

MuiData parseMui(std::span<const std::uint8_t> data) {
    if (data.size() < 0x84 || read32(data, 0) != 0xFECDFECD) {
        throw std::runtime_error("no MUI configuration signature");
    }
    MuiData mui;
    mui.size = read32(data, 4);
    mui.version = read32(data, 8);
    mui.fileType = read32(data, 16);
    mui.serviceChecksum = hex(data.subspan(28, 16));
    mui.checksum = hex(data.subspan(44, 16));
    const auto range = [&](std::size_t field) -> std::span<const std::uint8_t> {
        const std::uint32_t offset = read32(data, field);
        const std::uint32_t length = read32(data, field + 4);
        if (length == 0) {
            if (offset != 0) {
                throw std::runtime_error("an empty MUI list has an offset");
            }
            return {};
        }
        if (offset < 0x84 || offset + length > mui.size || mui.size > data.size()) {
            throw std::runtime_error("a MUI list lies outside the configuration");
        }
        return data.subspan(offset, length);
    };
    const auto names = [](std::span<const std::uint8_t> bytes) {
        std::vector<std::string> list;
        std::size_t start = 0;
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            if (read16(bytes, i) == 0) {
                if (i == start) {
                    if (i + 2 != bytes.size()) {
                        throw std::runtime_error("a MUI name list goes on after its end");
                    }
                    return list;
                }
                list.push_back(utf8FromUtf16(bytes.subspan(start, i - start)));
                start = i + 2;
            }
        }
        if (!bytes.empty()) {
            throw std::runtime_error("a MUI name list lacks its closing empty name");
        }
        return list;
    };
    const auto ids = [](std::span<const std::uint8_t> bytes) {
        std::vector<std::uint32_t> list;
        for (std::size_t i = 0; i + 3 < bytes.size(); i += 4) {
            list.push_back(read32(bytes, i));
        }
        return list;
    };
    const auto text = [](std::span<const std::uint8_t> bytes) {
        if (bytes.empty()) {
            return std::string();
        }
        if (bytes.size() < 2 || read16(bytes, bytes.size() - 2) != 0) {
            throw std::runtime_error("a MUI language lacks its terminating zero");
        }
        return utf8FromUtf16(bytes.first(bytes.size() - 2));
    };
    mui.mainNames = names(range(0x54));
    mui.mainIds = ids(range(0x5C));
    mui.muiNames = names(range(0x64));
    mui.muiIds = ids(range(0x6C));
    mui.language = text(range(0x74));
    mui.fallbackLanguage = text(range(0x7C));
    return mui;
}

std::vector<std::string> namedTypes(const std::vector<std::string>& types) {
    std::vector<std::string> names;
    for (const std::string& t : types) {
        if (t[0] != '#') {
            names.push_back(t);
        }
    }
    return names;
}

std::vector<std::uint32_t> numberedTypes(const std::vector<std::string>& types) {
    std::vector<std::uint32_t> ids;
    for (const std::string& t : types) {
        if (t[0] == '#') {
            ids.push_back(static_cast<std::uint32_t>(std::stoul(t.substr(1))));
        }
    }
    return ids;
}

// --- String tables -----------------------------------------------------------------------------

std::map<int, std::string> stringsOf(const PeFile& pe) {
    std::map<int, std::string> strings;
    for (const PeResource& r : pe.resources) {
        if (r.type != "#6") {
            continue;
        }
        const int block = std::stoi(r.name.substr(1));
        std::size_t at = 0;
        for (int slot = 0; slot < 16; ++slot) {
            const std::size_t length = read16(r.data, at);
            if (at + 2 + 2 * length > r.data.size()) {
                throw std::runtime_error("a string runs past its block");
            }
            if (length > 0) {
                strings[(block - 1) * 16 + slot] =
                    utf8FromUtf16(r.data.subspan(at + 2, 2 * length));
            }
            at += 2 + 2 * length;
        }
        EXPECT_EQ(at, r.data.size()) << "string block " << block << " has bytes after its end";
    }
    return strings;
}

bool hasChinese(const std::string& utf8) {
    // Every CJK unified ideograph is a three-byte sequence with a lead byte of E4 to E9.
    return std::any_of(utf8.begin(), utf8.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b >= 0xE4 && b <= 0xE9;
    });
}

// --- The tests ---------------------------------------------------------------------------------

TEST(SupportDlls, HaveTheirExactSizes) {
    for (const SupportDll& dll : supportDlls()) {
        EXPECT_EQ(dll.bytes.size(), dll.size) << dll.fileName;
    }
    EXPECT_EQ(payload::aeroMsstylesMui().size(), 3584u);
    EXPECT_EQ(payload::shellStyleDll().size(), 350720u);
    EXPECT_EQ(payload::shellStyleDllMui().size(), 123392u);
}

TEST(SupportDlls, AreResourceOnlyX64DllsWithoutCode) {
    for (const SupportDll& dll : supportDlls()) {
        SCOPED_TRACE(dll.fileName);
        const PeFile pe = readPe(dll.bytes);
        EXPECT_EQ(pe.machine, 0x8664);
        // EXECUTABLE_IMAGE, LARGE_ADDRESS_AWARE and DLL, nothing else.
        EXPECT_EQ(pe.characteristics, 0x2022);
        EXPECT_EQ(pe.timeDateStamp, pe::kTimeDateStamp);
        EXPECT_EQ(pe.symbolTable, 0u);
        EXPECT_EQ(pe.sizeOfCode, 0u);
        EXPECT_EQ(pe.entryPoint, 0u) << "no code to run";
        EXPECT_EQ(pe.imageBase % 0x10000, 0u);
        EXPECT_EQ(pe.fileAlignment, 0x200u);
        EXPECT_EQ(pe.sectionAlignment, 0x1000u);
        EXPECT_EQ(pe.sizeOfHeaders, 0x200u);
        EXPECT_EQ(pe.subsystem, 2);
        EXPECT_EQ(pe.dllCharacteristics & 0x0100, 0x0100) << "NX_COMPAT";

        ASSERT_EQ(pe.sections.size(), 1u);
        const PeSection& rsrc = pe.sections[0];
        EXPECT_EQ(rsrc.name, ".rsrc");
        EXPECT_EQ(rsrc.virtualAddress, 0x1000u);
        EXPECT_EQ(rsrc.rawPointer, pe.sizeOfHeaders);
        EXPECT_EQ(rsrc.rawPointer + rsrc.rawSize, dll.bytes.size()) << "the section ends the file";
        EXPECT_EQ(rsrc.rawSize % pe.fileAlignment, 0u);
        EXPECT_GE(rsrc.virtualSize, rsrc.rawSize) << "every raw byte is mapped";
        // Initialised data, readable; not executable, not writable.
        EXPECT_EQ(rsrc.characteristics, 0x40000040u);
        EXPECT_EQ(pe.sizeOfInitializedData, rsrc.rawSize);
        EXPECT_EQ(pe.sizeOfImage,
                  rsrc.virtualAddress + (rsrc.virtualSize + 0xFFF) / 0x1000 * 0x1000);

        // Only the resource directory is present: no imports, exports, relocations or TLS.
        ASSERT_EQ(pe.directories.size(), 16u);
        for (std::size_t i = 0; i < pe.directories.size(); ++i) {
            if (i == 2) {
                EXPECT_EQ(pe.directories[i].first, rsrc.virtualAddress);
                EXPECT_GT(pe.directories[i].second, 0u);
            } else {
                EXPECT_EQ(pe.directories[i], (std::pair<std::uint32_t, std::uint32_t>(0, 0)))
                    << "data directory " << i;
            }
        }
    }
}

TEST(SupportDlls, CarryTheImageChecksumThatWindowsComputes) {
    for (const SupportDll& dll : supportDlls()) {
        SCOPED_TRACE(dll.fileName);
        const PeFile pe = readPe(dll.bytes);
        // The sum of all 16-bit words with the checksum field as zero, folded into 16 bits by
        // end-around carry, plus the file length.
        std::uint64_t sum = 0;
        for (std::size_t at = 0; at < dll.bytes.size(); at += 2) {
            if (at != pe.checksumOffset && at != pe.checksumOffset + 2) {
                sum += read16(dll.bytes, at);
            }
        }
        while (sum > 0xFFFF) {
            sum = (sum & 0xFFFF) + (sum >> 16);
        }
        EXPECT_EQ(pe.checksum, sum + dll.bytes.size());
        EXPECT_NE(pe.checksum, 0u);
    }
}

TEST(PeChecksum, FoldsCarriesSkipsItsOwnFieldAndAddsTheLength) {
    // Words FFFF and 0002 give 0x10001, folded 0x0002; the field's words are left out; plus 8.
    const std::uint8_t file[] = {0xFF, 0xFF, 0x02, 0x00, 0xAA, 0xBB, 0xCC, 0xDD};
    EXPECT_EQ(pe::peChecksum(file, 4), 2u + 8u);
    // An odd length counts the last byte as a word of its own.
    const std::uint8_t odd[] = {0x01, 0x00, 0, 0, 0, 0, 0x05};
    EXPECT_EQ(pe::peChecksum(odd, 2), 1u + 5u + 7u);

    std::vector<std::uint8_t> copy(payload::aeroMsstylesMui().begin(),
                                   payload::aeroMsstylesMui().end());
    const std::size_t field = readPe(copy).checksumOffset;
    const std::uint32_t before = pe::peChecksum(copy, field);
    copy.back() ^= 0x01; // a byte of the section's padding
    EXPECT_NE(pe::peChecksum(copy, field), before);
}

TEST(SupportDlls, HoldTheResourceTypesOfTheirKindInTheirLanguages) {
    for (const SupportDll& dll : supportDlls()) {
        SCOPED_TRACE(dll.fileName);
        const PeFile pe = readPe(dll.bytes);
        EXPECT_EQ(pe.resourceTypes(), dll.types);
        for (const PeResource& r : pe.resources) {
            EXPECT_FALSE(r.data.empty()) << r.type << "/" << r.name;
            if (r.type == "#6" || r.type == "#16" || r.type == "#10" ||
                (r.type == "#23" && hasChinese(asText(r.data)))) {
                EXPECT_EQ(r.language, pe::kLanguageZhCn) << r.type << "/" << r.name;
            } else {
                EXPECT_EQ(r.language, pe::kLanguageNeutral) << r.type << "/" << r.name;
            }
        }
        // No two resources share bytes.
        std::vector<std::pair<std::uint32_t, std::uint32_t>> spans;
        for (const PeResource& r : pe.resources) {
            spans.emplace_back(r.rva, r.rva + static_cast<std::uint32_t>(r.data.size()));
        }
        std::sort(spans.begin(), spans.end());
        for (std::size_t i = 1; i < spans.size(); ++i) {
            EXPECT_LE(spans[i - 1].second, spans[i].first);
        }
    }
}

TEST(SupportDlls, VersionInformationNamesTheFileVersionAndOurProject) {
    for (const SupportDll& dll : supportDlls()) {
        SCOPED_TRACE(dll.fileName);
        const PeFile pe = readPe(dll.bytes);
        const PeResource* resource = pe.find("#16", "#1");
        ASSERT_NE(resource, nullptr);
        const VersionNode root = parseVersionNode(resource->data, 0);
        EXPECT_EQ(read16(resource->data, 0), resource->data.size());
        EXPECT_EQ(root.key, "VS_VERSION_INFO");
        ASSERT_EQ(root.value.size(), 52u);
        EXPECT_EQ(read32(root.value, 0), 0xFEEF04BDu);
        EXPECT_EQ(read32(root.value, 8), (6u << 16) | 1u);         // 6.1
        EXPECT_EQ(read32(root.value, 12), (7600u << 16) | 16385u); // .7600.16385
        EXPECT_EQ(read32(root.value, 16), 2u << 16) << "product version 2.0";
        EXPECT_EQ(read32(root.value, 36), 2u) << "a DLL";

        const VersionNode* stringInfo = root.child("StringFileInfo");
        ASSERT_NE(stringInfo, nullptr);
        const VersionNode* table = stringInfo->child("080404B0");
        ASSERT_NE(table, nullptr) << "a Simplified Chinese table in UTF-16";
        std::map<std::string, std::string> strings;
        for (const VersionNode& entry : table->children) {
            EXPECT_EQ(entry.type, 1);
            strings[entry.key] = versionText(entry);
        }
        EXPECT_EQ(strings["CompanyName"], kCompanyName);
        EXPECT_EQ(strings["ProductName"], kProductName);
        EXPECT_EQ(strings["ProductVersion"], kProductVersion);
        EXPECT_EQ(strings["FileVersion"], "6.1.7600.16385");
        EXPECT_EQ(strings["OriginalFilename"], dll.fileName);
        EXPECT_TRUE(hasChinese(strings["FileDescription"])) << strings["FileDescription"];
        EXPECT_NE(strings["LegalCopyright"].find(kCompanyName), std::string::npos);

        const VersionNode* varInfo = root.child("VarFileInfo");
        ASSERT_NE(varInfo, nullptr);
        const VersionNode* translation = varInfo->child("Translation");
        ASSERT_NE(translation, nullptr);
        ASSERT_EQ(translation->value.size(), 4u);
        EXPECT_EQ(read16(translation->value, 0), 0x0804);
        EXPECT_EQ(read16(translation->value, 2), 1200);
    }
}

TEST(SupportDlls, ClaimToComeFromNoOtherMaker) {
    const std::string other = "Microsoft";
    std::string otherWide;
    for (char c : other) {
        otherWide.push_back(c);
        otherWide.push_back('\0');
    }
    for (const SupportDll& dll : supportDlls()) {
        const std::string bytes = asText(dll.bytes);
        EXPECT_EQ(bytes.find(other), std::string::npos) << dll.fileName;
        EXPECT_EQ(bytes.find(otherWide), std::string::npos) << dll.fileName;
    }
}

TEST(SupportDlls, MuiConfigurationsTieTheLanguageFilesToTheirNeutralFiles) {
    std::map<std::string, PeFile> files;
    std::map<std::string, MuiData> configs;
    for (const SupportDll& dll : supportDlls()) {
        SCOPED_TRACE(dll.fileName);
        files[dll.fileName] = readPe(dll.bytes);
        const PeResource* resource = files[dll.fileName].find("MUI", "#1");
        ASSERT_NE(resource, nullptr);
        configs[dll.fileName] = parseMui(resource->data);
        const MuiData& mui = configs[dll.fileName];
        EXPECT_EQ(mui.size, resource->data.size());
        EXPECT_EQ(mui.version, 0x10000u);
    }

    const MuiData& neutral = configs["shellstyle.dll"];
    const MuiData& language = configs["shellstyle.dll.mui"];
    const MuiData& aero = configs["aero.msstyles.mui"];
    // The neutral file: marked as such, its last resort is zh-CN, and it lists its own types and
    // those of its language file.
    EXPECT_EQ(neutral.fileType & 3, 1u);
    EXPECT_EQ(neutral.language, "");
    EXPECT_EQ(neutral.fallbackLanguage, "zh-CN");
    const auto neutralTypes = files["shellstyle.dll"].resourceTypes();
    const auto languageTypes = files["shellstyle.dll.mui"].resourceTypes();
    EXPECT_EQ(neutral.mainNames, namedTypes(neutralTypes));
    EXPECT_EQ(neutral.mainIds, numberedTypes(neutralTypes));
    EXPECT_EQ(neutral.muiNames, namedTypes(languageTypes));
    EXPECT_EQ(neutral.muiIds, numberedTypes(languageTypes));

    // The language files: marked as such, zh-CN, listing the types they hold.
    for (const auto& [name, mui] : configs) {
        if (name == "shellstyle.dll") {
            continue;
        }
        SCOPED_TRACE(name);
        EXPECT_EQ(mui.fileType & 3, 2u);
        EXPECT_EQ(mui.language, "zh-CN");
        EXPECT_EQ(mui.fallbackLanguage, "");
        const auto types = files[name].resourceTypes();
        EXPECT_EQ(mui.mainNames, namedTypes(types));
        EXPECT_EQ(mui.mainIds, numberedTypes(types));
        EXPECT_TRUE(mui.muiNames.empty());
        EXPECT_TRUE(mui.muiIds.empty());
    }

    // The loader accepts a language file only when both checksums match its neutral file's.
    EXPECT_EQ(language.checksum, neutral.checksum);
    EXPECT_EQ(language.serviceChecksum, neutral.serviceChecksum);
    EXPECT_NE(aero.checksum, neutral.checksum);
    EXPECT_NE(neutral.checksum, std::string(32, '0'));
    EXPECT_NE(neutral.serviceChecksum, std::string(32, '0'));
}

TEST(SupportDlls, StringTablesHoldTheChineseTexts) {
    const std::pair<std::span<const std::uint8_t>, const payload::StringTable*> cases[] = {
        {payload::aeroMsstylesMui(), &payload::aeroMsstylesStrings()},
        {payload::shellStyleDllMui(), &payload::shellStyleStrings()},
    };
    for (const auto& [bytes, table] : cases) {
        const std::map<int, std::string> strings = stringsOf(readPe(bytes));
        std::map<int, std::string> expected(table->begin(), table->end());
        EXPECT_EQ(strings, expected);
        const auto chinese = std::count_if(strings.begin(), strings.end(),
                                           [](const auto& s) { return hasChinese(s.second); });
        EXPECT_GE(chinese * 2, static_cast<std::ptrdiff_t>(strings.size()))
            << "most texts are Chinese";
    }
    EXPECT_EQ(stringsOf(readPe(payload::shellStyleDllMui())).at(1030), "正在加载…");
}

TEST(SupportDlls, MarkupNamesOnlyTextsAndPicturesThatExist) {
    const PeFile neutral = readPe(payload::shellStyleDll());
    const PeFile language = readPe(payload::shellStyleDllMui());
    const std::map<int, std::string> strings = stringsOf(language);
    const PeResource* markup = neutral.find("UIFILE", "#1");
    const PeResource* pane = neutral.find("#23", "PANE.HTM");
    const PeResource* css = neutral.find("#23", "SHELLSTYLE.CSS");
    const PeResource* about = language.find("#23", "ABOUT.HTM");
    ASSERT_TRUE(markup && pane && css && about);
    EXPECT_EQ(asText(markup->data).rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>", 0), 0u);

    std::set<int> textsNamed;
    std::set<int> bitmapsNamed;
    const std::regex textRef(R"re(\b(?:text|title)="(\d+)")re");
    const std::regex bitmapRef(R"re(bitmap:(\d+)|res://shellstyle\.dll/2/(\d+))re");
    for (const PeResource* r : {markup, pane, css}) {
        const std::string text = asText(r->data);
        for (auto it = std::sregex_iterator(text.begin(), text.end(), textRef);
             it != std::sregex_iterator(); ++it) {
            textsNamed.insert(std::stoi((*it)[1]));
        }
        for (auto it = std::sregex_iterator(text.begin(), text.end(), bitmapRef);
             it != std::sregex_iterator(); ++it) {
            bitmapsNamed.insert(std::stoi((*it)[1].matched ? (*it)[1] : (*it)[2]));
        }
    }
    EXPECT_GE(textsNamed.size(), 20u);
    for (int id : textsNamed) {
        EXPECT_TRUE(strings.count(id)) << "text " << id;
    }
    EXPECT_EQ(bitmapsNamed, (std::set<int>{101, 102, 103, 104, 105}));
    for (int id : bitmapsNamed) {
        EXPECT_NE(neutral.find("#2", "#" + std::to_string(id)), nullptr) << "bitmap " << id;
    }
    const std::string page = asText(about->data);
    EXPECT_NE(page.find("res://shellstyle.dll/23/SHELLSTYLE.CSS"), std::string::npos);
    EXPECT_NE(page.find("<html lang=\"zh-CN\">"), std::string::npos);
    EXPECT_TRUE(hasChinese(page));
}

TEST(SupportDlls, PicturesAreWellFormedBitmaps) {
    const PeFile neutral = readPe(payload::shellStyleDll());
    int bitmaps = 0;
    for (const PeResource& r : neutral.resources) {
        if (r.type != "#2") {
            continue;
        }
        SCOPED_TRACE(r.name);
        ++bitmaps;
        ASSERT_GE(r.data.size(), 40u);
        const auto width = static_cast<std::int32_t>(read32(r.data, 4));
        const auto height = static_cast<std::int32_t>(read32(r.data, 8));
        EXPECT_EQ(read32(r.data, 0), 40u);
        EXPECT_GT(width, 0);
        EXPECT_GT(height, 0);
        EXPECT_EQ(read16(r.data, 12), 1);
        EXPECT_EQ(read16(r.data, 14), 32);
        EXPECT_EQ(read32(r.data, 16), 0u) << "BI_RGB";
        EXPECT_EQ(read32(r.data, 20), 4u * width * height);
        EXPECT_EQ(r.data.size(), 40u + 4u * width * height);
        // Not a blank picture: at least two different pixels, and premultiplied alpha (no
        // colour channel above its alpha).
        std::set<std::uint32_t> colours;
        int overAlpha = 0;
        for (std::size_t at = 40; at + 3 < r.data.size(); at += 4) {
            const std::uint32_t px = read32(r.data, at);
            colours.insert(px);
            const std::uint32_t alpha = px >> 24;
            if ((px & 0xFF) > alpha || ((px >> 8) & 0xFF) > alpha || ((px >> 16) & 0xFF) > alpha) {
                ++overAlpha;
            }
        }
        EXPECT_EQ(overAlpha, 0);
        EXPECT_GT(colours.size(), 1u);
    }
    EXPECT_EQ(bitmaps, 5);
    const PeResource* background = neutral.find("#2", "#101");
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(read32(background->data, 4), 256u);
    EXPECT_GT(read32(background->data, 8), 200u) << "the pane background fills the file";

    // The file must outlive the resource that points into it.
    const PeFile languageFile = readPe(payload::shellStyleDllMui());
    const PeResource* banner = languageFile.find("#10", "#1");
    ASSERT_NE(banner, nullptr);
    const auto b = banner->data;
    ASSERT_GE(b.size(), 54u);
    EXPECT_EQ(asText(b.first(2)), "BM");
    EXPECT_EQ(read32(b, 2), b.size());
    EXPECT_EQ(read32(b, 10), 54u);
    EXPECT_EQ(read32(b, 14), 40u);
    EXPECT_EQ(read16(b, 28), 24);
    const std::uint32_t rowBytes = (read32(b, 18) * 3 + 3) / 4 * 4;
    EXPECT_EQ(b.size(), 54u + rowBytes * read32(b, 22));
    EXPECT_GT(read32(b, 22), 100u) << "the banner fills the file";
}

TEST(SupportDlls, EndInLittleZeroPadding) {
    const std::pair<std::span<const std::uint8_t>, std::size_t> cases[] = {
        {payload::shellStyleDll(), 256 * 4},
        {payload::shellStyleDllMui(), 240 * 3},
        {payload::aeroMsstylesMui(), 1024}, // no picture here, but texts fill most of it
    };
    for (const auto& [bytes, limit] : cases) {
        const PeFile pe = readPe(bytes);
        const std::size_t used = pe.directories[2].second;
        const std::size_t padding = pe.sections[0].rawSize - used;
        EXPECT_LT(padding, limit);
        const auto tail = bytes.subspan(pe.sections[0].rawPointer + used);
        EXPECT_TRUE(std::all_of(tail.begin(), tail.end(), [](std::uint8_t b) { return b == 0; }));
        // The directory's size ends exactly at the last resource's data.
        std::size_t end = 0;
        for (const PeResource& r : pe.resources) {
            end = std::max<std::size_t>(end, r.rva - pe.sections[0].virtualAddress + r.data.size());
        }
        EXPECT_EQ(end, used);
    }
}

TEST(SupportDlls, AreBuiltTheSameWayEveryTime) {
    const auto same = [](std::span<const std::uint8_t> a, const std::vector<std::uint8_t>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    };
    EXPECT_TRUE(same(payload::aeroMsstylesMui(), payload::buildAeroMsstylesMui()));
    EXPECT_TRUE(same(payload::shellStyleDll(), payload::buildShellStyleDll()));
    EXPECT_TRUE(same(payload::shellStyleDllMui(), payload::buildShellStyleDllMui()));
    EXPECT_EQ(payload::buildShellStyleDll(), payload::buildShellStyleDll());
}

// The MD5 digests of the three files as the native build makes them. The Windows build's tests
// check the same digests, so passing in both builds means both compilers produce the same bytes.
// After a deliberate change of content, record the new digests from
//   build/native/tools/quorvel-payload OUT && md5sum OUT/*
TEST(SupportDlls, MatchTheDigestsRecordedFromTheNativeBuild) {
    EXPECT_EQ(hex(pe::md5(payload::aeroMsstylesMui())), "8ae597d2c62fe13950bfe8ea8bb5fdc2");
    EXPECT_EQ(hex(pe::md5(payload::shellStyleDll())), "6697f7e22840ea9d98dd7a9561ec8768");
    EXPECT_EQ(hex(pe::md5(payload::shellStyleDllMui())), "c8723aed723e62043e0032f8dd67b602");
}

TEST(PeWriter, SortsNamesBeforeNumbersAndKeepsEveryLanguage) {
    pe::ResourceTree tree;
    const auto data = [](std::string_view text) {
        return std::vector<std::uint8_t>(text.begin(), text.end());
    };
    tree.add(10, 5, 0x0409, data("rcdata"));
    tree.add("zed", 1, 0, data("zed"));
    tree.add(2, 7, 0x0804, data("seven-zh"));
    tree.add("ABC", "second", 0, data("abc-second"));
    tree.add(2, 7, 0x0409, data("seven-en"));
    tree.add("ABC", "first", 0, data("abc-first"));
    tree.add(2, 3, 0, data("three"));
    tree.add(10, 5, 0x0409, data("rcdata, replaced"));

    const std::vector<std::uint8_t> file = pe::buildResourceDll(tree, 0x600);
    ASSERT_EQ(file.size(), 0x600u);
    const PeFile pe = readPe(file);
    std::vector<std::string> seen;
    for (const PeResource& r : pe.resources) {
        seen.push_back(r.type + "/" + r.name + "/" + std::to_string(r.language) + "=" +
                       asText(r.data));
        EXPECT_EQ(r.rva % 8, 0u) << "data starts on an 8-byte boundary";
    }
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "ABC/FIRST/0=abc-first",
                        "ABC/SECOND/0=abc-second",
                        "ZED/#1/0=zed",
                        "#2/#3/0=three",
                        "#2/#7/1033=seven-en",
                        "#2/#7/2052=seven-zh",
                        "#10/#5/1033=rcdata, replaced",
                    }));
}

TEST(PeWriter, RefusesSizesItCannotKeep) {
    pe::ResourceTree tree;
    tree.add(10, 1, 0, std::vector<std::uint8_t>(0x400, 7));
    EXPECT_THROW(pe::buildResourceDll(tree, 0x600), std::length_error);
    EXPECT_NO_THROW(pe::buildResourceDll(tree, 0x800));
    EXPECT_THROW(pe::buildResourceDll(tree, 0x900), std::invalid_argument);
    EXPECT_THROW(pe::buildResourceDll(tree, 0x200), std::invalid_argument);
    EXPECT_THROW(pe::ResourceKey("类型"), std::invalid_argument);
    EXPECT_THROW(pe::ResourceKey(""), std::invalid_argument);
}

TEST(Md5, MatchesTheReferenceDigests) {
    EXPECT_EQ(hex(pe::md5({})), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(hex(pe::md5(asBytes("abc"))), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(hex(pe::md5(asBytes("message digest"))), "f96b697d7cb7938d525a2f31aaf161d0");
    // 80 bytes: the length no longer fits the first block's tail.
    EXPECT_EQ(hex(pe::md5(asBytes("1234567890123456789012345678901234567890"
                                  "1234567890123456789012345678901234567890"))),
              "57edf4a22be3c955ac49da2e2107b67a");
    const std::string thousand(1000, 'a');
    EXPECT_EQ(hex(pe::md5(asBytes(thousand))), "cabe45dcc9ae5b66ba86600cca6b8ba8");
}

TEST(ResourceFormats, StringBlocksNumberSixteenIdsEachAndRefuseDuplicates) {
    const auto blocks = pe::stringTableBlocks({{15, "a"}, {16, "bc"}, {33, "中"}});
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0].first, 1);
    EXPECT_EQ(blocks[1].first, 2);
    EXPECT_EQ(blocks[2].first, 3);
    // Block 1: fifteen empty slots, then "a".
    EXPECT_EQ(blocks[0].second.size(), 15u * 2 + 2 + 2);
    EXPECT_EQ(read16(blocks[0].second, 30), 1);
    EXPECT_EQ(read16(blocks[0].second, 32), 'a');
    // Block 3: id 33 is its second slot.
    EXPECT_EQ(read16(blocks[2].second, 0), 0);
    EXPECT_EQ(read16(blocks[2].second, 2), 1);
    EXPECT_EQ(read16(blocks[2].second, 4), 0x4E2D);
    EXPECT_THROW(pe::stringTableBlocks({{5, "x"}, {5, "y"}}), std::invalid_argument);
}

} // namespace
} // namespace quorvel::test
