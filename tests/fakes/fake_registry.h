#pragma once

#include "platform/registry.h"

namespace volmara::test {

class FakeRegistry final : public Registry {
};

} // namespace volmara::test
