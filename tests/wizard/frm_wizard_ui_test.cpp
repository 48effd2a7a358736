#include "fakes/app_harness.h"
#include "ui/wizard/frm_wizard.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

using namespace volmara;

namespace {

// The wizard window over the model of a started program on fakes, owned by a plain window.
struct Program {
    test::AppHarness h;
    QWidget owner;

    Program()
    {
        h.files.files["/opt/volmara/set.dat"] = "";
        h.load();
    }
    WizardModel& model() { return h.app().frmWizard; }
    FrmWizard* window() { return owner.findChild<FrmWizard*>(); }
    template <typename W>
    W* widget(const char* name)
    {
        auto* found = window()->findChild<W*>(QString::fromLatin1(name));
        if (!found)
            qFatal("no widget %s", name);
        return found;
    }
    QString counter() { return widget<QLabel>("lblOp")->text(); }
};

} // namespace

class FrmWizardUiTest final : public QObject {
    Q_OBJECT
private slots:
    void pagesThroughAndApplies();
};

void FrmWizardUiTest::pagesThroughAndApplies()
{
    Program p;
    FrmWizard::showFor(p.model(), p.owner);
    QVERIFY(p.window()->isVisible());
    QCOMPARE(p.window()->windowTitle(), QStringLiteral("Volmara Wizard/Pref."));
    QCOMPARE(p.counter(), QStringLiteral("Options: 1/7"));
    QVERIFY(!p.widget<QPushButton>("cmdReverse")->isEnabled());
    QVERIFY(!p.widget<QPushButton>("cmdApply")->isEnabled());

    QTest::mouseClick(p.widget<QCheckBox>("chkop0"), Qt::LeftButton);
    QCOMPARE(p.widget<QLineEdit>("txtFreeSpace")->text(), QStringLiteral("350000"));
    QTest::mousePress(p.window()->findChild<QStackedWidget*>()->currentWidget(), Qt::LeftButton);
    QVERIFY(p.widget<QPushButton>("cmdApply")->isEnabled());

    for (int i = 0; i < 6; ++i)
        QTest::mouseClick(p.widget<QPushButton>("cmdProgress"), Qt::LeftButton);
    QCOMPARE(p.counter(), QStringLiteral("Options: 7/7"));
    QVERIFY(!p.widget<QPushButton>("cmdProgress")->isEnabled());
    QVERIFY(p.widget<QPushButton>("cmdReverse")->isEnabled());

    auto* programText = p.widget<QLineEdit>("cboProg");
    QVERIFY(programText->isVisible());
    QTest::keyClicks(programText, QStringLiteral("/usr/bin/tidy"));
    QTest::mouseClick(p.widget<QPushButton>("cmdPAdd"), Qt::LeftButton);
    p.h.loop.runPending();
    QCOMPARE(p.widget<QListWidget>("cboProgItems")->count(), 1);

    QTest::mouseClick(p.widget<QPushButton>("cmdOK"), Qt::LeftButton);
    QVERIFY(!p.window()->isVisible());
    QCOMPARE(QString::fromStdString(p.h.app().settings.txtSpace), QStringLiteral("350000"));
    QCOMPARE(p.h.app().cboProg, (std::vector<std::string>{"/usr/bin/tidy"}));

    // Opened again: the same window, on the same page, with the same answers.
    FrmWizard::showFor(p.model(), p.owner);
    QCOMPARE(p.owner.findChildren<FrmWizard*>().size(), 1);
    QVERIFY(p.window()->isVisible());
    QCOMPARE(p.counter(), QStringLiteral("Options: 7/7"));
    QCOMPARE(p.widget<QLineEdit>("txtFreeSpace")->text(), QStringLiteral("350000"));
}

QTEST_MAIN(FrmWizardUiTest)
#include "frm_wizard_ui_test.moc"
