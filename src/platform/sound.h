#pragma once

#include <coroutine>
#include <functional>
#include <memory>
#include <string>

namespace volmara {

// Playing a WAV file to its end.
class Sound {
public:
    virtual ~Sound() = default;

    // Starts playing the WAV file at `path` (no default sound on failure) and calls `played`
    // once, when the sound has played, could not be played, or at once when there is no audio
    // device. The wait is bounded by the clip's own length: a device that never reports the end
    // cannot hold the caller. `played` may run before this returns.
    virtual void startPlaying(const std::string& path, std::function<void()> played) = 0;

    struct PlayAwaiter {
        // Shared with the callback, which may come before the frame suspends or after it is gone.
        struct State {
            bool alive = true;
            bool suspended = false;
            bool done = false;
            std::coroutine_handle<> handle;
        };
        Sound& sound;
        std::string path;
        std::shared_ptr<State> state = std::make_shared<State>();

        PlayAwaiter(Sound& s, std::string p) : sound(s), path(std::move(p)) {}
        PlayAwaiter(PlayAwaiter&&) = default;
        ~PlayAwaiter()
        {
            if (state)
                state->alive = false;
        }

        bool await_ready() const noexcept { return false; }
        bool await_suspend(std::coroutine_handle<> h)
        {
            state->handle = h;
            sound.startPlaying(path, [shared = state] {
                if (!shared->alive || shared->done)
                    return;
                shared->done = true;
                if (shared->suspended)
                    shared->handle.resume();
            });
            if (state->done)
                return false;
            state->suspended = true;
            return true;
        }
        void await_resume() const noexcept {}
    };

    // co_await sound.play(path): goes on when the sound has played.
    PlayAwaiter play(std::string path) { return PlayAwaiter(*this, std::move(path)); }
};

} // namespace volmara
