#pragma once

#include "platform/network.h"

namespace volmara::test {

class FakeNetwork final : public Network {
};

} // namespace volmara::test
