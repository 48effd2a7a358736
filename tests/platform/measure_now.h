#pragma once

#include "platform/volumes.h"

#include <string>
#include <string_view>

namespace volmara::test {

// The drive of a path measured on the test's own thread, as an I/O worker would measure it.
inline DriveSpace measureNow(Volumes& volumes, std::string_view path)
{
    return volumes.measure(volumes.locate(path), std::string(path));
}

} // namespace volmara::test
