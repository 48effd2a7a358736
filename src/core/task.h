#pragma once

#include <coroutine>
#include <exception>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace volmara {

// A lazy coroutine: it starts when awaited (or spawned into a TaskScope), hands its result or
// exception to the awaiter, and destroying it destroys the suspended frame.
template <typename T = void>
class [[nodiscard]] Task;

namespace detail {

struct PromiseBase {
    std::coroutine_handle<> continuation;
    std::exception_ptr error;

    std::suspend_always initial_suspend() noexcept { return {}; }

    struct FinalAwaiter {
        bool await_ready() noexcept { return false; }
        template <typename P>
        std::coroutine_handle<> await_suspend(std::coroutine_handle<P> self) noexcept
        {
            if (auto next = self.promise().continuation)
                return next;
            return std::noop_coroutine();
        }
        void await_resume() noexcept {}
    };
    FinalAwaiter final_suspend() noexcept { return {}; }
    void unhandled_exception() noexcept { error = std::current_exception(); }
};

} // namespace detail

template <typename T>
class [[nodiscard]] Task {
public:
    struct promise_type : detail::PromiseBase {
        std::optional<T> value;
        Task get_return_object() { return Task(Handle::from_promise(*this)); }
        template <typename U>
        void return_value(U&& v) { value.emplace(std::forward<U>(v)); }
    };
    using Handle = std::coroutine_handle<promise_type>;

    Task(Task&& other) noexcept : handle_(std::exchange(other.handle_, {})) {}
    Task& operator=(Task&& other) noexcept
    {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, {});
        }
        return *this;
    }
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;
    ~Task() { reset(); }

    bool await_ready() const noexcept { return false; }
    std::coroutine_handle<> await_suspend(std::coroutine_handle<> awaiter) noexcept
    {
        handle_.promise().continuation = awaiter;
        return handle_;
    }
    T await_resume()
    {
        auto& p = handle_.promise();
        if (p.error)
            std::rethrow_exception(p.error);
        return std::move(*p.value);
    }

    Handle release() noexcept { return std::exchange(handle_, {}); }

private:
    explicit Task(Handle h) : handle_(h) {}
    void reset() noexcept
    {
        if (handle_)
            handle_.destroy();
        handle_ = {};
    }
    Handle handle_;
};

template <>
class [[nodiscard]] Task<void> {
public:
    struct promise_type : detail::PromiseBase {
        Task get_return_object() { return Task(Handle::from_promise(*this)); }
        void return_void() noexcept {}
    };
    using Handle = std::coroutine_handle<promise_type>;

    Task(Task&& other) noexcept : handle_(std::exchange(other.handle_, {})) {}
    Task& operator=(Task&& other) noexcept
    {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, {});
        }
        return *this;
    }
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;
    ~Task() { reset(); }

    bool await_ready() const noexcept { return false; }
    std::coroutine_handle<> await_suspend(std::coroutine_handle<> awaiter) noexcept
    {
        handle_.promise().continuation = awaiter;
        return handle_;
    }
    void await_resume()
    {
        if (handle_.promise().error)
            std::rethrow_exception(handle_.promise().error);
    }

    Handle release() noexcept { return std::exchange(handle_, {}); }

private:
    explicit Task(Handle h) : handle_(h) {}
    void reset() noexcept
    {
        if (handle_)
            handle_.destroy();
        handle_ = {};
    }
    Handle handle_;
};

// Owns the top-level tasks a model starts. Destroying the scope destroys every task that is still
// suspended without resuming it, which is how shut-down ends work in flight.
class TaskScope {
public:
    using ErrorSink = std::function<void(const std::exception_ptr&)>;

    TaskScope() = default;
    explicit TaskScope(ErrorSink onError) : onError_(std::move(onError)) {}
    TaskScope(const TaskScope&) = delete;
    TaskScope& operator=(const TaskScope&) = delete;
    ~TaskScope()
    {
        for (auto h : tasks_)
            h.destroy();
    }

    // Starts the task at once; it runs until its first suspension before spawn returns.
    // An exception that escapes it is handed to the error sink as soon as it escapes.
    void spawn(Task<void> task)
    {
        reap();
        auto h = watched(std::move(task)).release();
        tasks_.push_back(h);
        h.resume();
        reap();
    }

    // Frees the frames of finished tasks.
    void reap()
    {
        std::erase_if(tasks_, [](Task<void>::Handle h) {
            if (!h.done())
                return false;
            h.destroy();
            return true;
        });
    }

    // Destroys every task now, suspended or finished, without resuming any.
    void clear()
    {
        auto tasks = std::move(tasks_);
        tasks_.clear();
        for (auto h : tasks)
            h.destroy();
    }

    std::size_t running() const
    {
        std::size_t n = 0;
        for (auto h : tasks_)
            n += h.done() ? 0 : 1;
        return n;
    }

private:
    Task<void> watched(Task<void> task)
    {
        std::exception_ptr error;
        try {
            co_await task;
        } catch (...) {
            error = std::current_exception();
        }
        if (error && onError_)
            onError_(error);
    }

    std::vector<Task<void>::Handle> tasks_;
    ErrorSink onError_;
};

} // namespace volmara
