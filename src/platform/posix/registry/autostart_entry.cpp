#include "platform/posix/registry/autostart_entry.h"

#include <cstdlib>
#include <sstream>
#include <vector>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace volmara {

namespace {

std::string envValue(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Reverses the string escapes of a desktop entry value (\s \n \t \r \\).
std::string unescapeValue(std::string_view value)
{
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[++i]) {
        case 's': out += ' '; break;
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        default: out += value[i]; break;
        }
    }
    return out;
}

// The first argument of an Exec value after the string escapes are gone.
std::string firstArgument(std::string_view exec)
{
    std::string out;
    std::size_t i = 0;
    if (!exec.empty() && exec.front() == '"') {
        for (i = 1; i < exec.size() && exec[i] != '"'; ++i) {
            if (exec[i] == '\\' && i + 1 < exec.size())
                ++i;
            out += exec[i];
        }
    } else {
        for (; i < exec.size() && exec[i] != ' '; ++i)
            out += exec[i];
    }
    std::string unpercent;
    for (std::size_t k = 0; k < out.size(); ++k) {
        unpercent += out[k];
        if (out[k] == '%' && k + 1 < out.size() && out[k + 1] == '%')
            ++k;
    }
    return unpercent;
}

} // namespace

std::string autostartFolder()
{
    const auto config = envValue("XDG_CONFIG_HOME");
    if (!config.empty() && config.front() == '/')
        return config + "/autostart";
    auto home = envValue("HOME");
    if (home.empty()) {
        if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir)
            home = user->pw_dir;
    }
    if (home.empty())
        return {};
    return home + "/.config/autostart";
}

std::string execArgument(std::string_view program)
{
    // Inside quotes, " ` $ and \ take a backslash; % is doubled (no field code); then the
    // value's own escapes apply, which double every backslash and spell out line breaks.
    std::string quoted = "\"";
    for (const char c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
        if (c == '%')
            quoted += '%';
    }
    quoted += '"';
    std::string value;
    for (const char c : quoted) {
        switch (c) {
        case '\\': value += "\\\\"; break;
        case '\n': value += "\\n"; break;
        case '\t': value += "\\t"; break;
        case '\r': value += "\\r"; break;
        default: value += c; break;
        }
    }
    return value;
}

std::string autostartEntryText(std::string_view name, std::string_view program)
{
    std::string text = "[Desktop Entry]\nType=Application\nName=" + std::string(name) + "\n";
    if (program.empty())
        return text + "Hidden=true\n";
    return text + "Exec=" + execArgument(program) + "\nTerminal=false\n";
}

std::optional<std::string> autostartProgram(std::string_view entryText)
{
    std::istringstream in{std::string(entryText)};
    bool inEntry = false;
    bool sawEntry = false;
    bool hidden = false;
    std::string exec;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with('[')) {
            inEntry = line == "[Desktop Entry]";
            sawEntry = sawEntry || inEntry;
            continue;
        }
        if (!inEntry)
            continue;
        if (line.starts_with("Hidden="))
            hidden = line.substr(7) == "true";
        else if (line.starts_with("Exec="))
            exec = unescapeValue(std::string_view(line).substr(5));
    }
    if (!sawEntry)
        return std::nullopt;
    if (hidden)
        return std::string();
    return firstArgument(exec);
}

std::optional<std::string> findOnPath(const std::vector<std::string>& names, std::string_view searchPath)
{
    std::vector<std::string> folders;
    std::istringstream in{std::string(searchPath)};
    for (std::string folder; std::getline(in, folder, ':');) {
        // A relative entry would make the answer depend on the current folder.
        if (!folder.empty() && folder.front() == '/')
            folders.push_back(folder);
    }
    for (const auto& name : names) {
        for (const auto& folder : folders) {
            const auto path = folder + "/" + name;
            struct stat st {};
            if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0)
                return path;
        }
    }
    return std::nullopt;
}

} // namespace volmara
