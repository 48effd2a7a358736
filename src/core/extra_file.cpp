#include "core/extra_file.h"

namespace volmara {

namespace {

void line(std::string& out, std::string_view key, std::string_view value)
{
    out.append(key).append("=").append(value).append("\r\n");
}

} // namespace

std::string extraText(const ExtraData& data)
{
    std::string out;
    if (!data.mailPort.empty())
        line(out, "mailport", data.mailPort);
    for (const auto& path : data.files)
        line(out, "file", path);
    for (const auto& path : data.programs)
        line(out, "prog", path);
    for (const auto& [key, value] : data.unknown)
        line(out, key, value);
    return out;
}

ExtraData parseExtraText(std::string_view text)
{
    ExtraData data;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view row = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (row.ends_with('\r'))
            row.remove_suffix(1);
        const auto eq = row.find('=');
        if (row.empty() || eq == std::string_view::npos)
            continue;
        const std::string key(row.substr(0, eq));
        std::string value(row.substr(eq + 1));
        if (key == "mailport")
            data.mailPort = std::move(value);
        else if (key == "file")
            data.files.push_back(std::move(value));
        else if (key == "prog")
            data.programs.push_back(std::move(value));
        else
            data.unknown.emplace_back(key, std::move(value));
    }
    return data;
}

std::string extraFileName(std::string_view settingsPath)
{
    const auto slash = settingsPath.find_last_of("/\\");
    const auto folder = slash == std::string_view::npos ? std::string_view() : settingsPath.substr(0, slash + 1);
    return std::string(folder) + "extra.dat";
}

} // namespace volmara
