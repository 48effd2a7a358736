#pragma once

#include "platform/http.h"

namespace volmara::test {

class FakeHttp final : public Http {
};

} // namespace volmara::test
