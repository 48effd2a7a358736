#include "ui/binding.h"

#include <QtGlobal>

#include <stdexcept>

namespace volmara {

void reportEscapedError(const char* where, const std::exception_ptr& error) noexcept
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        qWarning("%s: %s", where, e.what());
    } catch (...) {
        qWarning("%s: unknown error", where);
    }
}

} // namespace volmara
