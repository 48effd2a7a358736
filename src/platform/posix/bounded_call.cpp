#include "platform/posix/bounded_call.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace volmara {

struct BoundedCaller::State {
    std::mutex mutex;
    std::condition_variable wake;     // the helper waits for work or the stop
    std::condition_variable answered; // callers wait for the end of their call
    std::function<void()> work;       // handed over, not yet started
    std::string key;                  // key of the call handed over or running
    bool inCall = false;              // from hand-over to return
    std::uint64_t started = 0;        // calls handed over so far
    std::uint64_t finished = 0;       // calls returned so far
    bool stopping = false;
};

BoundedCaller::BoundedCaller(std::chrono::milliseconds bound)
    : bound_(bound), state_(std::make_shared<State>()), helper_(&BoundedCaller::serve, state_)
{
}

BoundedCaller::~BoundedCaller()
{
    std::unique_lock lock(state_->mutex);
    state_->stopping = true;
    // Work handed over but not yet started is dropped; a call already running may never return.
    const bool helperInsideCall = state_->inCall && !state_->work;
    state_->wake.notify_one();
    lock.unlock();
    if (helperInsideCall)
        helper_.detach(); // it holds its own share of the state and ends when the call returns
    else
        helper_.join();
}

BoundedCaller::Outcome BoundedCaller::runErased(std::string_view key, std::function<void()> work)
{
    std::unique_lock lock(state_->mutex);
    if (state_->inCall)
        return state_->key == key ? Outcome::StillStuck : Outcome::HelperBusy;
    state_->work = std::move(work);
    state_->key = std::string(key);
    state_->inCall = true;
    const std::uint64_t ticket = ++state_->started;
    state_->wake.notify_one();
    const bool answered = state_->answered.wait_for(lock, bound_, [&] { return state_->finished >= ticket; });
    return answered ? Outcome::Answered : Outcome::TimedOut;
}

void BoundedCaller::serve(std::shared_ptr<State> state)
{
    std::unique_lock lock(state->mutex);
    for (;;) {
        state->wake.wait(lock, [&] { return state->stopping || state->work; });
        if (state->stopping)
            return;
        std::function<void()> work = std::move(state->work);
        state->work = nullptr;
        lock.unlock();
        work();
        work = nullptr; // release what the call captured before reporting it done
        lock.lock();
        ++state->finished;
        state->inCall = false;
        state->answered.notify_all();
    }
}

} // namespace volmara
