#pragma once

#include "platform/shell.h"

namespace volmara {

class PosixShell final : public Shell {
};

} // namespace volmara
