#pragma once

#include "platform/shell.h"

namespace volmara::test {

class FakeShell final : public Shell {
};

} // namespace volmara::test
