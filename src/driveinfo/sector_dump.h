#pragma once

#include "driveinfo/sector.h"

#include <string>

namespace volmara {

// 64 lines of eight two-digit upper-case hexadecimal values separated by blanks; lines joined
// by CR LF, nothing after the last value.
std::string hexDump(const SectorBuffer& sector);

// 64 lines of eight characters, a blank for each byte below 32; every line ends with CR LF.
std::string charDump(const SectorBuffer& sector);

} // namespace volmara
