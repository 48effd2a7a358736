#pragma once

#include "platform/event_loop.h"

#include <coroutine>
#include <functional>
#include <memory>
#include <optional>
#include <string>

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

    template <typename Result>
    struct Awaiter {
        std::function<void(std::function<void(Result)>)> start;
        std::shared_ptr<bool> alive = std::make_shared<bool>(true);
        std::optional<Result> result;

        Awaiter(std::function<void(std::function<void(Result)>)> s) : start(std::move(s)) {}
        Awaiter(Awaiter&&) = default;
        // A frame destroyed while its dialog is open (shut-down) must not be resumed later.
        ~Awaiter()
        {
            if (alive)
                *alive = false;
        }

        bool await_ready() const noexcept { return false; }
        void await_suspend(std::coroutine_handle<> h)
        {
            start([h, flag = alive, this](Result r) {
                if (!*flag)
                    return;
                result = std::move(r);
                h.resume();
            });
        }
        Result await_resume() { return std::move(*result); }
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
};

} // namespace volmara
