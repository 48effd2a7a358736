#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>

namespace volmara {

// How long a WAV file plays, from its header: `head` is the start of the file (the format and
// the start of the data chunk must lie in it), `fileSize` the whole file's size, so that a
// data chunk that claims more than the file holds counts only what is there. nullopt when the
// file is not a PCM-style WAV whose length can be told.
std::optional<std::chrono::milliseconds> waveDuration(std::string_view head, std::uint64_t fileSize);

} // namespace volmara
