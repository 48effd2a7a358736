// What keeps the library loaded: live controls and their windows, and the
// hosts' factory locks.
#pragma once

namespace kelvane::server {

void objectCreated() noexcept;
void objectDestroyed() noexcept;

void lock() noexcept;
// False when no lock is held.
bool unlock() noexcept;

bool canUnload() noexcept;

}  // namespace kelvane::server
