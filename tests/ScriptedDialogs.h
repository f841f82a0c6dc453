// File and folder dialogs for tests: each call takes the next scripted answer and records what
// the program asked for.
#pragma once

#include "platform/Dialogs.h"

#include <deque>

namespace quorvel::test {

class ScriptedDialogs : public Dialogs {
public:
    struct OpenFileCall {
        std::string filter;
        std::string initialFileName;
    };
    struct OpenFilesCall {
        std::string title;
        std::string filter;
    };

    std::optional<std::string> openFile(std::string_view filter,
                                        std::string_view initialFileName) override {
        openFileCalls.push_back({std::string(filter), std::string(initialFileName)});
        return next(fileAnswers);
    }
    std::optional<std::string> saveFile(std::string_view filter, std::string_view initialFileName,
                                        std::string_view defaultExtension) override {
        saveFileCalls.push_back(
            {std::string(filter), std::string(initialFileName), std::string(defaultExtension)});
        return next(saveAnswers);
    }
    std::vector<std::string> openFiles(std::string_view title, std::string_view filter) override {
        openFilesCalls.push_back({std::string(title), std::string(filter)});
        if (filesAnswers.empty()) {
            return {};
        }
        std::vector<std::string> answer = std::move(filesAnswers.front());
        filesAnswers.pop_front();
        return answer;
    }
    std::optional<std::string> browseFolder(std::string_view title) override {
        folderTitles.emplace_back(title);
        return next(folderAnswers);
    }

    // nullopt stands for a cancel.
    std::deque<std::optional<std::string>> fileAnswers;
    std::deque<std::vector<std::string>> filesAnswers;
    std::deque<std::optional<std::string>> folderAnswers;
    std::deque<std::optional<std::string>> saveAnswers;

    struct SaveFileCall {
        std::string filter;
        std::string initialFileName;
        std::string defaultExtension;
    };

    std::vector<OpenFileCall> openFileCalls;
    std::vector<SaveFileCall> saveFileCalls;
    std::vector<OpenFilesCall> openFilesCalls;
    std::vector<std::string> folderTitles;

private:
    static std::optional<std::string> next(std::deque<std::optional<std::string>>& answers) {
        if (answers.empty()) {
            return std::nullopt;
        }
        std::optional<std::string> answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
};

} // namespace quorvel::test
