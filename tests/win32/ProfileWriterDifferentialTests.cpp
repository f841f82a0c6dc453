// Differential test of the theme file writer against the system's own private-profile writer:
// the same seeded random sequence of key writes goes through ProfileWriter into one file and
// through WritePrivateProfileStringW into another, both starting from the theme file's header.
// Both files are then read back into ordered lists of sections and keys and compared with each
// other and with a model of what the writes must leave; where every name is spelled one way and
// no value starts or ends with a blank, the two files must be identical byte for byte.
//
// Where the system's writer is known to behave otherwise, the model says so. Observed with
// Wine 8.0 (the system these tests run on in CI):
//  - A key that exists already keeps the spelling it has in the file; only its value changes.
//    ProfileWriter replaces the whole line, so the key is spelled as in the latest write.
//  - Wine drops the blanks at the start of a value as it writes the key. Those at its end stay
//    until a later write changes the file (a new key, or a value other than the one stored):
//    Wine then writes the file back from what it read in, and it trims every value as it reads.
//    A write of the value a key has already changes nothing, and the blank stays. ProfileWriter
//    writes every value unchanged.
//  - Wine reads the whole file into memory and writes it back from there: blank lines go, blanks
//    around names and "=" go, and lines without "=" count as keys, so a new key can land after
//    a comment. ProfileWriter edits the file in place and leaves every other line as it was.
//    From the theme header on, neither case arises (the header has no blank line and no
//    blanks at its ends), which is what makes the byte comparison possible.
//  - Wine keeps a file that starts with a UTF-16 byte-order mark in UTF-16; ProfileWriter only
//    ever meets the ANSI files it wrote itself.
//  - Letter case is folded for ASCII letters only, in both: "Ａ" (full width) and "ａ" name
//    two sections, as do "Α" and "α". Whether Windows itself folds letters beyond ASCII is not
//    established by this test. The trail byte of a two-byte character is never folded: "鍵"
//    (E6 49) and "鎖" (E6 69) differ only in the case of that byte, and name two keys.
//  - An empty section name is left out of the pool: Wine files such keys under the lines before
//    the first section. The theme generators never write one.
#include "Sandbox.h"

#include "generator/GenerationRun.h"
#include "generator/ProfileWriter.h"
#include "platform/win32/WideText.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvel::test {
namespace {

// Names drawn from small pools so that sections and keys collide often, in several spellings;
// Chinese names, one whose GBK form ends in the byte of "]" (乚, 81 5D), ones whose GBK form
// ends in the byte of "\" (淺, 9C 5C; 奬, 8A 5C) and two whose GBK forms end in the byte of a
// letter, the same letter in two cases (鍵, E6 49 "I"; 鎖, E6 69 "i").
constexpr std::array<std::string_view, 16> kSections = {
    "Theme",
    "THEME",
    "theme",
    "Control Panel\\Cursors",
    "control panel\\CURSORS",
    "VisualStyles",
    "主题",
    "桌面\\壁纸",
    "乚",
    "淺色",
    "鍵",
    "鎖",
    "AppEvents\\Schemes\\Apps\\.Default\\SystemExit",
    "A",
    "a",
    "Ａ",
};
constexpr std::array<std::string_view, 16> kKeys = {
    "DisplayName", "displayname", "DISPLAYNAME", "Wallpaper", "Path",      "path", "名称", "键",
    "奬",          "鍵",          "鎖",          "Item1Path", "ITEM1PATH", "k",    "K",    "x.y]",
};
constexpr std::array<std::string_view, 11> kValues = {
    "",
    "0",
    "%SystemRoot%\\resources\\Themes\\蓝色\\ICON\\a.ico,0",
    "蓝色 经典",
    "a=b",
    ";not a comment",
    "[not a section]",
    "\"quoted\"",
    "淺\\奬",
    "trailing blank ",
    " leading blank",
};

struct Key {
    std::string name;
    std::string value;
};
struct Section {
    std::string name;
    std::vector<Key> keys;
};
struct IniFile {
    std::vector<std::string> preamble; // lines before the first section
    std::vector<Section> sections;
};

std::string trimBlanks(std::string text) {
    text.erase(0, text.find_first_not_of(" \t"));
    text.erase(text.find_last_not_of(" \t") + 1);
    return text;
}

std::string foldAscii(std::string_view utf8) {
    std::string folded(utf8);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

std::string fromAnsi(std::string_view ansi) {
    if (ansi.empty()) {
        return {};
    }
    const int length =
        ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(),
                          length);
    return toUtf8(wide);
}

// Reads an ANSI INI file: every line must end with CR LF; a line "[name]" starts a section, a
// line "key=value" (split at the first "=") is a key. Anything else inside a section is
// reported as a failure, since neither writer should leave such a line here.
IniFile parse(const std::string& ansi) {
    IniFile file;
    std::size_t pos = 0;
    while (pos < ansi.size()) {
        const std::size_t end = ansi.find("\r\n", pos);
        if (end == std::string::npos) {
            ADD_FAILURE() << "unterminated last line: " << fromAnsi(ansi.substr(pos));
            break;
        }
        const std::string line = fromAnsi(ansi.substr(pos, end - pos));
        pos = end + 2;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            file.sections.push_back({line.substr(1, line.size() - 2), {}});
        } else if (file.sections.empty()) {
            file.preamble.push_back(line);
        } else if (const std::size_t equals = line.find('='); equals != std::string::npos) {
            file.sections.back().keys.push_back({line.substr(0, equals), line.substr(equals + 1)});
        } else {
            ADD_FAILURE() << "neither section nor key: " << line;
        }
    }
    return file;
}

std::string describe(const IniFile& file) {
    std::ostringstream out;
    for (const std::string& line : file.preamble) {
        out << line << "\n";
    }
    for (const Section& section : file.sections) {
        out << "[" << section.name << "]\n";
        for (const Key& key : section.keys) {
            out << "  " << key.name << "=" << key.value << "\n";
        }
    }
    return out.str();
}

std::string trimTrailingBlanks(std::string text) {
    text.erase(text.find_last_not_of(" \t") + 1);
    return text;
}

// What the writes must leave: sections in the order of their first write, named as first
// written; keys in the order of their first write; each with its last value. Key spelling and
// the blanks at the ends of values follow the conventions of one writer.
class Model {
public:
    enum class Writer { Ours, System };

    explicit Model(Writer writer) : writer_(writer) {}

    void write(std::string_view section, std::string_view key, std::string_view value) {
        if (writer_ == Writer::Ours) {
            set(section, key, std::string(value));
            return;
        }
        // The blanks at the start of a value go as it is written. A write that changes nothing
        // leaves the file alone; any other write the system makes from the file as read in
        // again, which has lost the blanks at the end of every value, plus the new value.
        const std::size_t start = value.find_first_not_of(" \t");
        const std::string stored =
            start == std::string_view::npos ? std::string() : std::string(value.substr(start));
        if (find(section, key) == stored) {
            return;
        }
        for (Section& existing : file_.sections) {
            for (Key& existingKey : existing.keys) {
                existingKey.value = trimTrailingBlanks(existingKey.value);
            }
        }
        set(section, key, stored);
    }

    IniFile file(const std::vector<std::string>& preamble) const {
        IniFile result = file_;
        result.preamble = preamble;
        return result;
    }

private:
    Section* findSection(std::string_view section) {
        for (Section& existing : file_.sections) {
            if (foldAscii(existing.name) == foldAscii(section)) {
                return &existing;
            }
        }
        return nullptr;
    }

    std::optional<std::string> find(std::string_view section, std::string_view key) {
        if (Section* target = findSection(section)) {
            for (const Key& existing : target->keys) {
                if (foldAscii(existing.name) == foldAscii(key)) {
                    return existing.value;
                }
            }
        }
        return std::nullopt;
    }

    void set(std::string_view section, std::string_view key, std::string value) {
        Section* target = findSection(section);
        if (!target) {
            file_.sections.push_back({std::string(section), {}});
            target = &file_.sections.back();
        }
        for (Key& existing : target->keys) {
            if (foldAscii(existing.name) == foldAscii(key)) {
                if (writer_ == Writer::Ours) {
                    existing.name = key; // the whole line is replaced
                }
                existing.value = std::move(value);
                return;
            }
        }
        target->keys.push_back({std::string(key), std::move(value)});
    }

    Writer writer_;
    IniFile file_;
};

// The same file with key names folded and values trimmed: what is left when the documented
// differences are taken out.
IniFile withoutKnownDifferences(IniFile file) {
    for (Section& section : file.sections) {
        for (Key& key : section.keys) {
            key.name = foldAscii(key.name);
            key.value = trimBlanks(key.value);
        }
    }
    return file;
}

// The first line (1-based) where two files differ, with both lines, for a failure message.
std::string firstDifference(const std::string& a, const std::string& b) {
    std::size_t start = 0;
    for (int line = 1;; ++line) {
        const std::size_t endA = std::min(a.find("\r\n", start), a.size());
        const std::size_t endB = std::min(b.find("\r\n", start), b.size());
        const std::string lineA = a.substr(start, endA - start);
        const std::string lineB =
            b.substr(std::min(start, b.size()), endB - std::min(start, b.size()));
        if (lineA != lineB || endA != endB) {
            return "line " + std::to_string(line) + ": ours \"" + fromAnsi(lineA) +
                   "\", system's \"" + fromAnsi(lineB) + "\"";
        }
        if (endA >= a.size()) {
            return a.size() == b.size() ? "no difference" : "the system's file is longer";
        }
        start = endA + 2;
    }
}

struct Operation {
    std::string section;
    std::string key;
    std::string value;
    bool reopen; // ProfileWriter saves the file and a new writer carries on from it
};

// A fixed generator and plain modulo, so that a seed gives the same sequence everywhere.
std::vector<Operation> operations(std::uint32_t seed, int count, bool oneSpelling) {
    std::mt19937 random(seed);
    const auto pick = [&random](const auto& pool) {
        return std::string(pool[random() % pool.size()]);
    };
    std::vector<Operation> result;
    std::vector<std::pair<std::string, std::string>> spellings; // folded -> first spelling
    const auto canonical = [&](const std::string& name) {
        for (const auto& [folded, first] : spellings) {
            if (folded == foldAscii(name)) {
                return first;
            }
        }
        spellings.emplace_back(foldAscii(name), name);
        return name;
    };
    for (int i = 0; i < count; ++i) {
        Operation op{pick(kSections), pick(kKeys), pick(kValues), random() % 37 == 0};
        if (oneSpelling) {
            op.key = canonical(op.key);
            op.value = trimBlanks(op.value);
        }
        result.push_back(std::move(op));
    }
    return result;
}

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

class ProfileWriterDifferential : public testing::TestWithParam<std::uint32_t> {
protected:
    void SetUp() override { ASSERT_EQ(::GetACP(), 936u) << "the tests expect GBK"; }

    // Runs one sequence through both writers; returns the two files' bytes.
    std::pair<std::string, std::string> run(const std::vector<Operation>& ops, Model& ours,
                                            Model& system) {
        const std::string ourPath = sandbox->root() + "\\ours.theme";
        const std::string systemPath = sandbox->root() + "\\system.theme";
        const std::string_view header = themeFileHeader();
        EXPECT_TRUE(fs.writeFile(ourPath, bytesOf(header)));
        EXPECT_TRUE(fs.writeFile(systemPath, bytesOf(header)));

        auto writer = std::make_unique<ProfileWriter>(fs, ourPath);
        const std::wstring wideSystemPath = toWide(systemPath);
        for (const Operation& op : ops) {
            if (op.reopen) {
                EXPECT_TRUE(writer->flush());
                writer = std::make_unique<ProfileWriter>(fs, ourPath);
            }
            EXPECT_TRUE(writer->write(op.section, op.key, op.value))
                << "[" << op.section << "] " << op.key << "=" << op.value;
            EXPECT_TRUE(
                ::WritePrivateProfileStringW(toWide(op.section).c_str(), toWide(op.key).c_str(),
                                             toWide(op.value).c_str(), wideSystemPath.c_str()));
            ours.write(op.section, op.key, op.value);
            system.write(op.section, op.key, op.value);
        }
        EXPECT_TRUE(writer->flush());
        // Let the system writer forget the file before it is read back.
        ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, wideSystemPath.c_str());
        return {fs.readFile(ourPath).value_or("<missing>"),
                fs.readFile(systemPath).value_or("<missing>")};
    }

    static std::vector<std::string> headerLines() {
        // The header's second line has no line end of its own; the first key completes it.
        const std::string header(themeFileHeader());
        return {header.substr(0, header.find("\r\n")), header.substr(header.find("\r\n") + 2)};
    }

    std::unique_ptr<Sandbox> sandbox = makeSandbox();
    Platform& fs = sandbox->platform();
};

TEST_P(ProfileWriterDifferential, MixedSpellingsLeaveTheSameSectionsKeysAndValues) {
    const auto ops = operations(GetParam(), 300, false);
    Model ours(Model::Writer::Ours);
    Model system(Model::Writer::System);
    const auto [ourBytes, systemBytes] = run(ops, ours, system);

    // Compared as text, one line per section and key, so that a failure shows the difference.
    const IniFile ourFile = parse(ourBytes);
    const IniFile systemFile = parse(systemBytes);
    EXPECT_EQ(describe(ourFile), describe(ours.file(headerLines())));
    EXPECT_EQ(describe(systemFile), describe(system.file(headerLines())));
    EXPECT_EQ(describe(withoutKnownDifferences(ourFile)),
              describe(withoutKnownDifferences(systemFile)));
    // The pools are small enough that names do collide in every sequence.
    EXPECT_LT(ourFile.sections.size(), kSections.size());
}

TEST_P(ProfileWriterDifferential, OneSpellingPerNameLeavesIdenticalBytes) {
    const auto ops = operations(GetParam(), 300, true);
    Model ours(Model::Writer::Ours);
    Model system(Model::Writer::System);
    const auto [ourBytes, systemBytes] = run(ops, ours, system);

    EXPECT_EQ(describe(parse(ourBytes)), describe(ours.file(headerLines())));
    EXPECT_TRUE(ourBytes == systemBytes) << firstDifference(ourBytes, systemBytes);
}

// Seeds 1 to N, N from QUORVEL_INI_SEEDS (200 unless set), and two far from them.
std::vector<std::uint32_t> seeds() {
    unsigned long count = 200;
    if (const char* setting = std::getenv("QUORVEL_INI_SEEDS"); setting && *setting) {
        count = std::strtoul(setting, nullptr, 10);
    }
    std::vector<std::uint32_t> result;
    for (std::uint32_t seed = 1; seed <= count; ++seed) {
        result.push_back(seed);
    }
    result.push_back(20260101u);
    result.push_back(0xC0FFEEu);
    return result;
}

INSTANTIATE_TEST_SUITE_P(Seeds, ProfileWriterDifferential, testing::ValuesIn(seeds()));

TEST(ProfileWriterDifferentialNames, NamesTheCodePageCannotHoldAreRefusedNotMangled) {
    // The system writer turns such characters into "?"; ours refuses and leaves the file alone.
    auto sandbox = makeSandbox();
    const std::string path = sandbox->root() + "\\ours.theme";
    ProfileWriter writer(sandbox->platform(), path);
    EXPECT_FALSE(writer.write("한국어", "k", "v"));
    EXPECT_FALSE(writer.write("Theme", "😀", "v"));
    EXPECT_FALSE(writer.write("Theme", "k", "ﬀ"));
    EXPECT_TRUE(writer.flush());
    EXPECT_FALSE(sandbox->platform().readFile(path).has_value());

    const std::wstring systemPath = toWide(sandbox->root() + "\\system.theme");
    ASSERT_TRUE(::WritePrivateProfileStringW(L"Theme", L"k", L"한", systemPath.c_str()));
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, systemPath.c_str());
    EXPECT_EQ(sandbox->platform().readFile(sandbox->root() + "\\system.theme"),
              "[Theme]\r\nk=?\r\n");
}

} // namespace
} // namespace quorvel::test
