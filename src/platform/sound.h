#pragma once

namespace volmara {

// Playing a WAV file to its end.
class Sound {
public:
    virtual ~Sound() = default;
};

} // namespace volmara
