#include "driveinfo/drive_info_model.h"
#include "driveinfo/sector_dump.h"
#include "fakes/fake_raw_volumes.h"
#include "fakes/fake_volumes.h"
#include "fakes/manual_event_loop.h"
#include "fakes/manual_io.h"
#include "fakes/scripted_dialogs.h"
#include "sector_builder.h"

#include <gtest/gtest.h>

#include <vector>

namespace volmara {
namespace {

using Change = DriveInfoModel::Change;

constexpr const char* kOpenError = "Error opening the drive.\r\nClose some applications and try again.";
constexpr const char* kReadError = "Error reading the drive.";

class DriveInfoModelTest : public ::testing::Test {
protected:
    DriveInfoModelTest()
    {
        drives.add("/", 40'000, 80'000);
        drives.add("/home/", 1'500, 2'000);
        drives.add("/media/usb/", 0, 0);
        addFat16("/", "rootfs  ");
        model.setListener([this](Change c) { changes.push_back(c); });
    }

    // A FAT16 volume readable at `drive` whose OEM name tells it apart; returns its boot sector.
    SectorBuffer addFat16(const std::string& drive, std::string_view oem = "mkfs.fat")
    {
        const SectorBuffer boot = testing::sectorWith({{3, testing::bytesOf(oem)}, {11, testing::littleEndian(512, 2)}});
        rawVolumes.images[drive].bytes.assign(boot.begin(), boot.end());
        volumeInfo.names[drive] = "FAT16";
        return boot;
    }

    std::size_t indexOf(const DriveChoice& choice, const std::string& drive) const
    {
        for (std::size_t i = 0; i < choice.drives.size(); ++i)
            if (choice.drives[i] == drive)
                return i;
        ADD_FAILURE() << drive << " is not listed";
        return 0;
    }

    void choosePartitionDrive(const std::string& drive)
    {
        model.drvDrive_Change(indexOf(model.drvDrive(), drive));
    }

    // The OEM name of the boot record the partition page shows.
    std::optional<std::string> shownOem() const { return testing::valueOf(model.lvInfo(), "OEM name"); }

    bool partitionPageEmpty() const
    {
        return model.lvInfo().empty() && model.txtBytes().empty() && model.txtChar().empty();
    }

    test::ManualEventLoop loop;
    test::ManualIo io{loop};
    test::ScriptedDialogs dialogs{loop};
    test::FakeVolumes drives;
    testing::MemoryVolumes rawVolumes;
    testing::FakeVolumeInfo volumeInfo;
    WatchList watchList;
    DriveInfoModel model{{watchList, drives, rawVolumes, volumeInfo, dialogs, io, Locale{}}};
    std::vector<Change> changes;
};

TEST_F(DriveInfoModelTest, FirstShowLoadsTheFreeSpacePageAndLaterShowsKeepThePage)
{
    WatchEntry entry;
    entry.path = "/";
    entry.freeText = "40,000 KB";
    entry.totalText = "80,000 KB";
    watchList.append(entry);

    model.show();
    EXPECT_TRUE(model.visible());
    EXPECT_EQ(model.Combo1(), DriveInfoPage::FreeSpaceByDrives);
    EXPECT_EQ(model.lblDesc(), "Illustrates each system aware drive/paths' free and total memory size.");
    EXPECT_EQ(model.freeSpaceChart(), (std::vector<FreeSpaceBar>{{"/", 40.0, 80.0}}));

    model.Combo1_Click(DriveInfoPage::TotalFreeSpaceDistribution);
    model.cmdOK_Click();
    EXPECT_FALSE(model.visible());

    // Shown again: no second load, the page and its chart stay as they were.
    watchList.clear();
    model.show();
    EXPECT_TRUE(model.visible());
    EXPECT_EQ(model.Combo1(), DriveInfoPage::TotalFreeSpaceDistribution);
    EXPECT_EQ(model.distributionChart().title, "Total Free Space Distribution (MB): 40");
    EXPECT_EQ(model.freeSpaceChart().size(), 1u);
}

TEST_F(DriveInfoModelTest, EachPageHasItsDescriptionAndRebuildsFromTheCurrentList)
{
    model.show();
    struct Case {
        DriveInfoPage page;
        const char* description;
    };
    const std::vector<Case> cases{
        {DriveInfoPage::FreeSpaceByDrives, "Illustrates each system aware drive/paths' free and total memory size."},
        {DriveInfoPage::TotalFreeSpaceDistribution, "Illustrates the total free drive/paths' memory distribution."},
        {DriveInfoPage::DrivePartitionInfo, "The control provides a system aware drive/paths attributes."},
        {DriveInfoPage::DriveAttributeInfo, "The control provides a system aware drive/paths attributes."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.page));
        changes.clear();
        model.Combo1_Click(c.page);
        EXPECT_EQ(model.Combo1(), c.page);
        EXPECT_EQ(model.lblDesc(), c.description);
        ASSERT_FALSE(changes.empty());
        EXPECT_EQ(changes.back(), Change::Page);
    }

    WatchEntry added;
    added.path = "/data/";
    added.freeText = "1,000,001 KB";
    watchList.append(added);
    model.Combo1_Click(DriveInfoPage::TotalFreeSpaceDistribution);
    EXPECT_EQ(model.distributionChart().title, "Total Free Space Distribution (GB): 1");
    model.Combo1_Click(DriveInfoPage::FreeSpaceByDrives);
    EXPECT_EQ(model.freeSpaceChart().size(), 1u);
}

TEST_F(DriveInfoModelTest, AttributePageListsEachDriveOnceAndSelectsTheSecond)
{
    volumeInfo.types["/home/"] = DriveType::Fixed;
    volumeInfo.geometry["/home/"] = ClusterGeometry{8, 512, 4'000'000, 250'000'000};
    model.show();

    model.Combo1_Click(DriveInfoPage::DriveAttributeInfo);
    model.Combo1_Click(DriveInfoPage::DriveAttributeInfo);
    loop.runPending();

    const DriveChoice& choice = model.cboDrives();
    // Mount points keep their case.
    EXPECT_EQ(choice.drives, (std::vector<std::string>{"/", "/home/", "/media/usb/"}));
    EXPECT_EQ(choice.selected, 1u);
    const std::array<std::string, 7> expected{"Fixed", "8", "512", "4000000", "250000000", "15,625", "976,562"};
    EXPECT_EQ(model.lblInfo(), expected);
    // Asked on the workers, keyed by the drive's mount point.
    EXPECT_EQ(io.keys, (std::vector<std::string>{"/home/", "/home/"}));
}

TEST_F(DriveInfoModelTest, AttributeSelectionDependsOnTheNumberOfDrives)
{
    struct Case {
        std::vector<std::string> roots;
        std::optional<std::size_t> selected;
        const char* typeText;
    };
    const std::vector<Case> cases{
        {{}, std::nullopt, ""},
        {{"/"}, 0, "Removable"},
        {{"/", "/srv/"}, 1, "Remote"},
    };
    volumeInfo.types["/"] = DriveType::Removable;
    volumeInfo.types["/srv/"] = DriveType::Remote;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.roots.size());
        test::FakeVolumes machine;
        for (const std::string& root : c.roots)
            machine.add(root, 0, 0);
        DriveInfoModel local{{watchList, machine, rawVolumes, volumeInfo, dialogs, io, Locale{}}};
        local.show();
        local.Combo1_Click(DriveInfoPage::DriveAttributeInfo);
        loop.runPending();
        EXPECT_EQ(local.cboDrives().selected, c.selected);
        EXPECT_EQ(local.lblInfo()[0], c.typeText);
    }
}

TEST_F(DriveInfoModelTest, DriveWithoutMediaShowsItsTypeAndZeroCounts)
{
    volumeInfo.types["/media/usb/"] = DriveType::Removable;
    model.show();
    model.Combo1_Click(DriveInfoPage::DriveAttributeInfo);

    model.cboDrives_Click(2);
    loop.runPending();

    const std::array<std::string, 7> expected{"Removable", "0", "0", "0", "0", "0", "0"};
    EXPECT_EQ(model.lblInfo(), expected);
}

TEST_F(DriveInfoModelTest, TypeWithoutTextKeepsThePreviousTypeLabel)
{
    volumeInfo.types["/home/"] = DriveType::CdRom;
    volumeInfo.types["/media/usb/"] = static_cast<DriveType>(9);
    volumeInfo.geometry["/media/usb/"] = ClusterGeometry{1, 2048, 3, 4};
    model.show();
    model.Combo1_Click(DriveInfoPage::DriveAttributeInfo);
    loop.runPending();
    ASSERT_EQ(model.lblInfo()[0], "CD-ROM");

    model.cboDrives_Click(2);
    loop.runPending();

    EXPECT_EQ(model.lblInfo()[0], "CD-ROM");
    EXPECT_EQ(model.lblInfo()[2], "2048");
}

TEST_F(DriveInfoModelTest, AttributesOfADriveNoLongerSelectedAreDropped)
{
    volumeInfo.types["/home/"] = DriveType::Fixed;
    volumeInfo.geometry["/home/"] = ClusterGeometry{8, 512, 4'000'000, 250'000'000};
    volumeInfo.types["/media/usb/"] = DriveType::Removable;
    model.show();
    io.hold = true;
    model.Combo1_Click(DriveInfoPage::DriveAttributeInfo); // asks for "/home/"
    model.cboDrives_Click(2);                                // and now for "/media/usb/"

    io.release(1);
    loop.runPending();
    EXPECT_EQ(model.lblInfo(), (std::array<std::string, 7>{}));

    io.release();
    loop.runPending();
    const std::array<std::string, 7> expected{"Removable", "0", "0", "0", "0", "0", "0"};
    EXPECT_EQ(model.lblInfo(), expected);
}

TEST_F(DriveInfoModelTest, PartitionPageReadsTheSelectedDriveWheneverTheSelectionIsSet)
{
    const SectorBuffer home = addFat16("/home/");
    addFat16("/media/usb/", "usbstick");
    model.show();

    // Entering the page selects the first drive and reads it.
    model.Combo1_Click(DriveInfoPage::DrivePartitionInfo);
    EXPECT_EQ(model.drvDrive().drives, (std::vector<std::string>{"/", "/home/", "/media/usb/"}));
    EXPECT_EQ(model.drvDrive().selected, 0u);
    EXPECT_TRUE(partitionPageEmpty()); // until the answer comes
    loop.runPending();
    EXPECT_EQ(shownOem(), "rootfs  ");
    EXPECT_EQ(rawVolumes.opened, 1);

    choosePartitionDrive("/home/");
    loop.runPending();
    EXPECT_EQ(rawVolumes.opened, 2);
    EXPECT_EQ(rawVolumes.liveAtLastOpen, 0); // the earlier volume was closed first
    EXPECT_EQ(shownOem(), "mkfs.fat");
    EXPECT_EQ(model.txtBytes(), hexDump(home));
    EXPECT_EQ(model.txtChar(), charDump(home));

    choosePartitionDrive("/home/"); // the same drive again is no change
    loop.runPending();
    EXPECT_EQ(rawVolumes.opened, 2);

    // Coming back to the page keeps the drive and reads it again.
    model.Combo1_Click(DriveInfoPage::FreeSpaceByDrives);
    model.Combo1_Click(DriveInfoPage::DrivePartitionInfo);
    EXPECT_EQ(model.drvDrive().selected, 1u);
    loop.runPending();
    EXPECT_EQ(rawVolumes.opened, 3);
    EXPECT_EQ(shownOem(), "mkfs.fat");

    choosePartitionDrive("/media/usb/");
    loop.runPending();
    EXPECT_EQ(shownOem(), "usbstick");
    EXPECT_EQ(rawVolumes.live, 1);
    EXPECT_EQ(io.keys, (std::vector<std::string>{"/", "/home/", "/home/", "/media/usb/"}));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(DriveInfoModelTest, MachineWithOneDriveReadsIt)
{
    test::FakeVolumes machine;
    machine.add("/", 0, 0);
    DriveInfoModel local{{watchList, machine, rawVolumes, volumeInfo, dialogs, io, Locale{}}};
    local.show();

    local.Combo1_Click(DriveInfoPage::DrivePartitionInfo);
    loop.runPending();

    EXPECT_EQ(local.drvDrive().selected, 0u);
    EXPECT_EQ(testing::valueOf(local.lvInfo(), "OEM name"), "rootfs  ");
    EXPECT_FALSE(local.txtChar().empty());
}

TEST_F(DriveInfoModelTest, UnmountedDriveLeavesNoRecordUnderAnotherName)
{
    addFat16("/media/usb/", "usbstick");
    model.show();
    model.Combo1_Click(DriveInfoPage::DrivePartitionInfo);
    choosePartitionDrive("/media/usb/");
    loop.runPending();
    ASSERT_EQ(shownOem(), "usbstick");

    model.Combo1_Click(DriveInfoPage::FreeSpaceByDrives);
    std::erase_if(drives.mounts, [](const test::FakeVolumes::Mount& m) { return m.root == "/media/usb/"; });
    model.Combo1_Click(DriveInfoPage::DrivePartitionInfo);

    EXPECT_EQ(model.drvDrive().drives, (std::vector<std::string>{"/", "/home/"}));
    EXPECT_EQ(model.drvDrive().selected, 0u);
    EXPECT_TRUE(partitionPageEmpty());
    loop.runPending();
    EXPECT_EQ(shownOem(), "rootfs  ");
}

TEST_F(DriveInfoModelTest, ReadThatAnswersAfterTheSelectionMovedOnIsDropped)
{
    addFat16("/home/");
    addFat16("/media/usb/", "usbstick");
    model.show();
    model.Combo1_Click(DriveInfoPage::DrivePartitionInfo);
    loop.runPending();
    io.hold = true;

    choosePartitionDrive("/home/");
    choosePartitionDrive("/media/usb/");
    EXPECT_TRUE(partitionPageEmpty());

    io.release(1); // "/home/" answers first
    loop.runPending();
    EXPECT_TRUE(partitionPageEmpty());

    io.release();
    loop.runPending();
    EXPECT_EQ(shownOem(), "usbstick");
    EXPECT_EQ(rawVolumes.live, 1); // the dropped read's volume is closed
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(DriveInfoModelTest, DriveThatDoesNotAnswerReadsAsUnreadableAndTheOthersAreStillServed)
{
    addFat16("/home/");
    addFat16("/media/usb/", "usbstick");
    volumeInfo.types["/home/"] = DriveType::Fixed;
    volumeInfo.geometry["/home/"] = ClusterGeometry{8, 512, 4'000'000, 250'000'000};
    volumeInfo.types["/media/usb/"] = DriveType::Removable;
    volumeInfo.geometry["/media/usb/"] = ClusterGeometry{1, 2048, 3, 4};
    io.hang("/home/");
    model.show();
    model.Combo1_Click(DriveInfoPage::DrivePartitionInfo);
    loop.runPending();

    choosePartitionDrive("/home/");
    loop.runPending();
    EXPECT_TRUE(partitionPageEmpty());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, kReadError);
    EXPECT_EQ(dialogs.shown[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(model.loaded());

    choosePartitionDrive("/media/usb/");
    loop.runPending();
    EXPECT_EQ(shownOem(), "usbstick");

    // The attribute page selects the stuck drive first: no type can be told, the counts are zero.
    model.Combo1_Click(DriveInfoPage::DriveAttributeInfo);
    loop.runPending();
    EXPECT_EQ(model.lblInfo(), (std::array<std::string, 7>{"Unknown", "0", "0", "0", "0", "0", "0"}));
    model.cboDrives_Click(2);
    loop.runPending();
    EXPECT_EQ(model.lblInfo()[0], "Removable");

    // When the drive answers at last, nothing of it lands on the pages.
    io.recover("/home/");
    loop.runPending();
    EXPECT_EQ(shownOem(), "usbstick");
    EXPECT_EQ(model.lblInfo()[0], "Removable");
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(DriveInfoModelTest, ReadFailureEmptiesTheListAndDumpsAndKeepsTheDialog)
{
    addFat16("/home/");
    rawVolumes.images["/media/usb/"].bytes.assign(100, 0xF6); // shorter than a sector
    model.show();
    model.Combo1_Click(DriveInfoPage::DrivePartitionInfo);
    choosePartitionDrive("/home/");
    loop.runPending();
    ASSERT_FALSE(model.lvInfo().empty());

    choosePartitionDrive("/media/usb/");
    loop.runPending();

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, kReadError);
    EXPECT_EQ(dialogs.shown[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(partitionPageEmpty());
    EXPECT_TRUE(model.loaded());
    EXPECT_TRUE(model.visible());
    EXPECT_EQ(rawVolumes.live, 1);
}

TEST_F(DriveInfoModelTest, OpenFailureUnloadsOnceTheMessageIsDismissedAndTheNextShowLoadsAnew)
{
    addFat16("/home/");
    model.show();
    model.Combo1_Click(DriveInfoPage::DrivePartitionInfo);
    choosePartitionDrive("/home/");
    loop.runPending();
    ASSERT_EQ(rawVolumes.opened, 2); // "/" on entering the page, then "/home/"
    dialogs.holdAnswers = true;

    choosePartitionDrive("/media/usb/"); // no such raw volume
    loop.runPending();

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, kOpenError);
    EXPECT_EQ(dialogs.shown[0].icon, MsgIcon::Critical);
    // Until it is dismissed the dialog stays, shows nothing of another drive, and takes no
    // further reads, not even from a refill of the page.
    EXPECT_TRUE(model.loaded());
    EXPECT_TRUE(partitionPageEmpty());
    choosePartitionDrive("/home/");
    model.Combo1_Click(DriveInfoPage::DrivePartitionInfo);
    loop.runPending();
    EXPECT_EQ(rawVolumes.opened, 2);
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(model.drvDrive().selected, 2u);

    changes.clear();
    dialogs.releaseOne();
    loop.runPending();

    EXPECT_EQ(changes, (std::vector<Change>{Change::Unloaded}));
    EXPECT_FALSE(model.loaded());
    EXPECT_FALSE(model.visible());
    EXPECT_EQ(rawVolumes.live, 0);
    EXPECT_TRUE(model.lvInfo().empty());
    EXPECT_TRUE(model.drvDrive().drives.empty());

    model.show();
    EXPECT_TRUE(model.loaded());
    EXPECT_EQ(model.Combo1(), DriveInfoPage::FreeSpaceByDrives);
    model.Combo1_Click(DriveInfoPage::DrivePartitionInfo);
    EXPECT_EQ(model.drvDrive().selected, 0u);
    choosePartitionDrive("/home/");
    loop.runPending();
    EXPECT_EQ(rawVolumes.opened, 4);
    EXPECT_EQ(shownOem(), "mkfs.fat");
}

TEST_F(DriveInfoModelTest, HelpShowsTheDialogsOwnTextUntilTheProgramsHelpIsBound)
{
    model.show();
    model.showHelp();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, kDriveInfoHelpText);
    EXPECT_EQ(dialogs.shown[0].icon, MsgIcon::Information);
    for (const std::string_view page : kCombo1Items)
        EXPECT_NE(dialogs.shown[0].text.find(page), std::string::npos) << page;

    int opened = 0;
    model.openHelp = [&] { ++opened; };
    model.showHelp();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

} // namespace
} // namespace volmara
