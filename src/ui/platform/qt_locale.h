#pragma once

#include "core/locale.h"

class QLocale;

namespace volmara {

// The separators and designators of a Qt locale in the single-byte form the program's texts use.
Locale localeFromQt(const QLocale& locale);

} // namespace volmara
