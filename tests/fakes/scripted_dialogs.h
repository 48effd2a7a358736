#pragma once

#include "platform/dialogs.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace volmara::test {

// Message boxes answered from a script; every question is recorded. Answers arrive through the
// loop, as a real dialog's would.
class ScriptedDialogs final : public Dialogs {
public:
    explicit ScriptedDialogs(EventLoop& loop) : loop_(loop) {}

    void showMessage(const MessageRequest& request, std::function<void(MsgAnswer)> done) override
    {
        shown.push_back(request);
        if (holdAnswers) {
            held.push_back(std::move(done));
            return;
        }
        const bool yes = request.buttons == MsgButtons::YesNo || request.buttons == MsgButtons::YesNoCancel;
        MsgAnswer answer = yes ? MsgAnswer::Yes : MsgAnswer::Ok;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        loop_.post([done = std::move(done), answer] { done(answer); });
    }

    void chooseFolder(const std::string& title, std::function<void(std::optional<std::string>)> done) override
    {
        folderTitles.push_back(title);
        std::optional<std::string> choice;
        if (!folders.empty()) {
            choice = folders.front();
            folders.pop_front();
        }
        loop_.post([done = std::move(done), choice] { done(choice); });
    }

    void chooseFile(const std::vector<std::string>& filters, std::function<void(std::optional<std::string>)> done) override
    {
        fileFilters.push_back(filters);
        std::optional<std::string> choice;
        if (!files.empty()) {
            choice = files.front();
            files.pop_front();
        }
        loop_.post([done = std::move(done), choice] { done(choice); });
    }

    void showTitledMessage(const std::string& title, const MessageRequest& request,
                           std::function<void(MsgAnswer)> done) override
    {
        titles.resize(shown.size());
        titles.push_back(title);
        showMessage(request, std::move(done));
    }

    void chooseFiles(const FilesRequest& request, std::function<void(std::optional<std::string>)> done) override
    {
        filesRequests.push_back(request);
        std::optional<std::string> choice;
        if (!multiFiles.empty()) {
            choice = multiFiles.front();
            multiFiles.pop_front();
        }
        loop_.post([done = std::move(done), choice] { done(choice); });
    }

    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (const auto& r : shown)
            out.push_back(r.text);
        return out;
    }

    // Answers the oldest held question, as a user would after a while.
    void releaseOne(MsgAnswer answer = MsgAnswer::Ok)
    {
        auto done = std::move(held.front());
        held.pop_front();
        loop_.post([done = std::move(done), answer] { done(answer); });
    }

    bool holdAnswers = false;
    std::deque<std::function<void(MsgAnswer)>> held;
    std::deque<MsgAnswer> answers;
    std::deque<std::optional<std::string>> folders;
    std::vector<MessageRequest> shown;
    std::vector<std::string> folderTitles;
    std::deque<std::optional<std::string>> files;
    std::vector<std::vector<std::string>> fileFilters;
    // The multi-selection chooser's answers, in the NUL-separated form, and what it was asked.
    std::deque<std::optional<std::string>> multiFiles;
    std::vector<FilesRequest> filesRequests;
    // The title of each shown message that had one of its own, by its index in `shown`.
    std::vector<std::string> titles;

private:
    EventLoop& loop_;
};

} // namespace volmara::test
