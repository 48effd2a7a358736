#pragma once

#include "platform/http.h"

namespace volmara {

class PosixHttp final : public Http {
};

} // namespace volmara
