#pragma once

#include "core/locale.h"
#include "core/task.h"
#include "core/watch_list.h"
#include "driveinfo/boot_sector_reader.h"
#include "driveinfo/drive_attributes.h"
#include "driveinfo/space_charts.h"
#include "platform/dialogs.h"
#include "platform/io.h"
#include "platform/raw_volume.h"
#include "platform/volume_info.h"
#include "platform/volumes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {

class AppState;

// The pages of `Combo1`, in item order.
enum class DriveInfoPage : int {
    FreeSpaceByDrives = 0,
    TotalFreeSpaceDistribution = 1,
    DrivePartitionInfo = 2,
    DriveAttributeInfo = 3,
};

inline constexpr std::array<std::string_view, 4> kCombo1Items{
    "Free Space By Drive(s)",
    "Total Free Space Distribution",
    "Drive Partition Info.",
    "Drive Attribute Info.",
};

// The dialog's fixed texts.
inline constexpr std::string_view kDlgDriveInfoCaption = "Advance Data Display";
inline constexpr std::string_view kPartitionCaption = "Partition:";
inline constexpr std::string_view kPartInfoCaption = "Partition Info, obtained directly from boot record";
inline constexpr std::string_view kFirstBytesCaption = "First 512 Bytes of partition:";
inline constexpr std::string_view kAvailableDrivesCaption = "Available Drives:";
inline constexpr std::string_view kHelpCaption = "Press F1 for help.";
inline constexpr std::string_view kOkCaption = "&OK";
inline constexpr std::array<std::string_view, 2> kLvInfoHeaders{"Field", "Value"};

// What F1 shows until the program's help can be opened at the dialog's topic.
inline constexpr std::string_view kDriveInfoHelpText =
    "Advance Data Display\r\n"
    "\r\n"
    "Choose a page in the list at the top of the window:\r\n"
    "\r\n"
    "Free Space By Drive(s): a bar chart of the free and the total space of every drive and path in "
    "the watch list.\r\n"
    "\r\n"
    "Total Free Space Distribution: a pie chart of how the free space of the watch list is spread over "
    "its drives and paths, with the total in its title.\r\n"
    "\r\n"
    "Drive Partition Info.: choose a drive under \"Partition:\" to see the fields of its boot record and "
    "its first 512 bytes, in hexadecimal and as characters. The drive is only read, never written.\r\n"
    "\r\n"
    "Drive Attribute Info.: choose a drive under \"Available Drives:\" to see its type, its sectors and "
    "clusters, and its free and total space in MB.\r\n"
    "\r\n"
    "Drives and paths that could not be measured count as 0 in the charts. OK hides the window.";

// `lblDesc` for a page.
std::string_view pageDescription(DriveInfoPage page);

// The entry a freshly filled drive list selects: the second, the first when there is only one.
std::optional<std::size_t> initialDriveSelection(std::size_t driveCount);

// What the dialog reads and asks through.
struct DriveInfoServices {
    const WatchList& watchList; // the main window's list; never changed here
    Volumes& volumes;
    RawVolumes& rawVolumes;
    VolumeInfo& volumeInfo;
    Dialogs& dialogs;
    IoWorkers& io; // every read of a drive is awaited there: the window never waits on one
    Locale locale;
};

DriveInfoServices driveInfoServices(AppState& app);

// A drop-down list of drive roots and its selection.
struct DriveChoice {
    std::vector<std::string> drives;
    std::optional<std::size_t> selected;
};

// The model of `dlgDriveInfo`. It always exists; the window is made when the model is shown
// and destroyed when it unloads (a volume that cannot be opened), after which the next show
// loads it anew.
//
// The partition and attribute pages read their drive on the I/O workers and show the answer when
// it comes; an answer for a drive that is no longer selected is dropped, so what a page shows
// always belongs to the drive in its selector. A drive that does not answer in time shows what an
// unreadable one shows.
class DriveInfoModel {
public:
    enum class Change {
        Visibility,      // shown or hidden
        Page,            // `Combo1`, `lblDesc` and the chart of the page
        PartitionDrives, // the list or selection of `drvDrive`
        Partition,       // `lvInfo`, `txtBytes`, `txtChar`
        AttributeDrives, // the list or selection of `cboDrives`
        Attributes,      // `lblInfo`
        Unloaded,        // the window closes; everything above is back to its empty state
    };
    using Listener = std::function<void(Change)>;

    explicit DriveInfoModel(DriveInfoServices services);
    DriveInfoModel(const DriveInfoModel&) = delete;
    DriveInfoModel& operator=(const DriveInfoModel&) = delete;

    // The one window showing the model; it may replace itself from inside a notification.
    void setListener(Listener listener) { listener_ = std::move(listener); }

    // "Adv. Info": loads on first use (and after an unload), then shows.
    void show();
    void cmdOK_Click();
    bool visible() const { return visible_; }
    bool loaded() const { return loaded_; }

    void Combo1_Click(DriveInfoPage page);
    DriveInfoPage Combo1() const { return pages_.page; }
    const std::string& lblDesc() const { return pages_.lblDesc; }

    const std::vector<FreeSpaceBar>& freeSpaceChart() const { return pages_.freeSpace; } // MSChart1(0)
    const DistributionChart& distributionChart() const { return pages_.distribution; } // MSChart1(1)

    // F1: the program's help, once `openHelp` is bound; until then the dialog's own help text.
    void showHelp();
    std::function<void()> openHelp;

    // Partition page. On Linux the drives are mount points, passed to the reader whole. Every
    // selection (the page's own on a refill included) reads the selected drive.
    const DriveChoice& drvDrive() const { return pages_.drvDrive; }
    void drvDrive_Change(std::size_t index);
    const FieldList& lvInfo() const { return pages_.lvInfo; }
    const std::string& txtBytes() const { return pages_.txtBytes; }
    const std::string& txtChar() const { return pages_.txtChar; }

    // Attribute page.
    const DriveChoice& cboDrives() const { return pages_.cboDrives; }
    void cboDrives_Click(std::size_t index);
    const std::array<std::string, 7>& lblInfo() const { return pages_.lblInfo; }

private:
    struct Pages {
        DriveInfoPage page = DriveInfoPage::FreeSpaceByDrives;
        std::string lblDesc;
        std::vector<FreeSpaceBar> freeSpace;
        DistributionChart distribution;
        DriveChoice drvDrive;
        std::optional<std::string> partitionDrive; // the drive `lvInfo` and the dumps belong to
        FieldList lvInfo;
        std::string txtBytes;
        std::string txtChar;
        DriveChoice cboDrives;
        std::array<std::string, 7> lblInfo;
    };

    void Form_Load();
    void Form_Unload();
    void refreshPartitionDrives();
    void readPartitionPage(std::optional<std::size_t> index);
    void showPartition(std::optional<std::string> drive, const BootSectorReader* reader);
    Task<void> readBootSector(std::string drive, std::uint64_t ticket);
    Task<void> unloadAfterOpenFailure();
    void prcFillDriveList();
    void showAttributes(std::size_t index);
    Task<void> readAttributes(std::string root, std::uint64_t ticket);
    void setAttributeLabels(const DriveAttributes& attributes);
    std::string ioKey(const std::string& drive) const;
    void notify(Change change) const;

    DriveInfoServices sv_;
    // Holds the volume the last read left open; lent to the read in flight, and lost to a read
    // that does not answer (it closes when that read ends).
    std::shared_ptr<BootSectorReader> reader_;
    Pages pages_;
    // Each read takes the next ticket; an answer whose ticket is not the latest is dropped.
    std::uint64_t partitionTicket_ = 0;
    std::uint64_t attributeTicket_ = 0;
    bool loaded_ = false;
    bool visible_ = false;
    bool unloadPending_ = false;
    Listener listener_;
    // Last: a question still open when the model goes is dropped before the state it refers to.
    TaskScope tasks_;
};

} // namespace volmara
