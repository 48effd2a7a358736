#pragma once

#include "platform/sound.h"

namespace volmara {

class QtSound final : public Sound {
};

} // namespace volmara
