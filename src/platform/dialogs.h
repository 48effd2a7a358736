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
enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct MessageRequest {
    std::string text;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
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
    // Existing files, several at once, under `title`. One file comes as its full path; several
    // keep the Windows form: the folder, then each name, separated by NUL characters.
    virtual void chooseFiles(const std::string& title, std::function<void(std::optional<std::string>)> done) = 0;

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
    Awaiter<std::optional<std::string>> browseFiles(std::string title)
    {
        return Awaiter<std::optional<std::string>>([this, t = std::move(title)](auto done) {
            chooseFiles(t, std::move(done));
        });
    }
};

} // namespace volmara
