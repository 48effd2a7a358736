#pragma once

#include "platform/registry.h"

namespace volmara {

class PosixRegistry final : public Registry {
};

} // namespace volmara
