#include "driveinfo/drive_info_model.h"
#include "driveinfo/sector_dump.h"
#include "fakes/fake_raw_volumes.h"
#include "fakes/app_harness.h"
#include "sector_builder.h"
#include "ui/drive_info/dlg_drive_info.h"
#include "ui/drive_info/dump_cells.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QPieSeries>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QTreeWidget>
#include <QValueAxis>

using namespace volmara;

namespace {

// The whole program's model on fakes with two drives, the dialog's own volumes beside it,
// and the window the dialog belongs to.
struct Setup {
    test::AppHarness harness;
    testing::MemoryVolumes& rawVolumes = harness.rawVolumes;
    testing::FakeVolumeInfo& volumeInfo = harness.volumeInfo;
    DriveInfoModel* model = nullptr;
    QWidget owner; // after the model: the window goes with its owner before the model it shows
    SectorBuffer homeBoot{};

    Setup()
    {
        harness.volumes.add("/", 1'200'000, 2'000'000);
        harness.volumes.add("/home/", 300'000, 500'000);
        harness.load();
        model = &harness.app().dlgDriveInfo;

        const SectorBuffer rootBoot = testing::sectorWith({{3, testing::bytesOf("rootfs  ")}});
        rawVolumes.images["/"].bytes.assign(rootBoot.begin(), rootBoot.end());
        homeBoot = testing::sectorWith({{3, testing::bytesOf("mkfs.fat")}, {11, testing::littleEndian(512, 2)}});
        rawVolumes.images["/home/"].bytes.assign(homeBoot.begin(), homeBoot.end());
        volumeInfo.names["/home/"] = "FAT16";
        volumeInfo.types["/home/"] = DriveType::Fixed;
        volumeInfo.geometry["/home/"] = ClusterGeometry{8, 512, 4'000'000, 250'000'000};
    }

    DlgDriveInfo& open() { return DlgDriveInfo::showFor(*model, owner); }
    // The answers of the I/O workers (and of message boxes) arrive.
    void answer() { harness.loop.runPending(); }
};

template <typename W>
W& child(QWidget& window, const char* name)
{
    auto* found = window.findChild<W*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no child %s", name);
    return *found;
}

// What a user's pick in a drop-down list does.
void choose(QComboBox& box, int index)
{
    box.setCurrentIndex(index);
    emit box.activated(index);
}

QStringList itemsOf(const QComboBox& box)
{
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items << box.itemText(i);
    return items;
}

} // namespace

class DriveInfoDialogTest : public QObject {
    Q_OBJECT
private slots:
    void opensOnTheFreeSpaceChartOfTheWatchList();
    void switchesThroughTheFourPages();
    void okHidesAndTheNextShowKeepsThePage();
    void openFailureUnloadsTheWindowAndTheNextShowCreatesItAnew();
    void chartsOfAnEmptyOrUnmeasuredList();
    void characterDumpGivesEveryByteOneCell();
    void f1ShowsTheHelp();
};

void DriveInfoDialogTest::opensOnTheFreeSpaceChartOfTheWatchList()
{
    Setup s;
    DlgDriveInfo& dialog = s.open();

    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.isModal());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Advance Data Display"));
    QCOMPARE(itemsOf(child<QComboBox>(dialog, "Combo1")),
             (QStringList{"Free Space By Drive(s)", "Total Free Space Distribution", "Drive Partition Info.",
                          "Drive Attribute Info."}));
    QCOMPARE(child<QLabel>(dialog, "lblHelp").text(), QStringLiteral("Press F1 for help."));
    QCOMPARE(child<QPushButton>(dialog, "cmdOK").text(), QStringLiteral("&OK"));
    QCOMPARE(child<QLabel>(dialog, "lblDesc").text(),
             QStringLiteral("Illustrates each system aware drive/paths' free and total memory size."));
    QVERIFY(child<QChartView>(dialog, "MSChart1_0").isVisible());
    QVERIFY(!child<QChartView>(dialog, "MSChart1_1").isVisible());

    QChart* chart = child<QChartView>(dialog, "MSChart1_0").chart();
    QCOMPARE(chart->series().size(), 1);
    auto* bars = qobject_cast<QBarSeries*>(chart->series().front());
    QVERIFY(bars);
    QCOMPARE(bars->count(), 2);
    QCOMPARE(bars->barSets()[0]->label(), QStringLiteral("Free Space"));
    QCOMPARE(bars->barSets()[1]->label(), QStringLiteral("Total Space"));
    QCOMPARE(bars->barSets()[0]->at(0), 1200.0);
    QCOMPARE(bars->barSets()[1]->at(1), 500.0);
    auto* categories = qobject_cast<QBarCategoryAxis*>(chart->axes(Qt::Horizontal).front());
    QVERIFY(categories);
    QCOMPARE(categories->titleText(), QStringLiteral("Drive/Path"));
    QCOMPARE(categories->categories(), (QStringList{"/", "/home/"}));
    QCOMPARE(chart->axes(Qt::Vertical).front()->titleText(), QStringLiteral("Free Space MB"));
    QVERIFY(chart->legend()->isVisible());
}

void DriveInfoDialogTest::switchesThroughTheFourPages()
{
    Setup s;
    DlgDriveInfo& dialog = s.open();
    auto& combo1 = child<QComboBox>(dialog, "Combo1");
    auto& lblDesc = child<QLabel>(dialog, "lblDesc");

    choose(combo1, 1);
    QVERIFY(child<QChartView>(dialog, "MSChart1_1").isVisible());
    QVERIFY(!child<QChartView>(dialog, "MSChart1_0").isVisible());
    QCOMPARE(lblDesc.text(), QStringLiteral("Illustrates the total free drive/paths' memory distribution."));
    QChart* pie = child<QChartView>(dialog, "MSChart1_1").chart();
    // 1,500,000 KB in all: GB, one and a half rounded to even.
    QCOMPARE(pie->title(), QStringLiteral("Total Free Space Distribution (GB): 2"));
    auto* slices = qobject_cast<QPieSeries*>(pie->series().front());
    QVERIFY(slices);
    QCOMPARE(slices->count(), 2);
    QCOMPARE(slices->slices()[1]->label(), QStringLiteral("/home/"));
    QCOMPARE(slices->slices()[1]->value(), 300000.0);

    choose(combo1, 2);
    auto& frmPart = child<QWidget>(dialog, "frmPart");
    QVERIFY(frmPart.isVisible());
    QCOMPARE(lblDesc.text(), QStringLiteral("The control provides a system aware drive/paths attributes."));
    auto& drvDrive = child<QComboBox>(dialog, "drvDrive");
    QCOMPARE(itemsOf(drvDrive), (QStringList{"/", "/home/"}));
    QCOMPARE(drvDrive.currentIndex(), 0);
    auto& lvInfo = child<QTreeWidget>(dialog, "lvInfo");
    QCOMPARE(lvInfo.topLevelItemCount(), 0); // until the drive answers
    s.answer();
    QCOMPARE(lvInfo.topLevelItemCount(), 0); // "/" has a file system without a layout
    QVERIFY(!child<QPlainTextEdit>(dialog, "txtBytes").toPlainText().isEmpty());
    choose(drvDrive, 1);
    s.answer();
    QVERIFY(lvInfo.topLevelItemCount() > 0);
    QCOMPARE(lvInfo.topLevelItem(0)->text(0), QStringLiteral("OEM name"));
    QCOMPARE(lvInfo.topLevelItem(0)->text(1), QStringLiteral("mkfs.fat"));
    auto& txtBytes = child<QPlainTextEdit>(dialog, "txtBytes");
    auto& txtChar = child<QPlainTextEdit>(dialog, "txtChar");
    QCOMPARE(txtBytes.toPlainText(), QString::fromStdString(hexDump(s.homeBoot)).replace("\r\n", "\n"));
    QCOMPARE(txtChar.toPlainText(), QString::fromStdString(charDump(s.homeBoot)).replace("\r\n", "\n"));
    QVERIFY(txtBytes.isReadOnly() && txtChar.isReadOnly());
    QVERIFY(QFontInfo(txtBytes.font()).fixedPitch());
    QVERIFY(QFontInfo(txtChar.font()).fixedPitch());

    choose(combo1, 3);
    choose(combo1, 3);
    s.answer();
    QVERIFY(child<QWidget>(dialog, "frmAD").isVisible());
    QVERIFY(!frmPart.isVisible());
    QCOMPARE(lblDesc.text(), QStringLiteral("The control provides a system aware drive/paths attributes."));
    auto& cboDrives = child<QComboBox>(dialog, "cboDrives");
    QCOMPARE(itemsOf(cboDrives), (QStringList{"/", "/home/"}));
    QCOMPARE(cboDrives.currentIndex(), 1);
    const QStringList captions{"Drive Type:",     "Sectors per Cluster:", "Bytes per Sector:", "Free Clusters:",
                               "Total Clusters:", "Total Free Space:",    "Total Drive Space:"};
    const QStringList values{"Fixed", "8", "512", "4000000", "250000000", "15,625", "976,562"};
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(child<QLabel>(dialog, QStringLiteral("lblCaption%1").arg(i).toLatin1()).text(), captions[i]);
        QCOMPARE(child<QLabel>(dialog, QStringLiteral("lblInfo%1").arg(i).toLatin1()).text(), values[i]);
    }

    choose(cboDrives, 0); // nothing known about "/": type Unknown, all zero
    s.answer();
    QCOMPARE(child<QLabel>(dialog, "lblInfo0").text(), QStringLiteral("Unknown"));
    QCOMPARE(child<QLabel>(dialog, "lblInfo6").text(), QStringLiteral("0"));
}

void DriveInfoDialogTest::okHidesAndTheNextShowKeepsThePage()
{
    Setup s;
    DlgDriveInfo& dialog = s.open();
    choose(child<QComboBox>(dialog, "Combo1"), 1);

    QTest::mouseClick(&child<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QVERIFY(!s.model->visible());

    DlgDriveInfo& again = s.open();
    QCOMPARE(&again, &dialog);
    QVERIFY(again.isVisible());
    QCOMPARE(child<QComboBox>(again, "Combo1").currentIndex(), 1);
    QVERIFY(child<QChartView>(again, "MSChart1_1").isVisible());

    QTest::keyClick(&again, Qt::Key_Escape);
    QVERIFY(!again.isVisible());
    QVERIFY(!s.model->visible());
}

void DriveInfoDialogTest::openFailureUnloadsTheWindowAndTheNextShowCreatesItAnew()
{
    Setup s;
    s.rawVolumes.images.erase("/home/"); // the device cannot be opened
    QPointer<DlgDriveInfo> dialog = &s.open();
    choose(child<QComboBox>(*dialog, "Combo1"), 2);
    s.answer();
    s.harness.dialogs.holdAnswers = true;

    choose(child<QComboBox>(*dialog, "drvDrive"), 1);
    s.answer();

    const auto& shown = s.harness.dialogs.shown;
    QCOMPARE(shown.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(shown[0].text),
             QStringLiteral("Error opening the drive.\r\nClose some applications and try again."));
    QCOMPARE(shown[0].icon, MsgIcon::Critical);
    QVERIFY(dialog->isVisible()); // until the message is dismissed

    s.harness.dialogs.releaseOne(); // the user dismisses it
    s.answer();
    QVERIFY(dialog && !dialog->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(dialog.isNull());
    QVERIFY(!s.model->loaded());

    DlgDriveInfo& fresh = s.open();
    QVERIFY(fresh.isVisible());
    QCOMPARE(child<QComboBox>(fresh, "Combo1").currentIndex(), 0);
    QVERIFY(child<QChartView>(fresh, "MSChart1_0").isVisible());
    QCOMPARE(s.owner.findChildren<DlgDriveInfo*>().size(), 1);
}

void DriveInfoDialogTest::chartsOfAnEmptyOrUnmeasuredList()
{
    Setup s;
    WatchList& list = s.harness.app().ListView1;
    for (WatchEntry& entry : list.rows())
        entry.freeText = "N/A, drive not ready";
    list.append(list.at(0)); // the same text twice keeps a bar each

    DlgDriveInfo& dialog = s.open();
    auto* bars = qobject_cast<QBarSeries*>(child<QChartView>(dialog, "MSChart1_0").chart()->series().front());
    QVERIFY(bars);
    QCOMPARE(bars->barSets()[0]->count(), 3);
    QCOMPARE(bars->barSets()[0]->sum(), 0.0);
    QCOMPARE(bars->barSets()[1]->sum(), 0.0);
    auto* categories = qobject_cast<QBarCategoryAxis*>(
        child<QChartView>(dialog, "MSChart1_0").chart()->axes(Qt::Horizontal).front());
    QCOMPARE(categories->count(), 3);

    choose(child<QComboBox>(dialog, "Combo1"), 1);
    QCOMPARE(child<QChartView>(dialog, "MSChart1_1").chart()->title(),
             QStringLiteral("Total Free Space Distribution (KB): 0"));

    list.clear();
    choose(child<QComboBox>(dialog, "Combo1"), 0);
    bars = qobject_cast<QBarSeries*>(child<QChartView>(dialog, "MSChart1_0").chart()->series().front());
    QCOMPARE(bars->barSets()[0]->count(), 0);
    choose(child<QComboBox>(dialog, "Combo1"), 1);
    QCOMPARE(child<QChartView>(dialog, "MSChart1_1").chart()->title(),
             QStringLiteral("Total Free Space Distribution (KB): 0"));
    dialog.grab(); // draws the empty charts
}

void DriveInfoDialogTest::characterDumpGivesEveryByteOneCell()
{
    Setup s;
    SectorBuffer everyByte{};
    for (std::size_t i = 0; i < everyByte.size(); ++i)
        everyByte[i] = static_cast<std::uint8_t>(i);
    s.rawVolumes.images["/home/"].bytes.assign(everyByte.begin(), everyByte.end());
    DlgDriveInfo& dialog = s.open();
    choose(child<QComboBox>(dialog, "Combo1"), 2);
    choose(child<QComboBox>(dialog, "drvDrive"), 1);
    s.answer();

    auto& txtChar = child<QPlainTextEdit>(dialog, "txtChar");
    const QFontMetricsF metrics(txtChar.font());
    const qreal cell = metrics.horizontalAdvance(QStringLiteral("0"));
    const QChar standIn = dumpStandIn(txtChar.font());
    QVERIFY(cell > 0);
    QVERIFY(metrics.inFont(standIn));
    const QStringList dump = QString::fromStdString(s.model->txtChar()).split(QStringLiteral("\r\n"));
    // The raw text: the plain one turns a no-break space (byte 0xA0) into a blank.
    const QStringList lines = txtChar.document()->toRawText().split(QChar::ParagraphSeparator);
    QCOMPARE(lines.size(), 65); // 64 lines, every one ended
    for (int i = 0; i < 64; ++i) {
        QCOMPARE(lines[i].size(), 8);
        QCOMPARE(metrics.horizontalAdvance(lines[i]), 8 * cell); // line by line, as it is laid out
        for (int j = 0; j < 8; ++j) {
            QCOMPARE(metrics.horizontalAdvance(QString(lines[i][j])), cell);
            if (lines[i][j] != standIn)
                QCOMPARE(lines[i][j], dump[i][j]); // what is not stood in for is the dump's own
        }
    }
    const auto cellOf = [&](int byte) { return lines[byte / 8][byte % 8]; };
    for (const int noWidth : {0xAD, 0x1AD, 0x7F, 0x85})
        QCOMPARE(cellOf(noWidth), standIn);
    QCOMPARE(cellOf(0x05), QLatin1Char(' '));
    QCOMPARE(cellOf(0x41), QLatin1Char('A'));
    QCOMPARE(cellOf(0xE9), QChar(0xE9));
    QCOMPARE(cellOf(0xFF), QChar(0xFF));
}

void DriveInfoDialogTest::f1ShowsTheHelp()
{
    Setup s;
    DlgDriveInfo& dialog = s.open();
    const auto& shown = s.harness.dialogs.shown;
    // Without the program's help page bound, the dialog's own text.
    s.model->openHelp = nullptr;

    // From the page selector, which leaves the key to its dialog.
    QTest::keyClick(&child<QComboBox>(dialog, "Combo1"), Qt::Key_F1);
    QCOMPARE(shown.size(), std::size_t{1});
    QCOMPARE(shown[0].text, std::string(kDriveInfoHelpText));
    QCOMPARE(shown[0].icon, MsgIcon::Information);
    QCOMPARE(shown[0].buttons, MsgButtons::Ok);
    s.answer();
    QVERIFY(dialog.isVisible());

    int helpOpened = 0;
    s.model->openHelp = [&] { ++helpOpened; };
    QTest::keyClick(&dialog, Qt::Key_F1);
    QCOMPARE(helpOpened, 1);
    QCOMPARE(shown.size(), std::size_t{1});
}

QTEST_MAIN(DriveInfoDialogTest)
#include "drive_info_dialog_test.moc"
