#include "core/path_rules.h"

#include "platform/volumes.h"

#include <algorithm>
#include <cctype>

namespace volmara {

namespace {

char lowerChar(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

} // namespace

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowerChar(x) == lowerChar(y); });
}

std::string toLower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), lowerChar);
    return out;
}

std::string trim(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

bool containsIgnoreCase(std::string_view text, std::string_view part)
{
    return toLower(text).find(toLower(part)) != std::string::npos;
}

// --- Windows ---------------------------------------------------------------------------------

std::string WindowsPathRules::driveRoot(std::string_view path) const
{
    return std::string(path.substr(0, 3));
}

std::string WindowsPathRules::drivePath(std::string_view root) const
{
    if (!root.empty() && root.back() == '\\')
        root.remove_suffix(1);
    return std::string(root);
}

std::string WindowsPathRules::prcChkDriv(std::string_view text) const
{
    const auto colon = text.find(':');
    if (colon == std::string_view::npos)
        return defaultRoot();
    auto root = text.substr(0, std::min(colon + 2, text.size()));
    if (root.size() < 3)
        return defaultRoot();
    return std::string(root);
}

bool WindowsPathRules::isNetworkPath(std::string_view path) const { return path.starts_with("\\\\"); }

std::string WindowsPathRules::withSeparator(std::string_view text) const
{
    if (text.ends_with('\\') || text.ends_with('/'))
        return std::string(text);
    return std::string(text) + '\\';
}

bool WindowsPathRules::samePath(std::string_view a, std::string_view b) const { return equalsIgnoreCase(a, b); }

// --- POSIX -----------------------------------------------------------------------------------

std::string PosixPathRules::driveRoot(std::string_view path) const
{
    if (!path.starts_with('/'))
        return {};
    return volumes_.mountPointOf(path);
}

std::string PosixPathRules::drivePath(std::string_view root) const
{
    if (root.size() > 1 && root.back() == '/')
        root.remove_suffix(1);
    return std::string(root);
}

std::string PosixPathRules::prcChkDriv(std::string_view text) const
{
    const auto start = text.find('/');
    if (start == std::string_view::npos)
        return defaultRoot();
    auto root = volumes_.mountPointOf(text.substr(start));
    return root.empty() ? defaultRoot() : root;
}

bool PosixPathRules::isNetworkPath(std::string_view path) const
{
    return path.starts_with('/') && volumes_.isRemote(path);
}

std::string PosixPathRules::withSeparator(std::string_view text) const
{
    if (text.ends_with('/'))
        return std::string(text);
    return std::string(text) + '/';
}

} // namespace volmara
