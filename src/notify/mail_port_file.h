#pragma once

namespace volmara {

class AppState;

// The mail server port has no set.dat key: it lives in extra.dat beside it, so it survives a
// restart. Loading keeps "25" when the file has none; saving rewrites only its own line and
// keeps every other line of the file.
void loadMailPort(AppState& app);
void saveMailPort(AppState& app);

} // namespace volmara
