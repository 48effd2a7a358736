// The main window's view toggle and least size on the offscreen platform.
#include "fakes/app_harness.h"
#include "ui/form1.h"

#include <QSignalSpy>
#include <QTest>

using namespace volmara;

class MainLayoutUiTest final : public QObject {
    Q_OBJECT
private slots:
    void toggleSwitchesBetweenFullAndUpperRegion();
    void tooNarrowOrTooLowFollowsTheRules();
};

void MainLayoutUiTest::toggleSwitchesBetweenFullAndUpperRegion()
{
    test::AppHarness h;
    Form1 form(h.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.height() >= toPixels(kFullHeight));
    const int full = form.height();
    QVERIFY(form.width() >= toPixels(kMinWidth));
    QCOMPARE(form.viewCaption(), QStringLiteral("View"));
    QVERIFY(form.fullView());
    auto* frame1 = form.findChild<QWidget*>(QStringLiteral("Frame1"));
    auto* frame5 = form.findChild<QWidget*>(QStringLiteral("Frame5"));
    QVERIFY(frame1 && frame5);
    QSignalSpy changed(&form, &Form1::viewChanged);

    form.toggleView();
    QTRY_VERIFY(form.height() < full);
    QCOMPARE(form.viewCaption(), QStringLiteral("View +"));
    QVERIFY(!form.fullView());
    QVERIFY(frame1->isHidden() && frame5->isHidden());
    QVERIFY(!form.findChild<QWidget*>(QStringLiteral("frmSp"))->isVisible());

    form.toggleView();
    QTRY_COMPARE(form.height(), full);
    QCOMPARE(form.viewCaption(), QStringLiteral("View -"));
    QVERIFY(!frame1->isHidden() && !frame5->isHidden());
    QCOMPARE(changed.count(), 2);
}

void MainLayoutUiTest::tooNarrowOrTooLowFollowsTheRules()
{
    test::AppHarness h;
    Form1 form(h.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.resize(toPixels(7000), form.height());
    QTRY_COMPARE(form.width(), form.minimumWidth());
    QVERIFY(form.minimumWidth() >= toPixels(kMinWidth));
    // The window never shrinks below its pages; a compact view made taller shows them again.
    form.toggleView();
    QTRY_VERIFY(!form.findChild<QWidget*>(QStringLiteral("frmSp"))->isVisible());
    form.resize(form.width(), form.height() + 200);
    QTRY_VERIFY(form.findChild<QWidget*>(QStringLiteral("frmSp"))->isVisible());
    QVERIFY(form.findChild<QWidget*>(QStringLiteral("Frame1"))->isHidden());
}

QTEST_MAIN(MainLayoutUiTest)
#include "main_layout_ui_test.moc"
