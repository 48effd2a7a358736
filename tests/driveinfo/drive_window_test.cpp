#include "fakes/app_harness.h"
#include "ui/drive_window/frm_ind_dri.h"
#include "ui/drive_window/meter2_widget.h"
#include "ui/form1.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using namespace volmara;

namespace {

// The main window over the core's fakes: "/" 45 % free, "/data/" 25 % free with 12 files and
// 3 folders. The core's loop is the manual one; its pending answers are run by the test.
struct Program {
    test::AppHarness h;
    std::unique_ptr<Form1> window;

    Program()
    {
        h.volumes.add("/", 900000, 2000000);
        h.volumes.add("/data/", 250000, 1000000);
        h.files.folders = {"/", "/data/"};
        h.files.counts["/data/"] = FolderCounts{12, 3};
        window = std::make_unique<Form1>(h.services());
        window->Form_Load();
        h.loop.runPending();
    }
    AppState& app() { return window->model().app(); }
    FrmIndDri* driveWindow() const { return window->findChild<FrmIndDri*>(QString(), Qt::FindDirectChildrenOnly); }
    void openRow(std::size_t index)
    {
        for (auto& entry : app().ListView1.rows())
            entry.selected = false;
        app().ListView1.at(index).selected = true;
        window->model().openDriveWindow();
        h.loop.runPending();
    }
};

template <typename W>
W& child(QWidget& window, const char* name)
{
    auto* found = window.findChild<W*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no child %s", name);
    return *found;
}

// The colour at a point given in the widget's 96-dpi pixels.
QColor pixelAt(QWidget& widget, int x, int y)
{
    const qreal scale = widget.logicalDpiX() / 96.0;
    const QImage image = widget.grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(qRound(x * scale * ratio), qRound(y * scale * ratio));
}

} // namespace

class DriveWindowTest : public QObject {
    Q_OBJECT
private slots:
    void saysSoWhenNoEntryIsSelected();
    void opensForTheSelectedEntryAndDrawsItsDrive();
    void forwardsTheUsersControlsAndHides();
};

void DriveWindowTest::saysSoWhenNoEntryIsSelected()
{
    Program p;
    p.window->model().openDriveWindow();
    QCOMPARE(QString::fromStdString(p.h.dialogs.texts().back()), QStringLiteral("No Drive/Path selected."));
    QVERIFY(!p.driveWindow());
}

void DriveWindowTest::opensForTheSelectedEntryAndDrawsItsDrive()
{
    Program p;
    p.openRow(1);
    FrmIndDri* window = p.driveWindow();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Drive Settings - Zembrik Volmara - /data/"));
    QCOMPARE(child<QComboBox>(*window, "Combo1").currentText(), QStringLiteral("/data/"));
    auto& list = child<QTreeWidget>(*window, "ListView1");
    QCOMPARE(list.topLevelItemCount(), 4);
    QCOMPARE(list.topLevelItem(0)->text(1), QStringLiteral("1,000,000 KB"));
    QCOMPARE(list.topLevelItem(2)->text(0), QStringLiteral("Folders"));
    QCOMPARE(list.topLevelItem(2)->text(1), QStringLiteral("3"));
    QCOMPARE(list.topLevelItem(3)->text(1), QStringLiteral("12"));
    QCOMPARE(child<QLineEdit>(*window, "Text1").text(), QStringLiteral("50000"));
    QVERIFY(child<QRadioButton>(*window, "Option1_0").isChecked());
    QCOMPARE(child<QScrollBar>(*window, "VScroll1").value(), 95);
    QVERIFY(!child<QLabel>(*window, "lblP").isVisible());

    auto& meter = child<Meter2Widget>(*window, "VMeter2");
    QCOMPARE(meter.readOut()->text(), QStringLiteral("24%"));
    QCOMPARE(meter.size(), QSize(555 * meter.logicalDpiX() / 1440, 2775 * meter.logicalDpiX() / 1440));
    QCOMPARE(pixelAt(meter, 10, 165), QColor(0, 255, 0));  // segment 0, lit
    QCOMPARE(pixelAt(meter, 10, 18), QColor(0, 128, 0));   // segment 49, dark

    // Free is the whole circle in blue; Used is painted over it from 12 o'clock round to 9.
    auto& pie = child<QWidget>(*window, "picPie");
    const QImage picture = pie.grab().toImage();
    const auto at = [&](int x, int y) {
        const qreal r = picture.devicePixelRatio();
        return picture.pixelColor(qRound(x * r), qRound(y * r));
    };
    QCOMPARE(at(80, 70), QColor(255, 0, 0));  // 3 o'clock
    QCOMPARE(at(50, 100), QColor(255, 0, 0)); // 6 o'clock
    QCOMPARE(at(30, 45), QColor(0, 0, 255));  // between 9 and 12
    QCOMPARE(at(125, 58), QColor(0, 0, 255)); // legend swatch of "Free"
    QCOMPARE(at(125, 73), QColor(255, 0, 0)); // and of "Used"
}

void DriveWindowTest::forwardsTheUsersControlsAndHides()
{
    Program p;
    p.openRow(1);
    FrmIndDri* window = p.driveWindow();
    QVERIFY(window);
    const DriveWindowModel& model = p.app().frmIndDri;

    child<QScrollBar>(*window, "VScroll1").setValue(25);
    QCOMPARE(child<QLineEdit>(*window, "Text1").text(), QStringLiteral("750000"));
    QCOMPARE(child<Meter2Widget>(*window, "VMeter1").readOut()->text(), QStringLiteral("76%"));
    // On its indicator: a radio button takes clicks on its indicator and caption only.
    auto& percentage = child<QRadioButton>(*window, "Option1_1");
    QTest::mouseClick(&percentage, Qt::LeftButton, {}, QPoint(6, percentage.height() / 2));
    QCOMPARE(child<QLineEdit>(*window, "Text1").text(), QStringLiteral("75"));
    QCOMPARE(model.Option1(), 1);

    QTest::keyClicks(&child<QLineEdit>(*window, "Text1"), "x");
    QCOMPARE(model.Text1(), std::string("75x"));
    QTest::mouseClick(&child<QPushButton>(*window, "Command3"), Qt::LeftButton);
    p.h.loop.runPending();
    QCOMPARE(QString::fromStdString(p.h.dialogs.texts().back()),
             QStringLiteral("You have an improper value in the Set Minimum Space Text Box."));

    auto& lower = child<QWidget>(*window, "fraLower");
    QTest::mouseClick(&child<QPushButton>(*window, "cmdToggle"), Qt::LeftButton);
    QVERIFY(!lower.isVisible());
    QCOMPARE(window->height(), 3100 * window->logicalDpiX() / 1440);
    QTest::mouseClick(&child<QPushButton>(*window, "cmdToggle"), Qt::LeftButton);
    QVERIFY(lower.isVisible());

    QTest::mouseClick(&child<QPushButton>(*window, "cmdC"), Qt::LeftButton);
    QVERIFY(!window->isVisible());
    QVERIFY(!model.visible());

    // Opened again, the same window shows; closing it unloads and stops the refresh.
    p.openRow(0);
    QCOMPARE(p.driveWindow(), window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Drive Settings - Zembrik Volmara - /"));
    window->close();
    QVERIFY(!window->isVisible());
    QVERIFY(!p.app().frmIndDri.Timer1.Enabled());
}

QTEST_MAIN(DriveWindowTest)
#include "drive_window_test.moc"
