#include "cli/CommandLine.h"

#include "generator/GenerationRun.h"
#include "generator/PackExport.h"
#include "generator/ThemeInstall.h"
#include "generator/Win7ThemeGenerator.h"
#include "generator/XpThemeGenerator.h"
#include "model/AsciiCase.h"
#include "model/DocumentOpening.h"
#include "model/SystemVersion.h"
#include "model/Texts.h"
#include "model/ThemeDocument.h"
#include "platform/ForwardingPlatform.h"

namespace quorvel {

namespace {

constexpr std::string_view kUsage = text::kUsage;

CommandLine wrong(std::string error) {
    CommandLine command;
    command.action = CommandLine::Action::Wrong;
    command.error = std::move(error);
    return command;
}

// The platform of a run without a window: the generator's message box is not shown (its report
// is printed instead).
class QuietPlatform : public ForwardingPlatform {
public:
    using ForwardingPlatform::ForwardingPlatform;
    void messageBox(const std::string&, MessageIcon, const std::string&) override {}
    // The fixed pause of the generators is for the window's sake; here it only delays the end.
    void delay(int) override {}
};

std::string baseNameOf(const std::string& path) {
    std::string name(pathFileName(path));
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) {
        name.erase(dot);
    }
    return name;
}

CommandResult refused(std::string message) {
    return {kExitRefused, message + "\n"};
}

} // namespace

CommandLine parseCommandLine(std::span<const std::string> arguments) {
    CommandLine command;
    bool generate = false;
    bool hasFile = false;
    bool options = false;
    bool noApply = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        if (argument == "--help" || argument == "-h" || argument == "/?") {
            if (arguments.size() != 1) {
                return wrong(std::string(text::kCliHelpAlone));
            }
            command.action = CommandLine::Action::Help;
            return command;
        }
        if (argument == kSystemFilesOption && i == 0) {
            command.action = CommandLine::Action::SystemFiles;
            command.systemFiles.assign(arguments.begin() + 1, arguments.end());
            return command;
        }
        if (argument == "--install" || argument == "--no-apply") {
            bool& given = argument == "--install" ? command.install : noApply;
            if (given) {
                return wrong(std::string(argument) + std::string(text::kCliGivenTwice));
            }
            given = true;
            options = true;
            continue;
        }
        if (argument == "--generate") {
            if (generate) {
                return wrong(std::string(text::kCliGenerateTwice));
            }
            generate = true;
            continue;
        }
        if (argument.starts_with("-")) {
            std::string_view option = argument;
            std::optional<std::string> value;
            if (const std::size_t equals = argument.find('='); equals != std::string_view::npos) {
                option = argument.substr(0, equals);
                value = std::string(argument.substr(equals + 1));
            }
            std::optional<std::string>* target = nullptr;
            if (option == "--name") {
                target = &command.name;
            } else if (option == "--display-name") {
                target = &command.displayName;
            } else if (option == "--save-to") {
                target = &command.saveTo;
            } else if (option == "--pack") {
                target = &command.pack;
            } else if (option != "--for") {
                return wrong(std::string(text::kCliUnknownOption) + std::string(argument));
            }
            if (!value) {
                if (i + 1 >= arguments.size()) {
                    return wrong(std::string(option) + std::string(text::kCliNeedsValue));
                }
                value = arguments[++i];
            }
            if (option == "--for") {
                if (command.pageSet) {
                    return wrong(std::string(text::kCliForTwice));
                }
                if (equalsIgnoringAsciiCase(*value, "win7")) {
                    command.pageSet = PageSet::Win7;
                } else if (equalsIgnoringAsciiCase(*value, "xp")) {
                    command.pageSet = PageSet::Xp;
                } else {
                    return wrong(std::string(text::kCliForValue) + *value);
                }
            } else {
                if (*target) {
                    return wrong(std::string(option) + std::string(text::kCliGivenTwice));
                }
                *target = std::move(*value);
            }
            options = true;
            continue;
        }
        if (hasFile) {
            return wrong(std::string(text::kCliOneFile) + std::string(argument));
        }
        command.file = std::string(argument);
        hasFile = true;
    }
    command.apply = !noApply;
    if (noApply && !command.install) {
        return wrong(std::string(text::kCliNoApplyAlone));
    }
    if (command.install && (command.pack || command.saveTo)) {
        return wrong(std::string(text::kCliInstallTakesNeither));
    }
    // The system opens a pack by its extension: a pack written under another name is of no use.
    if (command.pack && !endsWithIgnoringAsciiCase(*command.pack, ".themepack") &&
        !endsWithIgnoringAsciiCase(*command.pack, ".deskthemepack")) {
        return wrong(std::string(text::kCliPackExtension) + *command.pack);
    }
    if (command.pack && command.saveTo) {
        return wrong(std::string(text::kCliPackTakesNoSaveTo));
    }
    if (generate) {
        if (!hasFile) {
            return wrong(std::string(text::kCliGenerateNeedsFile));
        }
        command.action = CommandLine::Action::Generate;
    } else if (options) {
        return wrong(std::string(text::kCliOptionsAlone));
    }
    return command;
}

std::string_view usageText() {
    return kUsage;
}

CommandResult runCommandLine(const CommandLine& command, Platform& platform, SystemShell* shell) {
    switch (command.action) {
    case CommandLine::Action::SystemFiles:
        if (!shell) {
            return {kExitUsage, std::string(kUsage)};
        }
        return {runSystemFilesCommand(command.systemFiles, platform, *shell), {}};
    case CommandLine::Action::Help:
        return {kExitWritten, std::string(kUsage)};
    case CommandLine::Action::Wrong:
        return {kExitUsage, command.error + "\n\n" + std::string(kUsage)};
    case CommandLine::Action::Window:
        return {kExitUsage, std::string(kUsage)};
    case CommandLine::Action::Generate:
        break;
    }

    const OpenedDocument opened =
        readDocument(command.file, platform, command.pageSet.value_or(gatePageSet(platform)));
    if (!opened.document) {
        return refused(opened.error);
    }
    if (command.install && !shell) {
        return {kExitUsage, std::string(kUsage)};
    }
    if (opened.theme && !command.saveTo && !command.install && !command.pack) {
        return {kExitUsage, std::string(text::kCliThemeNeedsSaveTo)};
    }
    ThemeDocument document = *opened.document;
    const PageSet set = document.pageSet;
    PageChoices& choices = document.choices(set);
    CommandResult result;
    if (opened.theme) {
        if (!opened.missing.empty() || !opened.unfit.empty()) {
            result.output = missingFilesMessage(opened.missing, opened.unfit) + "\n";
        }
        choices.themeName = baseNameOf(command.file);
        // A theme that brings no pointers or sounds of its own keeps the system's schemes.
        for (const SchemeKind kind : {SchemeKind::Pointers, SchemeKind::Sounds}) {
            const SchemeChoice& scheme =
                kind == SchemeKind::Pointers ? choices.pointerScheme : choices.soundScheme;
            if (scheme.item == kNoSchemeItem) {
                chooseScheme(choices, set, kind, kDefaultSchemeItem);
            }
        }
    }
    if (command.name) {
        choices.themeName = *command.name;
    }
    if (command.displayName) {
        choices.displayName = *command.displayName;
    }
    if (command.saveTo) {
        choices.saveLocation = *command.saveTo;
    }
    if (opened.theme) {
        // Windows names its own schemes by a resource string ("@mmres.dll,-800"), which the
        // reader leaves out; a scheme of the theme's own files left without a name takes the
        // theme's, where the window lets the user type one.
        for (SchemeChoice* scheme : {&choices.pointerScheme, &choices.soundScheme}) {
            if (scheme->item == kCustomSchemeItem && scheme->name.empty()) {
                scheme->name = choices.themeName;
            }
        }
        // So is the display name of Windows' own themes ("@themeui.dll,-2013"): a theme left
        // without one is shown under the theme's name.
        if (choices.displayName.empty() && !command.displayName) {
            choices.displayName = choices.themeName;
        }
    }

    // What leaving the desktop page forward does, and the checks of the forward buttons the
    // user passes on the way to the last page.
    if (set == PageSet::Win7) {
        passDesktopPage(choices);
    }
    if (const auto message = forwardChecks(choices)) {
        result.output += std::string(*message) + "\n";
        result.exitCode = kExitRefused;
        return result;
    }

    QuietPlatform quiet(platform);
    const ThemeRequest request = requestOf(document, set);
    std::optional<GenerationReport> report;
    if (command.install) {
        // Nobody to ask: an installed theme of the same name is refused.
        report = installTheme(request, quiet, *shell, false, command.apply).report;
    } else if (command.pack) {
        report = packRefusalOf(request);
        if (!report && quiet.fileExists(*command.pack)) {
            report = GenerationReport{};
            report->message = std::string(text::kPackExists) + *command.pack;
        }
        if (!report) {
            report = exportPack(request, *command.pack, quiet);
        }
    } else {
        report = refusalOf(request, quiet);
    }
    if (!report) {
        report = set == PageSet::Win7 ? generateWin7Theme(request, quiet)
                                      : generateXpTheme(request, quiet);
    }
    result.output += report->message + "\n";
    // The window's message of a pack folder that cannot be made says no more than to try again;
    // here the reason follows on a line of its own.
    if (!report->reason.empty()) {
        result.output += report->reason + "\n";
    }
    switch (report->outcome) {
    case GenerationOutcome::Complete:
        result.exitCode = kExitWritten;
        break;
    case GenerationOutcome::Incomplete:
        result.exitCode = kExitIncomplete;
        break;
    case GenerationOutcome::Refused:
        result.exitCode = kExitRefused;
        break;
    }
    return result;
}

} // namespace quorvel
