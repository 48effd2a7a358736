// The main window's toolbar and pop-up menus on the offscreen platform.
#include "fakes/app_harness.h"
#include "shell/main_commands.h"
#include "ui/form1.h"
#include "ui/main_menus.h"
#include "ui/watch_list_view.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace volmara;

class MainCommandsUiTest final : public QObject {
    Q_OBJECT
private slots:
    void toolbarShowsItsButtonsAndTheViewButtonFollowsItsCaption();
    void programSettingsItemBringsTheFullViewOrSaysItIsShown();
    void menusCarryEveryItemAndTheWindowOptionsApply();
    void watchListMenuOnlyOverEntries();
};

namespace {

QAction* action(const QObject& parent, const char* name)
{
    return parent.findChild<QAction*>(QString::fromLatin1(name));
}

} // namespace

void MainCommandsUiTest::toolbarShowsItsButtonsAndTheViewButtonFollowsItsCaption()
{
    test::AppHarness h;
    Form1 form(h.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const auto actions = form.findChild<QToolBar*>(QStringLiteral("Toolbar1"))->actions();
    QStringList captions;
    for (const auto* a : actions)
        if (!a->text().isEmpty() || a->isSeparator())
            captions << (a->isSeparator() ? QStringLiteral("|") : a->text());
    QCOMPARE(captions, (QStringList{"Start", "Wizard Settings", "Adv. Info", "Functions", "View", "|", "Help"}));
    QCOMPARE(action(form, "Toolbar1Button7")->toolTip(), QStringLiteral("Help "));
    for (const char* name : {"Toolbar1Button2", "Toolbar1Button4", "Toolbar1Button7"})
        QVERIFY2(!action(form, name)->icon().isNull(), name);

    form.findChild<QToolButton*>(QStringLiteral("Picture1"))->click();
    QVERIFY(form.model().app().frmAbout.visible());

    auto* view = action(form, "Toolbar1Button5");
    view->trigger();
    QTRY_VERIFY(!form.fullView());
    QCOMPARE(view->text(), QStringLiteral("View +"));
    view->trigger(); // "View +" still holds "View"
    QTRY_VERIFY(form.fullView());
    QCOMPARE(view->text(), QStringLiteral("View -"));
}

void MainCommandsUiTest::programSettingsItemBringsTheFullViewOrSaysItIsShown()
{
    test::AppHarness h;
    Form1 form(h.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* item = action(*form.menus().mnuFunc(), "mnuProgSet");
    const int full = form.height();
    item->trigger();
    h.loop.runPending();
    QCOMPARE(h.dialogs.texts().back(), QString::fromLatin1(kSettingsAlreadyShown.data()).toStdString());
    QCOMPARE(form.height(), full);

    form.toggleView();
    QTRY_VERIFY(!form.fullView());
    const auto messages = h.dialogs.texts().size();
    item->trigger();
    QTRY_VERIFY(form.fullView());
    QCOMPARE(h.dialogs.texts().size(), messages);
}

void MainCommandsUiTest::menusCarryEveryItemAndTheWindowOptionsApply()
{
    test::AppHarness h;
    Form1 form(h.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto& menus = form.menus();
    const auto expectItems = [](const QMenu& menu, const auto& items) {
        for (const auto& item : items) {
            if (item.name == kSeparator)
                continue;
            const auto name = QString::fromLatin1(item.name.data(), static_cast<qsizetype>(item.name.size()));
            auto* found = menu.findChild<QAction*>(name);
            QVERIFY2(found, qPrintable(name));
            QCOMPARE(found->text(), QString::fromLatin1(item.caption.data(), static_cast<qsizetype>(item.caption.size())));
        }
    };
    expectItems(*menus.mnuPopUp(), kMnuPopUp);
    expectItems(*menus.mnuPopUp(), kMnuHelp);
    expectItems(*menus.mnuLstV(), kMnuLstV);
    expectItems(*menus.mnuFunc(), kMnuFunc);
    expectItems(*menus.mnuFunc(), kMnuF);

    action(*menus.mnuFunc(), "mnuFadeH")->trigger();
    QCOMPARE(qRound(form.windowOpacity() * 255), 166);
    action(*menus.mnuFunc(), "mnuFadeN")->trigger();
    QCOMPARE(form.windowOpacity(), 1.0);

    auto* onTop = action(*menus.mnuFunc(), "mnuStayOnTop");
    onTop->trigger();
    QVERIFY(onTop->isChecked());
    QVERIFY(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QTRY_VERIFY(form.isVisible());
    onTop->trigger();
    QVERIFY(!form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    auto* hide = action(*menus.mnuPopUp(), "mnuHide");
    hide->trigger();
    QTRY_VERIFY(!form.isVisible());
    QVERIFY(hide->isChecked());
    hide->trigger();
    QTRY_VERIFY(form.isVisible());

    // The tray's right button pops up the tray menu.
    QVERIFY(form.model().app().sysWorkSystray.popUpMenu);
}

void MainCommandsUiTest::watchListMenuOnlyOverEntries()
{
    test::AppHarness h;
    Form1 form(h.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* list = form.watchList();
    QSignalSpy wanted(list, &WatchListView::menuWanted);
    QTest::mouseRelease(list->viewport(), Qt::RightButton, {}, QPoint(20, 20));
    QCOMPARE(wanted.count(), 0);

    WatchEntry root;
    root.path = "/";
    form.model().app().ListView1.append(root);
    list->refresh();
    QTest::mouseRelease(list->viewport(), Qt::RightButton, {}, QPoint(20, 20));
    QCOMPARE(wanted.count(), 1);
}

QTEST_MAIN(MainCommandsUiTest)
#include "main_commands_ui_test.moc"
