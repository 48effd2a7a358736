#pragma once

#include "platform/sound.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace volmara::test {

// Records every sound played. A sound ends at once, or, with `hold` set, when the test calls
// finishOne(), as a long sound would after a while.
class FakeSound final : public Sound {
public:
    void startPlaying(const std::string& path, std::function<void()> done) override
    {
        played.push_back(path);
        if (hold)
            playing.push_back(std::move(done));
        else
            done();
    }

    // The oldest sound still playing comes to its end.
    void finishOne()
    {
        auto done = std::move(playing.front());
        playing.pop_front();
        done();
    }

    bool hold = false;
    std::vector<std::string> played;
    std::deque<std::function<void()>> playing;
};

} // namespace volmara::test
