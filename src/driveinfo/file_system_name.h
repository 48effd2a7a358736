#pragma once

#include "driveinfo/boot_sector.h"

#include <string>
#include <string_view>

namespace volmara {

// The reported name cut at its first NUL and upper-cased.
std::string normaliseFileSystemName(std::string_view reported);

// The layout a normalised file-system name selects; BootLayout::None for any other name.
BootLayout layoutForFileSystem(std::string_view normalisedName);

} // namespace volmara
