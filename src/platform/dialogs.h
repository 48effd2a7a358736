#pragma once

#include "platform/event_loop.h"

#include <coroutine>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace volmara {

enum class MsgIcon { None, Information, Question, Critical, Exclamation };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct MessageRequest {
    std::string text;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
};

// The open-file dialog with multiple selection. The answer keeps the form callers split: one
// chosen file gives its full path; several give the folder, then each name, separated by NUL.
struct FilesRequest {
    std::string title;
    std::string filter;        // "*.*"
    std::string initialFolder; // empty: wherever the dialog opens
};

// Message boxes and choosers. Each shows its window without a nested loop and calls `done`
// later from the event loop; the awaiters below turn that into a suspension point.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void showMessage(const MessageRequest& request, std::function<void(MsgAnswer)> done) = 0;
    virtual void chooseFolder(const std::string& title, std::function<void(std::optional<std::string>)> done) = 0;
    // An existing file to open; `filters` are "description (*.ext)" texts, the first one chosen.
    virtual void chooseFile(const std::vector<std::string>& filters,
                            std::function<void(std::optional<std::string>)> done) = 0;
    // A message box under a title of its own instead of the program's.
    virtual void showTitledMessage(const std::string& title, const MessageRequest& request,
                                   std::function<void(MsgAnswer)> done)
    {
        (void)title;
        showMessage(request, std::move(done));
    }
    // Without a chooser of its own a window system offers the single-file one.
    virtual void chooseFiles(const FilesRequest& request, std::function<void(std::optional<std::string>)> done)
    {
        chooseFile({request.filter}, std::move(done));
    }

    template <typename Result>
    struct Awaiter {
        // Shared with the answer callback, which may outlive the frame (shut-down) or run before
        // the frame has suspended (an implementation that answers at once).
        struct State {
            bool alive = true;
            bool suspended = false;
            std::coroutine_handle<> handle;
            std::optional<Result> result;
        };
        std::function<void(std::function<void(Result)>)> start;
        std::shared_ptr<State> state = std::make_shared<State>();

        explicit Awaiter(std::function<void(std::function<void(Result)>)> s) : start(std::move(s)) {}
        Awaiter(Awaiter&&) = default;
        ~Awaiter()
        {
            if (state)
                state->alive = false;
        }

        bool await_ready() const noexcept { return false; }
        bool await_suspend(std::coroutine_handle<> h)
        {
            state->handle = h;
            start([shared = state](Result r) {
                if (!shared->alive || shared->result)
                    return;
                shared->result = std::move(r);
                if (shared->suspended)
                    shared->handle.resume();
            });
            // Answered already: go on without suspending.
            if (state->result)
                return false;
            state->suspended = true;
            return true;
        }
        Result await_resume() { return std::move(*state->result); }
    };

    Awaiter<MsgAnswer> ask(std::string text, MsgIcon icon, MsgButtons buttons = MsgButtons::Ok)
    {
        return Awaiter<MsgAnswer>([this, req = MessageRequest{std::move(text), icon, buttons}](auto done) {
            showMessage(req, std::move(done));
        });
    }
    Awaiter<std::optional<std::string>> browseFolder(std::string title)
    {
        return Awaiter<std::optional<std::string>>([this, t = std::move(title)](auto done) {
            chooseFolder(t, std::move(done));
        });
    }
    Awaiter<std::optional<std::string>> browseFile(std::vector<std::string> filters)
    {
        return Awaiter<std::optional<std::string>>([this, f = std::move(filters)](auto done) {
            chooseFile(f, std::move(done));
        });
    }
    Awaiter<MsgAnswer> askTitled(std::string title, std::string text, MsgIcon icon, MsgButtons buttons)
    {
        return Awaiter<MsgAnswer>([this, t = std::move(title), req = MessageRequest{std::move(text), icon, buttons}](
                                      auto done) { showTitledMessage(t, req, std::move(done)); });
    }
    Awaiter<std::optional<std::string>> browseFiles(FilesRequest request)
    {
        return Awaiter<std::optional<std::string>>([this, r = std::move(request)](auto done) {
            chooseFiles(r, std::move(done));
        });
    }
};

} // namespace volmara
