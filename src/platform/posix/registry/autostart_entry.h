#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {

// The autostart folder: $XDG_CONFIG_HOME/autostart when that is an absolute path, else
// $HOME/.config/autostart (the password database's home when HOME is unset). Empty when none.
std::string autostartFolder();

// The text of an autostart entry named `name` that starts `program`, or a hidden one when
// `program` is empty.
std::string autostartEntryText(std::string_view name, std::string_view program);
// The program an entry starts; empty for a hidden entry; nullopt when the text holds no entry.
std::optional<std::string> autostartProgram(std::string_view entryText);

// `program` as one quoted argument of an Exec key, value escapes included.
std::string execArgument(std::string_view program);

// The first of `names` that is an executable file in one of the absolute folders of `searchPath`.
std::optional<std::string> findOnPath(const std::vector<std::string>& names, std::string_view searchPath);

} // namespace volmara
