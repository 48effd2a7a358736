#pragma once

#include "platform/system_info.h"

namespace volmara {

class PosixSystemInfo final : public SystemInfo {
};

} // namespace volmara
