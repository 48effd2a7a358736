// The per-user registry of controls: one record per control class, a small
// "Key=Value" file named after the class id, under the XDG data folder.
// The library writes its record; hosts read it to find a class by name.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kelvane/kelvane.h"

namespace kelvane {

struct ControlRecord {
    KvGuid classId{};
    std::string name;
    std::string library;  // absolute path of the shared library
};

// "{3F419ABE-33B1-48C1-B301-E5134ADF8782}"
std::string guidText(const KvGuid& guid);
std::optional<KvGuid> parseGuid(std::string_view text);
bool sameGuid(const KvGuid& a, const KvGuid& b);

// $XDG_DATA_HOME/kelvane/controls, $XDG_DATA_HOME falling back to
// ~/.local/share when unset, empty or relative; nothing without a home.
std::optional<std::filesystem::path> controlsDirectory();

std::string formatRecord(const ControlRecord& record);
std::optional<ControlRecord> parseRecord(std::string_view text);

// Replaces the class's record atomically. Throws std::runtime_error (or
// std::filesystem::filesystem_error) when it cannot.
void writeRecord(const ControlRecord& record);
// Removes the class's record; a missing record is no error. Throws as writeRecord.
void removeRecord(const KvGuid& classId);

std::vector<ControlRecord> readRecords();
std::optional<ControlRecord> findRecordByName(std::string_view name);

}  // namespace kelvane
