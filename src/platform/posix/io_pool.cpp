#include "platform/posix/io_pool.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

namespace volmara {

struct PosixIoPool::Shared {
    using Clock = std::chrono::steady_clock;
    struct Queued {
        std::uint64_t id;
        std::string key;
        std::function<void()> work;
    };
    struct Running {
        std::string key;
        Clock::time_point since;
        bool abandoned = false;
    };

    explicit Shared(Limits l) : limits(l) {}

    std::mutex mutex;
    std::condition_variable wake;   // workers wait for a call they may take
    std::condition_variable exited; // the destructor waits (briefly) for idle threads to leave
    std::deque<Queued> queue;
    std::unordered_map<std::uint64_t, Running> running;
    std::vector<std::uint64_t> finished; // returned, not yet handed to the UI thread
    bool drainPosted = false;
    EventLoop* loop = nullptr; // null once the pool is gone
    PosixIoPool* owner = nullptr;
    const Limits limits;
    int threads = 0;
    int idle = 0;
    int abandonedRunning = 0;
    bool stopping = false;

    int serving() const { return threads - abandonedRunning; }

    // The first queued call whose key is not held up by a slow call of the same key.
    std::deque<Queued>::iterator pick()
    {
        const auto now = Clock::now();
        return std::find_if(queue.begin(), queue.end(), [&](const Queued& q) {
            return std::none_of(running.begin(), running.end(), [&](const auto& r) {
                return r.second.key == q.key && now - r.second.since >= limits.slowAfter;
            });
        });
    }

    // Called with the mutex held.
    void growIfNeeded(const std::shared_ptr<Shared>& self)
    {
        if (queue.empty() || idle > 0 || serving() >= limits.maxWorkers || threads >= limits.maxThreads)
            return;
        try {
            std::thread(&Shared::serve, self).detach();
            ++threads;
        } catch (const std::system_error&) {
            // No thread to be had: the standing ones serve the queue.
        }
    }

    static void drain(const std::weak_ptr<Shared>& weak)
    {
        const auto self = weak.lock();
        if (!self)
            return;
        std::vector<std::uint64_t> ids;
        PosixIoPool* pool = nullptr;
        {
            std::lock_guard lock(self->mutex);
            self->drainPosted = false;
            ids.swap(self->finished);
            pool = self->owner;
        }
        if (pool)
            pool->finish(ids);
    }

    static void serve(std::shared_ptr<Shared> self)
    {
        Shared& s = *self;
        std::unique_lock lock(s.mutex);
        for (;;) {
            auto job = s.queue.end();
            ++s.idle;
            s.wake.wait(lock, [&] { return s.stopping || (job = s.pick()) != s.queue.end(); });
            --s.idle;
            if (s.stopping)
                break;
            Queued call = std::move(*job);
            s.queue.erase(job);
            s.running.emplace(call.id, Running{call.key, Clock::now()});
            lock.unlock();
            call.work();
            call.work = nullptr; // what the call captured goes before it is reported
            lock.lock();
            auto ran = s.running.extract(call.id);
            if (ran.mapped().abandoned)
                --s.abandonedRunning;
            if (s.loop) {
                s.finished.push_back(call.id);
                if (!s.drainPosted) {
                    s.drainPosted = true;
                    s.loop->post([weak = std::weak_ptr<Shared>(self)] { drain(weak); });
                }
            }
            // Calls of the same key may have waited behind this one.
            s.wake.notify_all();
            if (s.queue.empty() && s.threads > s.limits.workers)
                break;
        }
        --s.threads;
        s.exited.notify_all();
    }
};

PosixIoPool::PosixIoPool(EventLoop& loop) : PosixIoPool(loop, Limits{}) {}

PosixIoPool::PosixIoPool(EventLoop& loop, Limits limits)
    : loop_(loop), shared_(std::make_shared<Shared>(limits)), deadlineTimer_(loop.createTimer([this] { onDeadline(); }))
{
    std::lock_guard lock(shared_->mutex);
    shared_->loop = &loop_;
    shared_->owner = this;
    for (int i = 0; i < std::max(1, limits.workers); ++i) {
        std::thread(&Shared::serve, shared_).detach();
        ++shared_->threads;
    }
}

PosixIoPool::~PosixIoPool()
{
    std::unique_lock lock(shared_->mutex);
    shared_->stopping = true;
    shared_->loop = nullptr;
    shared_->owner = nullptr;
    auto dropped = std::move(shared_->queue);
    shared_->wake.notify_all();
    // Idle threads leave at once; a thread inside a call that does not return is left to it.
    shared_->exited.wait_for(lock, std::chrono::milliseconds(200),
                             [&] { return shared_->threads == shared_->abandonedRunning; });
    lock.unlock();
    dropped.clear(); // what the dropped calls captured goes on this thread, outside the lock
}

void PosixIoPool::submit(Job job)
{
    const std::uint64_t id = nextId_++;
    Pending pending{job.key, std::move(job.done), std::nullopt, false};
    {
        std::lock_guard lock(shared_->mutex);
        shared_->queue.push_back(Shared::Queued{id, job.key, std::move(job.work)});
        shared_->growIfNeeded(shared_);
    }
    shared_->wake.notify_one();
    if (job.bound)
        pending.deadline = deadlines_.emplace(Clock::now() + *job.bound, id);
    pending_.emplace(id, std::move(pending));
    if (job.bound)
        armDeadline();
}

bool PosixIoPool::stuck(std::string_view key) const
{
    return abandonedKeys_.find(std::string(key)) != abandonedKeys_.end();
}

int PosixIoPool::abandonedCalls() const
{
    std::lock_guard lock(shared_->mutex);
    return shared_->abandonedRunning;
}

int PosixIoPool::threadCount() const
{
    std::lock_guard lock(shared_->mutex);
    return shared_->threads;
}

void PosixIoPool::forgetDeadline(Pending& pending)
{
    if (pending.deadline) {
        deadlines_.erase(*pending.deadline);
        pending.deadline.reset();
    }
}

void PosixIoPool::finish(const std::vector<std::uint64_t>& ids)
{
    for (const std::uint64_t id : ids) {
        auto it = pending_.find(id);
        if (it == pending_.end())
            continue;
        if (it->second.abandoned) {
            // The stuck call came back: its key is served again.
            auto key = abandonedKeys_.find(it->second.key);
            if (key != abandonedKeys_.end() && --key->second <= 0)
                abandonedKeys_.erase(key);
            pending_.erase(it);
            continue;
        }
        forgetDeadline(it->second);
        auto done = std::move(it->second.done);
        pending_.erase(it);
        done(IoOutcome::Answered);
    }
    armDeadline();
}

void PosixIoPool::answerQueuedOfKey(const std::string& key, IoOutcome outcome)
{
    std::vector<std::uint64_t> ids;
    std::vector<std::function<void()>> works;
    {
        std::lock_guard lock(shared_->mutex);
        auto& queue = shared_->queue;
        for (auto it = queue.begin(); it != queue.end();) {
            if (it->key == key) {
                ids.push_back(it->id);
                works.push_back(std::move(it->work));
                it = queue.erase(it);
            } else {
                ++it;
            }
        }
    }
    works.clear();
    for (const std::uint64_t id : ids) {
        auto it = pending_.find(id);
        if (it == pending_.end())
            continue;
        forgetDeadline(it->second);
        auto done = std::move(it->second.done);
        pending_.erase(it);
        done(outcome);
    }
}

void PosixIoPool::onDeadline()
{
    deadlineTimer_->stop();
    armedFor_.reset();
    const auto now = Clock::now();
    while (!deadlines_.empty() && deadlines_.begin()->first <= now) {
        const std::uint64_t id = deadlines_.begin()->second;
        auto it = pending_.find(id);
        if (it == pending_.end()) {
            deadlines_.erase(deadlines_.begin());
            continue;
        }
        forgetDeadline(it->second);

        enum class Where { Queued, Running, Returned } where = Where::Returned;
        std::function<void()> dropped;
        {
            std::lock_guard lock(shared_->mutex);
            auto& queue = shared_->queue;
            auto queued = std::find_if(queue.begin(), queue.end(), [&](const auto& q) { return q.id == id; });
            if (queued != queue.end()) {
                dropped = std::move(queued->work);
                queue.erase(queued);
                where = Where::Queued;
            } else if (auto running = shared_->running.find(id); running != shared_->running.end()) {
                running->second.abandoned = true;
                ++shared_->abandonedRunning;
                shared_->growIfNeeded(shared_);
                where = Where::Running;
            }
        }
        dropped = nullptr;
        if (where == Where::Returned)
            continue; // its answer is on the way
        auto done = std::move(it->second.done);
        const std::string key = it->second.key;
        if (where == Where::Running) {
            it->second.abandoned = true;
            ++abandonedKeys_[key];
        } else {
            pending_.erase(it);
        }
        done(IoOutcome::TimedOut);
        if (where == Where::Running)
            answerQueuedOfKey(key, IoOutcome::Stuck);
    }
    armDeadline();
}

void PosixIoPool::armDeadline()
{
    if (deadlines_.empty()) {
        if (armedFor_) {
            deadlineTimer_->stop();
            armedFor_.reset();
        }
        return;
    }
    const auto earliest = deadlines_.begin()->first;
    if (armedFor_ && *armedFor_ <= earliest)
        return;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(earliest - Clock::now());
    deadlineTimer_->start(static_cast<int>(std::max<std::int64_t>(1, wait.count())));
    armedFor_ = earliest;
}

} // namespace volmara
