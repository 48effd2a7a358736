#pragma once

#include "platform/sound.h"

namespace volmara::test {

class FakeSound final : public Sound {
};

} // namespace volmara::test
