#pragma once

#include "platform/system_info.h"

namespace volmara::test {

class FakeSystemInfo final : public SystemInfo {
};

} // namespace volmara::test
