#include "driveinfo/drive_info_model.h"

#include "core/app_state.h"
#include "driveinfo/drive_attributes.h"

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
    return {app.ListView1, app.sv.volumes, app.sv.rawVolumes, app.sv.volumeInfo, app.sv.dialogs, app.sv.locale};
}

DriveInfoModel::DriveInfoModel(DriveInfoServices services)
    : sv_(services), reader_(services.rawVolumes, services.volumeInfo)
{
}

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

void DriveInfoModel::Form_Load()
{
    loaded_ = true;
    Combo1_Click(DriveInfoPage::FreeSpaceByDrives);
}

void DriveInfoModel::Form_Unload()
{
    reader_.close();
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

// The list follows the machine's drives but keeps the drive shown; nothing is read here.
void DriveInfoModel::refreshPartitionDrives()
{
    DriveChoice& choice = pages_.drvDrive;
    std::optional<std::string> current;
    if (choice.selected)
        current = choice.drives[*choice.selected];
    choice.drives = sv_.volumes.logicalDrives();
    choice.selected = choice.drives.empty() ? std::nullopt : std::optional<std::size_t>(0);
    if (current) {
        const auto found = std::find(choice.drives.begin(), choice.drives.end(), *current);
        if (found != choice.drives.end())
            choice.selected = static_cast<std::size_t>(found - choice.drives.begin());
    }
    notify(Change::PartitionDrives);
}

void DriveInfoModel::drvDrive_Change(std::size_t index)
{
    DriveChoice& choice = pages_.drvDrive;
    // A dialog that is about to unload reads nothing more; the selector goes back.
    if (!loaded_ || unloadPending_ || index >= choice.drives.size()) {
        notify(Change::PartitionDrives);
        return;
    }
    if (choice.selected == index)
        return;
    choice.selected = index;
    readBootSector(choice.drives[index]);
}

void DriveInfoModel::readBootSector(const std::string& drive)
{
    const BootReadOutcome outcome = reader_.prcReadBootSector(drive);
    if (outcome == BootReadOutcome::OpenFailed) {
        unloadPending_ = true;
        tasks_.spawn(unloadAfterOpenFailure());
        return;
    }
    // A failed read has emptied the reader's list and dumps; they are shown empty.
    pages_.lvInfo = reader_.lvInfo();
    pages_.txtBytes = reader_.txtBytes();
    pages_.txtChar = reader_.txtChar();
    notify(Change::Partition);
    if (const auto failure = bootReadFailureText(outcome))
        sv_.dialogs.showMessage({std::string(*failure), MsgIcon::Critical, MsgButtons::Ok}, [](MsgAnswer) {});
}

// While the message is open the dialog stays as it is; reads are refused until it unloads.
Task<void> DriveInfoModel::unloadAfterOpenFailure()
{
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
    const std::string& root = pages_.cboDrives.drives[index];
    DriveAttributes attributes;
    attributes.type = sv_.volumeInfo.driveType(root);
    attributes.geometry = sv_.volumeInfo.clusterGeometry(root);
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

void DriveInfoModel::notify(Change change) const
{
    // A copy: the window may replace or drop the listener while it handles the change.
    if (const Listener listener = listener_)
        listener(change);
}

} // namespace volmara
