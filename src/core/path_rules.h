#pragma once

#include <string>
#include <string_view>

namespace volmara {

class Volumes;

// Every question the program asks about a path text goes through here, so that drive-letter
// rules and mount-point rules are both one object away.
class PathRules {
public:
    virtual ~PathRules() = default;

    // Drive root of a path: "C:\" / the mount point holding it with a trailing '/'.
    virtual std::string driveRoot(std::string_view path) const = 0;
    // Drive root without its trailing separator, as the alert text names the drive ("C:", "/home", "/").
    virtual std::string drivePath(std::string_view root) const = 0;
    // The drive root used as a move destination; the default root when the text has none.
    virtual std::string prcChkDriv(std::string_view text) const = 0;
    virtual bool isNetworkPath(std::string_view path) const = 0;
    virtual std::string withSeparator(std::string_view text) const = 0;
    virtual bool samePath(std::string_view a, std::string_view b) const = 0;
    virtual std::string defaultRoot() const = 0;
};

class WindowsPathRules final : public PathRules {
public:
    std::string driveRoot(std::string_view path) const override;
    std::string drivePath(std::string_view root) const override;
    std::string prcChkDriv(std::string_view text) const override;
    bool isNetworkPath(std::string_view path) const override;
    std::string withSeparator(std::string_view text) const override;
    bool samePath(std::string_view a, std::string_view b) const override;
    std::string defaultRoot() const override { return "c:\\"; }
};

class PosixPathRules final : public PathRules {
public:
    explicit PosixPathRules(Volumes& volumes) : volumes_(volumes) {}

    std::string driveRoot(std::string_view path) const override;
    std::string drivePath(std::string_view root) const override;
    std::string prcChkDriv(std::string_view text) const override;
    bool isNetworkPath(std::string_view path) const override;
    std::string withSeparator(std::string_view text) const override;
    bool samePath(std::string_view a, std::string_view b) const override { return a == b; }
    std::string defaultRoot() const override { return "/"; }

private:
    Volumes& volumes_;
};

// Case-insensitive comparison for texts that are not paths.
bool equalsIgnoreCase(std::string_view a, std::string_view b);
std::string toLower(std::string_view text);
std::string trim(std::string_view text);
bool containsIgnoreCase(std::string_view text, std::string_view part);

} // namespace volmara
