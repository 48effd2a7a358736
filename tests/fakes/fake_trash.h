#pragma once

#include "platform/trash.h"

namespace volmara::test {

class FakeTrash final : public Trash {
};

} // namespace volmara::test
