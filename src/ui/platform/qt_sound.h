#pragma once

#include "platform/sound.h"

#include <QObject>

#include <functional>
#include <memory>

namespace volmara {

// Plays WAV files through Qt Multimedia. A device that never reports the end of a sound (no
// audio device behind it) cannot hold the caller: the wait ends when the clip's own length has
// passed.
class QtSound final : public Sound {
public:
    // Whether an audio output exists; the system's list by default.
    using OutputCheck = std::function<bool()>;
    explicit QtSound(OutputCheck hasOutput = {});
    ~QtSound() override;
    QtSound(const QtSound&) = delete;
    QtSound& operator=(const QtSound&) = delete;

    void startPlaying(const std::string& path, std::function<void()> played) override;

private:
    void finishLater(std::function<void()> played);

    OutputCheck hasOutput_;
    // Parent of the sounds playing; whatever is still playing at shut-down goes with it.
    std::unique_ptr<QObject> context_;
};

} // namespace volmara
