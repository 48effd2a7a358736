#include "shell/registry_keys.h"

#include "core/app_state.h"

#include <array>
#include <utility>

namespace volmara {

namespace {

struct RootName {
    std::string_view name;
    RegRoot root;
};
constexpr std::array<RootName, 7> kRoots{{
    {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {"HKEY_USERS", HKEY_USERS},
    {"HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
    {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
    {"HKEY_DYN_DATA", HKEY_DYN_DATA},
}};

} // namespace

RegRoot RegRootFromName(std::string_view name)
{
    for (const auto& r : kRoots)
        if (r.name == name)
            return r.root;
    return 0;
}

RegKeySplit RegSplitKey(std::string_view path)
{
    RegKeySplit split;
    if (!path.starts_with("HKEY_") || path.ends_with('\\')) {
        split.formatError = true;
        split.subKey = std::string(path);
        split.message = "Incorrect Format:\n\n" + std::string(path);
        return split;
    }
    const auto slash = path.find('\\');
    if (slash != std::string_view::npos) {
        split.root = RegRootFromName(path.substr(0, slash));
        split.subKey = std::string(path.substr(slash + 1));
    } else {
        split.root = RegRootFromName(path);
    }
    return split;
}

Task<RegStatus> RegWriteString(AppState& app, std::string path, std::string valueName, std::string data)
{
    auto split = RegSplitKey(path);
    if (split.formatError) {
        app.inform(split.message, MsgIcon::None);
        co_return RegStatus{false, "the key path is malformed"};
    }
    if (split.root == 0)
        co_return RegStatus{false, "the key path names no registry root"};
    // Built apart from the co_await: GCC 12 mishandles a lambda with owning captures inside one.
    auto call = app.sv.io.run("registry", [&registry = app.sv.registry, root = split.root, subKey = split.subKey,
                                           valueName, data] { return registry.setString(root, subKey, valueName, data); });
    auto reply = co_await call;
    if (!reply.answered())
        co_return RegStatus{false, "the settings store did not answer in time"};
    co_return std::move(*reply.value);
}

} // namespace volmara
