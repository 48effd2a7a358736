#include "driveinfo/drive_info_model.h"

#include "core/app_state.h"
#include "core/error.h"

#include <algorithm>

namespace volmara {

std::string_view pageDescription(DriveInfoPage page)
{
    switch (page) {
    case DriveInfoPage::FreeSpaceByDrives:
        return "Illustrates each system aware drive/paths' free and total memory size.";
    case DriveInfoPage::TotalFreeSpaceDistribution:
        return "Illustrates the total free drive/paths' memory distribution.";
    case DriveInfoPage::DrivePartitionInfo:
    case DriveInfoPage::DriveAttributeInfo:
        break;
    }
    return "The control provides a system aware drive/paths attributes.";
}

std::optional<std::size_t> initialDriveSelection(std::size_t driveCount)
{
    if (driveCount == 0)
        return std::nullopt;
    return driveCount == 1 ? 0 : 1;
}

DriveInfoServices driveInfoServices(AppState& app)
{
    const Services& sv = app.sv;
    return {app.ListView1, sv.volumes, sv.rawVolumes, sv.volumeInfo, sv.dialogs, sv.io, sv.locale};
}

DriveInfoModel::DriveInfoModel(DriveInfoServices services) : sv_(services) {}

void DriveInfoModel::show()
{
    if (!loaded_)
        Form_Load();
    visible_ = true;
    notify(Change::Visibility);
}

void DriveInfoModel::cmdOK_Click()
{
    visible_ = false;
    notify(Change::Visibility);
}

void DriveInfoModel::showHelp()
{
    if (openHelp) {
        openHelp();
        return;
    }
    sv_.dialogs.showMessage({std::string(kDriveInfoHelpText), MsgIcon::Information, MsgButtons::Ok}, [](MsgAnswer) {});
}

void DriveInfoModel::Form_Load()
{
    loaded_ = true;
    Combo1_Click(DriveInfoPage::FreeSpaceByDrives);
}

void DriveInfoModel::Form_Unload()
{
    reader_.reset();
    ++partitionTicket_;
    ++attributeTicket_;
    pages_ = Pages{};
    loaded_ = false;
    visible_ = false;
    unloadPending_ = false;
    notify(Change::Unloaded);
}

void DriveInfoModel::Combo1_Click(DriveInfoPage page)
{
    if (!loaded_)
        return;
    pages_.page = page;
    pages_.lblDesc = std::string(pageDescription(page));
    switch (page) {
    case DriveInfoPage::FreeSpaceByDrives:
        pages_.freeSpace = prcFreeSpaceChart(sv_.watchList, sv_.locale);
        break;
    case DriveInfoPage::TotalFreeSpaceDistribution:
        pages_.distribution = prcDistributionChart(sv_.watchList, sv_.locale);
        break;
    case DriveInfoPage::DrivePartitionInfo:
        refreshPartitionDrives();
        break;
    case DriveInfoPage::DriveAttributeInfo:
        prcFillDriveList();
        break;
    }
    notify(Change::Page);
}

// The list follows the machine's drives and keeps the drive shown when it is still there; the
// selection it ends with is read again, since the volume behind a mount point may have changed.
void DriveInfoModel::refreshPartitionDrives()
{
    // While the open failure is being reported the page stays as it is and reads nothing.
    if (unloadPending_)
        return;
    DriveChoice& choice = pages_.drvDrive;
    std::optional<std::string> current;
    if (choice.selected)
        current = choice.drives[*choice.selected];
    choice.drives = sv_.volumes.logicalDrives();
    std::optional<std::size_t> selected;
    if (!choice.drives.empty())
        selected = 0;
    if (current) {
        const auto found = std::find(choice.drives.begin(), choice.drives.end(), *current);
        if (found != choice.drives.end())
            selected = static_cast<std::size_t>(found - choice.drives.begin());
    }
    choice.selected = selected;
    notify(Change::PartitionDrives);
    readPartitionPage(selected);
}

void DriveInfoModel::drvDrive_Change(std::size_t index)
{
    DriveChoice& choice = pages_.drvDrive;
    // A dialog that is about to unload reads nothing more; the selector goes back.
    if (!loaded_ || unloadPending_ || index >= choice.drives.size()) {
        notify(Change::PartitionDrives);
        return;
    }
    // The same drive again: the page shows it already, or its read is on the way.
    if (choice.selected == index)
        return;
    choice.selected = index; // the selector shows it already
    readPartitionPage(index);
}

// Reads the page for the drive now selected, or empties it when there is none.
void DriveInfoModel::readPartitionPage(std::optional<std::size_t> index)
{
    const DriveChoice& choice = pages_.drvDrive;
    const std::uint64_t ticket = ++partitionTicket_;
    if (!index) {
        showPartition(std::nullopt, nullptr);
        return;
    }
    const std::string drive = choice.drives[*index];
    // Another drive's record never stands under this one's name, not even while it is read.
    if (pages_.partitionDrive != drive && pages_.partitionDrive)
        showPartition(std::nullopt, nullptr);
    tasks_.spawn(readBootSector(drive, ticket));
}

// `reader` holds the answer of a read; nullptr empties the list and the dumps.
void DriveInfoModel::showPartition(std::optional<std::string> drive, const BootSectorReader* reader)
{
    pages_.partitionDrive = std::move(drive);
    if (reader) {
        pages_.lvInfo = reader->lvInfo();
        pages_.txtBytes = reader->txtBytes();
        pages_.txtChar = reader->txtChar();
    } else {
        pages_.lvInfo.clear();
        pages_.txtBytes.clear();
        pages_.txtChar.clear();
    }
    notify(Change::Partition);
}

Task<void> DriveInfoModel::readBootSector(std::string drive, std::uint64_t ticket)
{
    // The read closes the volume the last one left open before it opens the next, on the worker.
    std::shared_ptr<BootSectorReader> reader =
        reader_ ? std::move(reader_) : std::make_shared<BootSectorReader>(sv_.rawVolumes, sv_.volumeInfo);
    // A drive that does not answer in time reads as one that cannot be read.
    std::optional<BootReadOutcome> outcome;
    // Started before it is awaited: GCC 12 breaks the temporaries of a co_await expression
    // (this lambda's captures came out corrupted).
    const auto call = sv_.io.start(ioKey(drive), [reader, drive] { return reader->prcReadBootSector(drive); });
    try {
        auto reply = co_await call;
        if (reply.answered())
            outcome = *reply.value;
    } catch (...) {
        // a read that failed on the worker is a drive that could not be read
    }
    if (ticket != partitionTicket_)
        co_return; // the selection moved on (or the dialog unloaded); the volume closes here
    if (outcome == BootReadOutcome::OpenFailed) {
        co_await unloadAfterOpenFailure();
        co_return;
    }
    if (outcome) {
        // After a failed read too the volume stays open, as it was opened.
        reader_ = std::move(reader);
        showPartition(drive, reader_.get());
    } else {
        showPartition(drive, nullptr);
    }
    const BootReadOutcome shown = outcome.value_or(BootReadOutcome::ReadFailed);
    if (const auto failure = bootReadFailureText(shown))
        sv_.dialogs.showMessage({std::string(*failure), MsgIcon::Critical, MsgButtons::Ok}, [](MsgAnswer) {});
}

// While the message is open the dialog stays as it is; reads are refused until it unloads.
Task<void> DriveInfoModel::unloadAfterOpenFailure()
{
    unloadPending_ = true;
    co_await sv_.dialogs.ask(std::string(*bootReadFailureText(BootReadOutcome::OpenFailed)), MsgIcon::Critical);
    Form_Unload();
}

void DriveInfoModel::prcFillDriveList()
{
    // Mount points are listed as they are: upper-casing is for drive letters, and a Linux
    // path changes its meaning with its case.
    DriveChoice& choice = pages_.cboDrives;
    choice.drives = sv_.volumes.logicalDrives();
    choice.selected = initialDriveSelection(choice.drives.size());
    notify(Change::AttributeDrives);
    if (choice.selected)
        showAttributes(*choice.selected);
    else
        ++attributeTicket_; // nothing is selected: an answer still on its way is for no drive
}

void DriveInfoModel::cboDrives_Click(std::size_t index)
{
    if (!loaded_ || index >= pages_.cboDrives.drives.size())
        return;
    pages_.cboDrives.selected = index;
    showAttributes(index);
}

void DriveInfoModel::showAttributes(std::size_t index)
{
    tasks_.spawn(readAttributes(pages_.cboDrives.drives[index], ++attributeTicket_));
}

Task<void> DriveInfoModel::readAttributes(std::string root, std::uint64_t ticket)
{
    // A drive that does not answer in time: its type cannot be told, and its counts are zero as
    // for a drive without media.
    DriveAttributes attributes;
    const auto call = sv_.io.start(ioKey(root), [&info = sv_.volumeInfo, root] {
        return DriveAttributes{info.driveType(root), info.clusterGeometry(root)};
    });
    try {
        auto reply = co_await call;
        if (reply.answered())
            attributes = *reply.value;
    } catch (...) {
        // a drive whose attributes could not be read shows as one that does not answer
    }
    if (ticket != attributeTicket_)
        co_return;
    setAttributeLabels(attributes);
}

void DriveInfoModel::setAttributeLabels(const DriveAttributes& attributes)
{
    DriveAttributeTexts texts = driveAttributeTexts(attributes, sv_.locale);
    auto& labels = pages_.lblInfo;
    if (texts.driveType)
        labels[0] = std::move(*texts.driveType);
    labels[1] = std::move(texts.sectorsPerCluster);
    labels[2] = std::move(texts.bytesPerSector);
    labels[3] = std::move(texts.freeClusters);
    labels[4] = std::move(texts.totalClusters);
    labels[5] = std::move(texts.totalFreeSpace);
    labels[6] = std::move(texts.totalDriveSpace);
    notify(Change::Attributes);
}

// The file system a read touches, named as the watch names it, so that a drive the watch found
// stuck is not asked again and a drive found stuck here is not asked by the watch.
std::string DriveInfoModel::ioKey(const std::string& drive) const
{
    std::string key;
    try {
        key = sv_.volumes.mountPointOf(drive);
    } catch (const Error&) {
        // an unreadable mount table: the drive names itself
    }
    return key.empty() ? drive : key;
}

void DriveInfoModel::notify(Change change) const
{
    // A copy: the window may replace or drop the listener while it handles the change.
    if (const Listener listener = listener_)
        listener(change);
}

} // namespace volmara
