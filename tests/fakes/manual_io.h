#pragma once

#include "fakes/manual_event_loop.h"
#include "platform/io.h"

#include <deque>
#include <set>
#include <string>

namespace volmara::test {

// The I/O workers of the core's tests, on the test's own thread. By default a call runs at once
// and its answer arrives through the loop, as a worker's would. With `hold` set, calls wait until
// the test releases them, so a click can land while a measurement is in flight. A hung key
// behaves like a dead file system: its calls are answered TimedOut, and the key stays stuck until
// the test lets the abandoned calls return.
class ManualIo final : public IoWorkers {
public:
    explicit ManualIo(ManualEventLoop& loop) : loop_(loop) {}

    void submit(Job job) override
    {
        ++submitted;
        keys.push_back(job.key);
        if (hung_.count(job.key)) {
            stuck_.insert(job.key);
            abandoned_.push_back(std::move(job));
            loop_.post([done = abandoned_.back().done] { done(IoOutcome::TimedOut); });
            return;
        }
        if (hold) {
            held_.push_back(std::move(job));
            return;
        }
        answer(std::move(job));
    }

    bool stuck(std::string_view key) const override { return stuck_.count(std::string(key)) > 0; }

    // Runs the first `count` held calls (all by default); their answers arrive through the loop.
    void release(std::size_t count = SIZE_MAX)
    {
        while (count-- > 0 && !held_.empty()) {
            auto job = std::move(held_.front());
            held_.pop_front();
            answer(std::move(job));
        }
    }
    std::size_t heldCalls() const { return held_.size(); }

    void hang(const std::string& key) { hung_.insert(key); }
    // The dead file system answers at last: its abandoned calls return and the key is served again.
    void recover(const std::string& key)
    {
        hung_.erase(key);
        stuck_.erase(key);
        std::erase_if(abandoned_, [&](Job& job) {
            if (job.key != key)
                return false;
            job.work();
            return true;
        });
    }

    bool hold = false;
    int submitted = 0;
    std::vector<std::string> keys; // the key of every call, in order

private:
    void answer(Job job)
    {
        job.work();
        loop_.post([done = std::move(job.done)] { done(IoOutcome::Answered); });
    }

    ManualEventLoop& loop_;
    std::deque<Job> held_;
    std::vector<Job> abandoned_;
    std::set<std::string> hung_;
    std::set<std::string> stuck_;
};

} // namespace volmara::test
