#pragma once

#include "platform/trash.h"

namespace volmara {

class PosixTrash final : public Trash {
};

} // namespace volmara
