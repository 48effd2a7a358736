#include "server_lifetime.h"

#include <atomic>

namespace kelvane::server {

namespace {
std::atomic<long> objects{0};
std::atomic<long> locks{0};
}  // namespace

void objectCreated() noexcept { ++objects; }
void objectDestroyed() noexcept { --objects; }

void lock() noexcept { ++locks; }

bool unlock() noexcept
{
    long held = locks.load();
    while (held > 0)
        if (locks.compare_exchange_weak(held, held - 1)) return true;
    return false;
}

bool canUnload() noexcept { return objects.load() == 0 && locks.load() == 0; }

}  // namespace kelvane::server
