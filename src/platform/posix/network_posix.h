#pragma once

#include "platform/network.h"

namespace volmara {

class PosixNetwork final : public Network {
};

} // namespace volmara
