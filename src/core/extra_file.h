#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace volmara {

// extra.dat beside set.dat: what set.dat has no key for but a user would lose at a restart.
// The same CR LF key=value style, one list row a line, in this order:
//   mailport=<port>        the mail server port
//   file=<path>            one row of the specified-files list, in list order
//   prog=<path>            one row of the specified-programs list, in list order
// Lines of keys this version does not know are kept and written back after its own, so an older
// program never drops what a newer one stored.
struct ExtraData {
    std::string mailPort;
    std::vector<std::string> files;
    std::vector<std::string> programs;
    std::vector<std::pair<std::string, std::string>> unknown;

    bool operator==(const ExtraData&) const = default;
};

std::string extraText(const ExtraData& data);
ExtraData parseExtraText(std::string_view text);

// The file's name beside a set.dat path.
std::string extraFileName(std::string_view settingsPath);

} // namespace volmara
