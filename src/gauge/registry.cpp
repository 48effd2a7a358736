#include "registry.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace kelvane {

namespace fs = std::filesystem;

namespace {

constexpr const char* kRecordSuffix = ".control";

std::optional<fs::path> dataHome()
{
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/')
        return fs::path(xdg);
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* pw = getpwuid(getuid());
        home = pw ? pw->pw_dir : nullptr;
    }
    if (!home || !*home) return std::nullopt;
    return fs::path(home) / ".local" / "share";
}

fs::path recordPath(const fs::path& dir, const KvGuid& classId)
{
    return dir / (guidText(classId) + kRecordSuffix);
}

std::optional<std::uint64_t> parseHex(std::string_view text)
{
    std::uint64_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return std::nullopt;
        value = value * 16 + static_cast<std::uint64_t>(digit);
    }
    return value;
}

}  // namespace

std::string guidText(const KvGuid& g)
{
    char text[39];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(g.data1), static_cast<unsigned>(g.data2),
                  static_cast<unsigned>(g.data3), g.data4[0], g.data4[1], g.data4[2], g.data4[3],
                  g.data4[4], g.data4[5], g.data4[6], g.data4[7]);
    return text;
}

std::optional<KvGuid> parseGuid(std::string_view t)
{
    // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
    if (t.size() != 38 || t.front() != '{' || t.back() != '}' || t[9] != '-' || t[14] != '-' ||
        t[19] != '-' || t[24] != '-')
        return std::nullopt;
    KvGuid g{};
    const auto d1 = parseHex(t.substr(1, 8));
    const auto d2 = parseHex(t.substr(10, 4));
    const auto d3 = parseHex(t.substr(15, 4));
    if (!d1 || !d2 || !d3) return std::nullopt;
    g.data1 = static_cast<std::uint32_t>(*d1);
    g.data2 = static_cast<std::uint16_t>(*d2);
    g.data3 = static_cast<std::uint16_t>(*d3);
    constexpr std::size_t offsets[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i) {
        const auto b = parseHex(t.substr(offsets[i], 2));
        if (!b) return std::nullopt;
        g.data4[i] = static_cast<std::uint8_t>(*b);
    }
    return g;
}

bool sameGuid(const KvGuid& a, const KvGuid& b)
{
    return a.data1 == b.data1 && a.data2 == b.data2 && a.data3 == b.data3 &&
           std::memcmp(a.data4, b.data4, sizeof a.data4) == 0;
}

std::optional<fs::path> controlsDirectory()
{
    const auto base = dataHome();
    if (!base) return std::nullopt;
    return *base / "kelvane" / "controls";
}

std::string formatRecord(const ControlRecord& r)
{
    return "ClassId=" + guidText(r.classId) + "\nName=" + r.name + "\nLibrary=" + r.library + "\n";
}

std::optional<ControlRecord> parseRecord(std::string_view text)
{
    ControlRecord record;
    bool haveId = false;
    std::istringstream in{std::string(text)};
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto eq = line.find('=');
        if (line.empty() || line.front() == '#' || eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq);
        std::string value = line.substr(eq + 1);
        if (key == "ClassId") {
            const auto id = parseGuid(value);
            if (!id) return std::nullopt;
            record.classId = *id;
            haveId = true;
        } else if (key == "Name") {
            record.name = std::move(value);
        } else if (key == "Library") {
            record.library = std::move(value);
        }
    }
    if (!haveId || record.name.empty() || record.library.empty()) return std::nullopt;
    return record;
}

void writeRecord(const ControlRecord& record)
{
    const auto dir = controlsDirectory();
    if (!dir) throw std::runtime_error("no home folder for the registry of controls");
    fs::create_directories(*dir);
    const fs::path target = recordPath(*dir, record.classId);
    fs::path temp = target;
    temp += ".tmp" + std::to_string(getpid());
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << formatRecord(record);
        out.flush();
        if (!out) {
            std::error_code ignored;
            fs::remove(temp, ignored);
            throw std::runtime_error("cannot write " + temp.string());
        }
    }
    fs::rename(temp, target);
}

void removeRecord(const KvGuid& classId)
{
    const auto dir = controlsDirectory();
    if (!dir) throw std::runtime_error("no home folder for the registry of controls");
    fs::remove(recordPath(*dir, classId));
}

std::vector<ControlRecord> readRecords()
{
    std::vector<ControlRecord> records;
    const auto dir = controlsDirectory();
    std::error_code ec;
    if (!dir || !fs::is_directory(*dir, ec)) return records;
    for (const auto& entry : fs::directory_iterator(*dir, ec)) {
        if (entry.path().extension() != kRecordSuffix) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        if (auto record = parseRecord(text.str())) records.push_back(std::move(*record));
    }
    return records;
}

std::optional<ControlRecord> findRecordByName(std::string_view name)
{
    for (auto& record : readRecords())
        if (record.name == name) return record;
    return std::nullopt;
}

}  // namespace kelvane
