#pragma once

#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <type_traits>

namespace volmara {

// Runs calls that may never return (a file system whose server is gone) on one helper thread and
// waits for each at most a fixed bound, so that the calling thread never hangs on them.
//
// Rules:
// - One call at a time. A call that misses the bound is abandoned: it keeps running on the
//   helper, and until it returns every further call is refused at once (StillStuck for the same
//   key, HelperBusy for another) instead of queueing more work behind it.
// - A call must own everything it touches (capture by value): an abandoned call outlives the
//   caller's stack frame, and possibly this object.
// - Shutdown: the destructor stops the helper and joins it. When the helper is inside an abandoned
//   call that does not return within the bound either, it is detached instead; it then holds
//   only state it shares ownership of, and ends as soon as the call returns.
class BoundedCaller {
public:
    enum class Outcome {
        Answered,   // the call returned within the bound
        TimedOut,   // the call was abandoned now
        StillStuck, // an abandoned call for this key has not returned; nothing was started
        HelperBusy, // an abandoned call for another key has not returned; nothing was started
    };

    template <class Result>
    struct Reply {
        Outcome outcome;
        std::optional<Result> result; // set when Answered
    };

    explicit BoundedCaller(std::chrono::milliseconds bound);
    ~BoundedCaller();
    BoundedCaller(const BoundedCaller&) = delete;
    BoundedCaller& operator=(const BoundedCaller&) = delete;

    // Runs `call` under the bound; an exception it throws is rethrown here when it answers.
    template <class Call>
    auto run(std::string_view key, Call call) -> Reply<std::invoke_result_t<Call&>>
    {
        using Result = std::invoke_result_t<Call&>;
        struct Slot {
            std::optional<Result> value;
            std::exception_ptr error;
        };
        auto slot = std::make_shared<Slot>();
        const Outcome outcome = runErased(key, [slot, call = std::move(call)]() mutable {
            try {
                slot->value = call();
            } catch (...) {
                slot->error = std::current_exception();
            }
        });
        if (outcome != Outcome::Answered)
            return {outcome, std::nullopt};
        if (slot->error)
            std::rethrow_exception(slot->error);
        return {outcome, std::move(slot->value)};
    }

private:
    struct State;
    Outcome runErased(std::string_view key, std::function<void()> work);
    static void serve(std::shared_ptr<State> state);

    std::chrono::milliseconds bound_;
    std::shared_ptr<State> state_;
    std::thread helper_;
};

} // namespace volmara
