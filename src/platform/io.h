#pragma once

#include <chrono>
#include <coroutine>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>

namespace volmara {

// How a blocking call handed to the I/O workers ended.
enum class IoOutcome {
    Answered, // it returned (its value or its exception is there)
    TimedOut, // it missed its bound and was abandoned; its key is quarantined until it returns
    Stuck,    // an earlier call for the same key is still abandoned: nothing was started
};

template <typename T>
struct IoReply {
    IoOutcome outcome = IoOutcome::Stuck;
    std::optional<T> value; // set when Answered
    bool answered() const { return outcome == IoOutcome::Answered; }
};

// The I/O workers: everything that can block in the kernel or on a peer (a statvfs, a folder
// walk, a copy, a trash move, a name lookup) runs there, and the awaiting task goes on on the
// UI thread with the result. The UI thread never waits on such a call.
//
// A key names what a call touches (a file system); a call that misses its bound quarantines its
// key, so later calls for it answer Stuck at once until the abandoned call returns. Other keys go
// on being served. Work must own what it touches (capture by value): an abandoned call can
// outlive its caller.
class IoWorkers {
public:
    using Bound = std::optional<std::chrono::milliseconds>; // nullopt: no bound (a long copy)
    static constexpr std::chrono::milliseconds defaultBound{1500};

    struct Job {
        std::string key;
        Bound bound = defaultBound;
        std::function<void()> work;          // on a worker thread
        std::function<void(IoOutcome)> done; // on the UI thread, exactly once, never inside submit
    };

    virtual ~IoWorkers() = default;
    virtual void submit(Job job) = 0;
    // An abandoned call for `key` has not returned yet.
    virtual bool stuck(std::string_view key) const = 0;

    template <typename T>
    class Call;

    // Starts `work` now; the returned call is awaited later, once (or dropped, which forgets
    // the answer but not the work).
    template <typename Work>
    auto start(std::string key, Work work, Bound bound = defaultBound) -> Call<std::invoke_result_t<Work&>>;

    // Start and await: `auto call = io.run(key, work); auto reply = co_await call;`. Name the call
    // before awaiting it: GCC 12 destroys a capturing lambda twice when the whole call is written
    // inside the co_await expression.
    template <typename Work>
    auto run(std::string key, Work work, Bound bound = defaultBound) -> Call<std::invoke_result_t<Work&>>
    {
        return start(std::move(key), std::move(work), bound);
    }
};

namespace detail {
template <typename T>
using IoValue = std::conditional_t<std::is_void_v<T>, std::monostate, T>;
}

// A started call: co_await gives its IoReply; an exception of an answered call is rethrown there.
template <typename T>
class IoWorkers::Call {
public:
    using Value = detail::IoValue<T>;

    struct State {
        // Written by the worker before it reports; read on the UI thread only after an Answered
        // report, which the workers' hand-over orders after the write.
        std::optional<Value> value;
        std::exception_ptr error;
        // UI thread only.
        std::optional<IoOutcome> outcome;
        std::coroutine_handle<> waiter;
    };

    class Awaiter {
    public:
        explicit Awaiter(std::shared_ptr<State> state) : state_(std::move(state)) {}
        Awaiter(const Awaiter&) = delete;
        Awaiter& operator=(const Awaiter&) = delete;
        // A frame destroyed while it waits here (shut-down) is not resumed by the late answer.
        ~Awaiter()
        {
            if (state_)
                state_->waiter = {};
        }
        bool await_ready() const noexcept { return state_->outcome.has_value(); }
        void await_suspend(std::coroutine_handle<> h) { state_->waiter = h; }
        IoReply<Value> await_resume()
        {
            IoReply<Value> reply;
            reply.outcome = *state_->outcome;
            if (reply.outcome == IoOutcome::Answered) {
                if (state_->error)
                    std::rethrow_exception(state_->error);
                reply.value = std::move(state_->value);
            }
            return reply;
        }

    private:
        std::shared_ptr<State> state_;
    };

    explicit Call(std::shared_ptr<State> state) : state_(std::move(state)) {}

    bool finished() const { return state_ && state_->outcome.has_value(); }
    Awaiter operator co_await() const noexcept { return Awaiter(state_); }

private:
    std::shared_ptr<State> state_;
};

template <typename Work>
auto IoWorkers::start(std::string key, Work work, Bound bound) -> Call<std::invoke_result_t<Work&>>
{
    using T = std::invoke_result_t<Work&>;
    using State = typename Call<T>::State;
    auto state = std::make_shared<State>();
    if (stuck(key)) {
        state->outcome = IoOutcome::Stuck;
        return Call<T>(state);
    }
    Job job;
    job.key = std::move(key);
    job.bound = bound;
    job.work = [state, work = std::move(work)]() mutable {
        try {
            if constexpr (std::is_void_v<T>) {
                work();
                state->value.emplace();
            } else {
                state->value.emplace(work());
            }
        } catch (...) {
            state->error = std::current_exception();
        }
    };
    job.done = [state](IoOutcome outcome) {
        state->outcome = outcome;
        if (state->waiter)
            std::exchange(state->waiter, {}).resume();
    };
    submit(std::move(job));
    return Call<T>(state);
}

} // namespace volmara
