#pragma once

#include "driveinfo/boot_sector.h"
#include "platform/raw_volume.h"
#include "platform/volume_info.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace volmara {

enum class BootReadOutcome {
    Shown,      // fields (if the file system is known) and both dumps are filled
    OpenFailed, // the caller reports it and unloads the dialog
    ReadFailed, // list and dumps are now empty; the volume stays open
};

// Shown with the critical icon; nullopt for BootReadOutcome::Shown.
std::optional<std::string_view> bootReadFailureText(BootReadOutcome outcome);

// Reads the first sector of a volume and turns it into the partition information list and the
// two dumps. Keeps the volume open between reads so that the FAT32 information sector comes
// from the very volume its boot sector came from.
class BootSectorReader {
public:
    BootSectorReader(RawVolumes& volumes, VolumeInfo& volumeInfo);

    BootReadOutcome prcReadBootSector(std::string_view drive);
    std::string prcGetFileSystemName(std::string_view drive) const;

    // Closes the volume, as unloading the dialog does.
    void close();
    bool isOpen() const { return handle_ != nullptr; }

    const FieldList& lvInfo() const { return lvInfo_; }
    const std::string& txtBytes() const { return txtBytes_; }
    const std::string& txtChar() const { return txtChar_; }

private:
    void decode(std::string_view drive, const SectorBuffer& sector);
    void appendFsInfoRows(const SectorBuffer& bootSector);
    void clearShownData();

    RawVolumes& volumes_;
    VolumeInfo& volumeInfo_;
    std::unique_ptr<RawVolume> handle_;
    FieldList lvInfo_;
    std::string txtBytes_;
    std::string txtChar_;
};

} // namespace volmara
