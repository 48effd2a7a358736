#include "driveinfo/file_system_name.h"

namespace volmara {

std::string normaliseFileSystemName(std::string_view reported)
{
    const std::string_view name = reported.substr(0, reported.find('\0'));
    std::string upper(name);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

BootLayout layoutForFileSystem(std::string_view normalisedName)
{
    if (normalisedName == "FAT12" || normalisedName == "FAT16")
        return BootLayout::Fat12Or16;
    if (normalisedName == "FAT32")
        return BootLayout::Fat32;
    if (normalisedName == "NTFS")
        return BootLayout::Ntfs;
    return BootLayout::None;
}

} // namespace volmara
