#pragma once

#include "platform/event_loop.h"

class QDateTime;

namespace volmara {

// The local wall clock.
class QtClock final : public Clock {
public:
    DateTime now() const override;
};

DateTime fromQDateTime(const QDateTime& value);

} // namespace volmara
