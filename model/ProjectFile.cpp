#include "model/ProjectFile.h"

#include "model/IniText.h"
#include "model/SystemScreensavers.h"
#include "model/Texts.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <charconv>
#include <map>

namespace quorvel {

namespace {

using R = FieldRole;

ProjectField textField(std::string key, std::function<std::string&(PageChoices&)> member) {
    return {std::move(key), R::Text, 0, std::move(member)};
}

// The section of one page set, in page order. The Windows XP pages have no theme change sound,
// no slideshow, no window colour and no transparency.
std::vector<ProjectField> buildFields(PageSet set) {
    const bool win7 = set == PageSet::Win7;
    std::vector<ProjectField> f;
    for (std::size_t i = 0; i < kIconPickKeys.size(); ++i) {
        f.push_back(textField(std::string(kIconPickKeys[i]),
                              [i](PageChoices& c) -> std::string& { return c.iconPaths[i]; }));
    }
    f.push_back({"PointerScheme", R::PointerScheme, kCustomSchemeItem, {}});
    f.push_back(textField("PointerSchemeName",
                          [](PageChoices& c) -> std::string& { return c.pointerScheme.name; }));
    for (std::size_t i = 0; i < kPointerRoles.size(); ++i) {
        f.push_back(textField("Pointer." + std::string(kPointerRoles[i]),
                              [i](PageChoices& c) -> std::string& { return c.pointerPaths[i]; }));
    }
    f.push_back({"SoundScheme", R::SoundScheme, kCustomSchemeItem, {}});
    f.push_back(textField("SoundSchemeName",
                          [](PageChoices& c) -> std::string& { return c.soundScheme.name; }));
    for (std::size_t i = 0; i < kSoundPickKeys.size() - (win7 ? 0 : 1); ++i) {
        f.push_back(textField(std::string(kSoundPickKeys[i]),
                              [i](PageChoices& c) -> std::string& { return c.soundPaths[i]; }));
    }
    f.push_back({"UseSystemScreensaver", R::SystemScreensaverTick, 0, {}});
    f.push_back({"UseOwnScreensaver", R::OwnScreensaverTick, 0, {}});
    f.push_back({"SystemScreensaver",
                 R::SystemScreensaverList,
                 static_cast<int>(systemScreensavers(set).size()),
                 {}});
    f.push_back(textField("Screensaver",
                          [](PageChoices& c) -> std::string& { return c.ownScreensaverPath; }));
    f.push_back(
        textField("Wallpaper", [](PageChoices& c) -> std::string& { return c.wallpaperPath; }));
    if (win7) {
        f.push_back(textField("Slideshow",
                              [](PageChoices& c) -> std::string& { return c.slideshowImages; }));
    }
    f.push_back(
        textField("VisualStyle", [](PageChoices& c) -> std::string& { return c.visualStylePath; }));
    if (win7) {
        f.push_back(textField("SlideshowInterval",
                              [](PageChoices& c) -> std::string& { return c.slideshowInterval; }));
        f.push_back(
            textField("WindowColor", [](PageChoices& c) -> std::string& { return c.windowColor; }));
        f.push_back({"TransparencySlider", R::TransparencySlider, 255, {}});
        f.push_back(textField("Transparency",
                              [](PageChoices& c) -> std::string& { return c.transparency; }));
    }
    f.push_back(textField("ThemeName", [](PageChoices& c) -> std::string& { return c.themeName; }));
    f.push_back(
        textField("DisplayName", [](PageChoices& c) -> std::string& { return c.displayName; }));
    f.push_back(
        textField("SaveLocation", [](PageChoices& c) -> std::string& { return c.saveLocation; }));
    return f;
}

const std::vector<ProjectField>& fieldsOf(PageSet set) {
    static const std::vector<ProjectField> win7 = buildFields(PageSet::Win7);
    static const std::vector<ProjectField> xp = buildFields(PageSet::Xp);
    return set == PageSet::Win7 ? win7 : xp;
}

// The value an entry writes.
std::string valueText(const ProjectField& field, PageChoices& choices) {
    switch (field.role) {
    case R::Text:
        return field.text(choices);
    case R::PointerScheme:
        return std::to_string(choices.pointerScheme.item);
    case R::SoundScheme:
        return std::to_string(choices.soundScheme.item);
    case R::SystemScreensaverTick:
        return choices.screensaver == ScreensaverSource::System ? "1" : "0";
    case R::OwnScreensaverTick:
        return choices.screensaver == ScreensaverSource::Own ? "1" : "0";
    case R::SystemScreensaverList:
        return std::to_string(choices.systemScreensaverItem);
    case R::TransparencySlider:
        break;
    }
    return std::to_string(choices.transparencySlider);
}

constexpr std::string_view kProjectSection = "Project";
constexpr std::string_view kWin7Section = "Win7";
constexpr std::string_view kXpSection = "XP";
constexpr std::string_view kPicksSection = "Picks";
constexpr std::string_view kSlideshowSection = "Slideshow";
constexpr std::string_view kEndSection = "End";
constexpr std::string_view kPageSetKey = "PageSet";
constexpr std::string_view kPickedColorKey = "PickedColor";
constexpr std::string_view kNameSuffix = ".Name";
constexpr std::string_view kImagePrefix = "Image";
// More images than any slideshow dialog hands over; a larger number is a typing error.
constexpr long kMaxImageNumber = 1000000;

std::string_view sectionOf(PageSet set) {
    return set == PageSet::Win7 ? kWin7Section : kXpSection;
}

enum class Slot { Icon, Pointer, Sound, Screensaver, Wallpaper, VisualStyle };

// A key of [Picks] and the slot it names, in the order the writer writes them.
struct PickKey {
    std::string key;
    Slot slot;
    std::size_t index = 0; // into the slot's array
};

std::vector<PickKey> buildPickKeys() {
    std::vector<PickKey> keys;
    for (std::size_t i = 0; i < kIconPickKeys.size(); ++i) {
        keys.push_back({std::string(kIconPickKeys[i]), Slot::Icon, i});
    }
    for (std::size_t i = 0; i < kPointerRoles.size(); ++i) {
        keys.push_back({"Pointer." + std::string(kPointerRoles[i]), Slot::Pointer, i});
    }
    for (std::size_t i = 0; i < kSoundPickKeys.size(); ++i) {
        keys.push_back({std::string(kSoundPickKeys[i]), Slot::Sound, i});
    }
    keys.push_back({"Screensaver", Slot::Screensaver});
    keys.push_back({"Wallpaper", Slot::Wallpaper});
    keys.push_back({"VisualStyle", Slot::VisualStyle});
    return keys;
}

const std::vector<PickKey>& pickKeys() {
    static const std::vector<PickKey> keys = buildPickKeys();
    return keys;
}

// Picks is ProjectPicks or const ProjectPicks.
template <typename Picks> auto& slotOf(Picks& picks, const PickKey& key) {
    switch (key.slot) {
    case Slot::Icon:
        return picks.iconFiles[key.index];
    case Slot::Pointer:
        return picks.cursorFiles[key.index];
    case Slot::Sound:
        return picks.soundFiles[key.index];
    case Slot::Screensaver:
        return picks.screensaverFile;
    case Slot::Wallpaper:
        return picks.wallpaperFile;
    case Slot::VisualStyle:
        break;
    }
    return picks.visualStyleFile;
}

std::string quote(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string lineError(int line, std::string_view message) {
    return std::string(text::kLineBefore) + std::to_string(line) +
           std::string(text::kProjectLineAfter) + std::string(message);
}

// --- writer ---------------------------------------------------------------------------------

class Writer {
public:
    void line(std::string_view text) {
        bytes_ += text;
        bytes_ += "\r\n";
    }
    void section(std::string_view name) {
        if (!bytes_.empty()) {
            line("");
        }
        line("[" + std::string(name) + "]");
    }
    // A value with blanks at an end, or one that is itself enclosed in quotes, is written in
    // quotes, which the reader takes off again.
    void entry(std::string_view key, std::string_view value) {
        if (!error_.empty()) {
            return;
        }
        if (!isValidUtf8(value) || hasControlCharacter(value)) {
            error_ = std::string(text::kProjectKeyBefore) + std::string(key) +
                     std::string(text::kProjectValueControl);
            return;
        }
        const bool needsQuotes =
            !value.empty() && (value.front() == ' ' || value.front() == '\t' ||
                               value.back() == ' ' || value.back() == '\t' ||
                               (value.size() >= 2 && value.front() == '"' && value.back() == '"'));
        line(std::string(key) + "=" + (needsQuotes ? quote(value) : std::string(value)));
    }
    void pick(std::string_view key, const AssetRef& asset) {
        if (asset.sourcePath.empty() && asset.fileName.empty()) {
            return;
        }
        if (!asset.fileName.empty() && !isPlainFileName(asset.fileName)) {
            fail(std::string(text::kProjectKeyBefore) + std::string(key) +
                 std::string(text::kProjectKeyFileName) + quote(asset.fileName) +
                 std::string(text::kProjectFileNameInvalid));
            return;
        }
        entry(key, asset.sourcePath);
        if (asset.fileName != pathFileName(asset.sourcePath)) {
            entry(std::string(key) + std::string(kNameSuffix), asset.fileName);
        }
    }
    void fail(std::string message) {
        if (error_.empty()) {
            error_ = std::move(message);
        }
    }
    ProjectText result() && {
        if (!error_.empty()) {
            return {{}, std::move(error_)};
        }
        return {std::move(bytes_), {}};
    }

private:
    std::string bytes_;
    std::string error_;
};

// --- reader ---------------------------------------------------------------------------------

struct Entry {
    std::string key; // as written
    std::string value;
    int line = 0;
};

// The entries of one known section, by key in lower case.
struct Section {
    int line = 0;
    std::map<std::string, Entry> entries;
};

std::optional<long> parseDecimal(std::string_view text) {
    if (text.empty() || text.size() > 9) {
        return std::nullopt;
    }
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    ProjectReadResult run() {
        if (!lex() || !interpret()) {
            return {std::nullopt, std::move(error_)};
        }
        return {std::move(document_), {}};
    }

private:
    bool fail(std::string message) {
        error_ = std::move(message);
        return false;
    }
    bool failAt(int line, std::string_view message) { return fail(lineError(line, message)); }

    bool checkSignature(std::string_view line) {
        const std::string expected =
            std::string(kProjectSignature) + std::to_string(kProjectFormatVersion);
        const std::string_view text = trimBlanks(line);
        const std::string foreign =
            std::string(text::kNotAProject) + quote(expected) + std::string(text::kFullStop);
        if (!text.starts_with(trimBlanks(kProjectSignature))) {
            return fail(foreign);
        }
        const auto version = parseDecimal(trimBlanks(text.substr(kProjectSignature.size() - 1)));
        if (!version || *version < 1) {
            return fail(foreign);
        }
        if (*version > kProjectFormatVersion) {
            return fail(std::string(text::kProjectNewerBefore) + std::to_string(*version) +
                        std::string(text::kProjectNewerMiddle) +
                        std::to_string(kProjectFormatVersion) +
                        std::string(text::kProjectNewerAfter));
        }
        return true;
    }

    // Splits the text into sections and entries and checks every line.
    bool lex() {
        std::string_view text = bytes_;
        if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
            return fail(std::string(text::kProjectUtf16));
        }
        if (text.starts_with("\xEF\xBB\xBF")) {
            text.remove_prefix(3);
        }
        if (text.empty()) {
            return fail(std::string(text::kProjectEmpty));
        }
        LineCursor lines(text);
        std::string_view line;
        Section* current = nullptr;
        bool inKnownSection = false;
        bool ended = false;
        while (lines.next(line)) {
            const int number = lines.number();
            if (line.size() > kMaxProjectLineBytes) {
                return failAt(number, std::string(text::kProjectLineTooLong) +
                                          std::to_string(kMaxProjectLineBytes / 1024) +
                                          std::string(text::kProjectLineTooLongAfter));
            }
            if (!isValidUtf8(line)) {
                return failAt(number, text::kProjectBadUtf8);
            }
            if (hasControlCharacter(line)) {
                return failAt(number, text::kProjectControl);
            }
            if (number == 1) {
                if (!checkSignature(line)) {
                    return false;
                }
                continue;
            }
            const IniLine parsed = parseIniLine(line);
            if (parsed.kind == IniLine::Kind::Blank || parsed.kind == IniLine::Kind::Comment) {
                continue;
            }
            if (ended) {
                return failAt(number, text::kProjectAfterEnd);
            }
            switch (parsed.kind) {
            case IniLine::Kind::Invalid:
                return failAt(number, text::kProjectBadLine);
            case IniLine::Kind::Section: {
                const std::string name = lowerAscii(parsed.name);
                if (name == lowerAscii(kEndSection)) {
                    ended = true;
                    continue;
                }
                const auto [at, isNew] = sections_.try_emplace(name, Section{number, {}});
                if (!isNew) {
                    return failAt(number, std::string(text::kProjectSectionBefore) +
                                              std::string(parsed.name) +
                                              std::string(text::kProjectSectionTwice) +
                                              std::to_string(at->second.line) +
                                              std::string(text::kProjectTwiceAfter));
                }
                current = &at->second;
                inKnownSection = isKnownSection(name);
                continue;
            }
            case IniLine::Kind::Entry: {
                if (current == nullptr) {
                    return failAt(number, std::string(text::kProjectKeyWord) + quote(parsed.name) +
                                              std::string(text::kProjectKeyOutsideSection));
                }
                if (!inKnownSection) {
                    continue;
                }
                const auto [at, isNew] = current->entries.try_emplace(
                    lowerAscii(parsed.name),
                    Entry{std::string(parsed.name), std::string(parsed.value), number});
                if (!isNew) {
                    return failAt(number, std::string(text::kProjectKeyWord) + quote(parsed.name) +
                                              std::string(text::kProjectKeyTwice) +
                                              std::to_string(at->second.line) +
                                              std::string(text::kProjectTwiceAfter));
                }
                continue;
            }
            default:
                continue;
            }
        }
        if (!ended) {
            return fail(std::string(text::kProjectNoEnd));
        }
        return true;
    }

    static bool isKnownSection(const std::string& lower) {
        for (std::string_view known :
             {kProjectSection, kWin7Section, kXpSection, kPicksSection, kSlideshowSection}) {
            if (lower == lowerAscii(known)) {
                return true;
            }
        }
        return false;
    }

    const Section* section(std::string_view name) const {
        const auto at = sections_.find(lowerAscii(name));
        return at == sections_.end() ? nullptr : &at->second;
    }

    static const Entry* entry(const Section* section, std::string_view key) {
        if (section == nullptr) {
            return nullptr;
        }
        const auto at = section->entries.find(lowerAscii(key));
        return at == section->entries.end() ? nullptr : &at->second;
    }

    bool interpret() {
        return readProject() && readFields(PageSet::Win7) && readFields(PageSet::Xp) &&
               readPicks() && readSlideshow();
    }

    bool readProject() {
        const Section* project = section(kProjectSection);
        const Entry* pageSet = entry(project, kPageSetKey);
        if (pageSet == nullptr) {
            return fail(std::string(text::kProjectNoPageSet));
        }
        if (equalsIgnoringAsciiCase(pageSet->value, kWin7Section)) {
            document_.pageSet = PageSet::Win7;
        } else if (equalsIgnoringAsciiCase(pageSet->value, kXpSection)) {
            document_.pageSet = PageSet::Xp;
        } else {
            return failAt(pageSet->line, std::string(text::kProjectBadPageSet) +
                                             quote(pageSet->value) + std::string(text::kFullStop));
        }
        if (const Entry* color = entry(project, kPickedColorKey)) {
            document_.pickedColor = rgbFromHexText(color->value);
            if (!document_.pickedColor) {
                return failAt(color->line, std::string(text::kProjectBadColor) +
                                               quote(color->value) + std::string(text::kFullStop));
            }
        }
        return true;
    }

    // Each entry present changes the document as the user's action on the page would, in the
    // order of the page set's fields.
    bool readFields(PageSet set) {
        const Section* fields = section(sectionOf(set));
        if (fields == nullptr) {
            return true;
        }
        PageChoices& choices = document_.choices(set);
        for (const ProjectField& field : fieldsOf(set)) {
            const Entry* found = entry(fields, field.key);
            if (found == nullptr) {
                continue;
            }
            int number = 0;
            switch (field.kind()) {
            case FieldKind::Text:
                break;
            case FieldKind::Tick:
                if (found->value != "0" && found->value != "1") {
                    return failAt(found->line, found->key + std::string(text::kProjectBadTick) +
                                                   quote(found->value) +
                                                   std::string(text::kFullStop));
                }
                break;
            case FieldKind::Choice:
            case FieldKind::Slider: {
                const auto parsed = parseDecimal(found->value);
                if (!parsed || *parsed > field.maximum) {
                    return failAt(found->line, found->key + std::string(text::kProjectBadNumber) +
                                                   std::to_string(field.maximum) +
                                                   std::string(text::kProjectBadNumberAfter) +
                                                   quote(found->value) +
                                                   std::string(text::kFullStop));
                }
                number = static_cast<int>(*parsed);
                break;
            }
            }
            switch (field.role) {
            case R::Text:
                field.text(choices) = found->value;
                break;
            case R::PointerScheme:
                chooseScheme(choices, set, SchemeKind::Pointers, number);
                break;
            case R::SoundScheme:
                chooseScheme(choices, set, SchemeKind::Sounds, number);
                break;
            case R::SystemScreensaverTick:
                tickScreensaver(choices, ScreensaverSource::System, found->value == "1");
                break;
            case R::OwnScreensaverTick:
                tickScreensaver(choices, ScreensaverSource::Own, found->value == "1");
                break;
            case R::SystemScreensaverList:
                choices.systemScreensaverItem = number;
                break;
            case R::TransparencySlider:
                moveTransparencySlider(choices, number);
                break;
            }
        }
        return true;
    }

    // A pick: its path under `key`, the name of its copy under `key`.Name (by default the
    // path's file name).
    bool readPick(const Section* section, const std::string& key, AssetRef& asset) {
        const Entry* path = entry(section, key);
        const Entry* name = entry(section, key + std::string(kNameSuffix));
        if (path == nullptr) {
            if (name != nullptr) {
                return failAt(name->line, name->key + std::string(text::kProjectNameWithoutPath) +
                                              key +
                                              std::string(text::kProjectNameWithoutPathAfter));
            }
            return true;
        }
        asset.sourcePath = path->value;
        asset.fileName = name != nullptr ? name->value : std::string(pathFileName(path->value));
        const FileNameFault fault =
            asset.fileName.empty() ? FileNameFault::None : fileNameFault(asset.fileName);
        if (fault != FileNameFault::None) {
            std::string_view why = text::kCopyNameInvalid;
            if (fault == FileNameFault::Device) {
                why = text::kCopyNameIsDevice;
            } else if (fault == FileNameFault::Direction) {
                why = text::kCopyNameHasDirectionControl;
            }
            return failAt(name != nullptr ? name->line : path->line,
                          std::string(text::kProjectFileName) + quote(asset.fileName) +
                              std::string(why));
        }
        if (asset.sourcePath.empty() && !asset.fileName.empty()) {
            return failAt(name->line, name->key + std::string(text::kProjectNameEmptyPath) + key +
                                          std::string(text::kProjectEmptyPathAfter));
        }
        return true;
    }

    bool readPicks() {
        const Section* picks = section(kPicksSection);
        for (const PickKey& key : pickKeys()) {
            if (!readPick(picks, key.key, slotOf(document_.picks, key))) {
                return false;
            }
        }
        return true;
    }

    bool readSlideshow() {
        const Section* slideshow = section(kSlideshowSection);
        if (slideshow == nullptr) {
            return true;
        }
        // The numbers present, each with the line of its path or name.
        std::map<long, int> numbers;
        for (const auto& [lower, found] : slideshow->entries) {
            std::string_view key = lower;
            if (!key.starts_with("image")) {
                continue;
            }
            key.remove_prefix(kImagePrefix.size());
            if (key.ends_with(".name")) {
                key.remove_suffix(kNameSuffix.size());
            }
            // Numbers are written plainly: "Image02" would name the same image as "Image2".
            const auto number = key.starts_with('0') ? std::nullopt : parseDecimal(key);
            if (!number || *number < 1 || *number > kMaxImageNumber) {
                if (!key.empty() && key.find_first_not_of("0123456789") == std::string_view::npos) {
                    return failAt(found.line, std::string(text::kProjectBadImageNumber) +
                                                  std::to_string(kMaxImageNumber) +
                                                  std::string(text::kProjectBadImageNumberAfter) +
                                                  quote(found.key) + std::string(text::kFullStop));
                }
                continue;
            }
            numbers.emplace(*number, found.line);
        }
        long expected = 1;
        for (const auto& [number, line] : numbers) {
            if (number != expected) {
                return failAt(line, std::string(text::kProjectImageGap) + std::to_string(expected) +
                                        std::string(text::kFullStop));
            }
            ++expected;
        }
        document_.picks.slideshowFiles.resize(numbers.size());
        for (const auto& [number, line] : numbers) {
            const std::string key = std::string(kImagePrefix) + std::to_string(number);
            AssetRef& image = document_.picks.slideshowFiles[static_cast<std::size_t>(number - 1)];
            if (!readPick(slideshow, key, image)) {
                return false;
            }
            if (image.sourcePath.empty()) {
                return failAt(line, std::string(text::kProjectImageBefore) + key +
                                        std::string(text::kProjectEmptyPathAfter));
            }
        }
        return true;
    }

    std::string_view bytes_;
    std::map<std::string, Section> sections_;
    ThemeDocument document_;
    std::string error_;
};

} // namespace

FieldKind ProjectField::kind() const {
    switch (role) {
    case FieldRole::Text:
        return FieldKind::Text;
    case FieldRole::PointerScheme:
    case FieldRole::SoundScheme:
    case FieldRole::SystemScreensaverList:
        return FieldKind::Choice;
    case FieldRole::SystemScreensaverTick:
    case FieldRole::OwnScreensaverTick:
        return FieldKind::Tick;
    case FieldRole::TransparencySlider:
        break;
    }
    return FieldKind::Slider;
}

std::span<const ProjectField> projectFields(PageSet set) {
    return fieldsOf(set);
}

ProjectText writeProjectFile(const ThemeDocument& document) {
    const ThemeDocument& state = document;
    Writer out;
    out.line(std::string(kProjectSignature) + std::to_string(kProjectFormatVersion));
    out.section(kProjectSection);
    out.entry(kPageSetKey, sectionOf(state.pageSet));
    if (state.pickedColor) {
        out.entry(kPickedColorKey, hexText(*state.pickedColor));
    }
    for (PageSet set : {PageSet::Win7, PageSet::Xp}) {
        out.section(sectionOf(set));
        // A copy, as the fields' accessors serve the reader too.
        PageChoices choices = document.choices(set);
        for (const ProjectField& field : fieldsOf(set)) {
            out.entry(field.key, valueText(field, choices));
        }
    }
    out.section(kPicksSection);
    for (const PickKey& key : pickKeys()) {
        out.pick(key.key, slotOf(state.picks, key));
    }
    if (!state.picks.slideshowFiles.empty()) {
        out.section(kSlideshowSection);
        for (std::size_t i = 0; i < state.picks.slideshowFiles.size(); ++i) {
            const AssetRef& image = state.picks.slideshowFiles[i];
            const std::string key = std::string(kImagePrefix) + std::to_string(i + 1);
            if (image.sourcePath.empty()) {
                out.fail(std::string(text::kProjectImageWithoutPath) + std::to_string(i + 1) +
                         std::string(text::kProjectImageWithoutPathAfter));
            }
            out.pick(key, image);
        }
    }
    out.section(kEndSection);
    return std::move(out).result();
}

ProjectReadResult readProjectFile(std::string_view bytes) {
    return Reader(bytes).run();
}

std::string_view pathFileName(std::string_view path) {
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

namespace {

bool isDeviceName(std::string_view name) {
    // The system drops dots and blanks at the end of a name, takes the part before the first
    // dot and drops the blanks at its end; what is left names the device.
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) {
        name.remove_suffix(1);
    }
    name = name.substr(0, name.find('.'));
    while (!name.empty() && name.back() == ' ') {
        name.remove_suffix(1);
    }
    const std::string base = lowerAscii(name);
    for (std::string_view device : {"con", "prn", "aux", "nul", "conin$", "conout$"}) {
        if (base == device) {
            return true;
        }
    }
    if (!base.starts_with("com") && !base.starts_with("lpt")) {
        return false;
    }
    const std::string_view digit = std::string_view(base).substr(3);
    return (digit.size() == 1 && digit[0] >= '1' && digit[0] <= '9') || digit == "\xC2\xB9" ||
           digit == "\xC2\xB2" || digit == "\xC2\xB3";
}

bool holdsDirectionControl(std::string_view name) {
    bool found = false;
    utf8::decode(name, [&found](char32_t c) {
        found = found || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) ||
                c == 0x200E || c == 0x200F || c == 0x061C;
    });
    return found;
}

} // namespace

FileNameFault fileNameFault(std::string_view name) {
    if (name.empty() || name == "." || name == "..") {
        return FileNameFault::NotPlain;
    }
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F ||
            std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) {
            return FileNameFault::NotPlain;
        }
    }
    if (isDeviceName(name)) {
        return FileNameFault::Device;
    }
    if (holdsDirectionControl(name)) {
        return FileNameFault::Direction;
    }
    return FileNameFault::None;
}

bool isPlainFileName(std::string_view name) {
    return fileNameFault(name) == FileNameFault::None;
}

} // namespace quorvel
