// What a generation run tells the wizard: how it ended, what failed, and the one message box that
// says so.
#pragma once

#include "model/Texts.h"
#include "platform/Platform.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

enum class GenerationOutcome {
    Refused,    // the request was turned down before anything was written
    Complete,   // the theme file and the pack were written with every item
    Incomplete, // written, but the items in failures did not make it
};

struct GenerationReport {
    GenerationOutcome outcome = GenerationOutcome::Refused;
    // The items that failed, in the order the run met them.
    std::vector<std::string> failures;
    // The message box to show.
    std::string message;
    std::string title;
    MessageIcon icon = MessageIcon::Error;
    // Why a refusal happened where the message box does not say (the pack folder could not be
    // made); the command line prints it on a line of its own after the message.
    std::string reason;
};

// The report of a request turned down before anything was written: the message in an error box.
inline GenerationReport refusedReport(std::string_view message) {
    GenerationReport report;
    report.outcome = GenerationOutcome::Refused;
    report.message = std::string(message);
    report.title = std::string(text::kErrorTitle);
    report.icon = MessageIcon::Error;
    return report;
}

} // namespace quorvel
