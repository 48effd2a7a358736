// The lock window, the about box and the Config page's shell commands on the offscreen platform.
#include "core/path_rules.h"
#include "fakes/app_harness.h"
#include "platform/posix/files_posix.h"
#include "platform/posix/io_pool.h"
#include "shell/registry_keys.h"
#include "shell/shell_commands.h"
#include "ui/about/frm_about_window.h"
#include "ui/form1.h"
#include "ui/main_menus.h"
#include "ui/link_label.h"
#include "ui/lock/frm_lock_window.h"
#include "ui/platform/qt_event_loop.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QAction>
#include <QMenu>
#include <QTest>

#include <memory>

using namespace volmara;

namespace {

struct Program {
    QTemporaryDir dir;
    QtEventLoop loop;
    PosixIoPool io{loop};
    test::ManualClock clock;
    test::ScriptedDialogs dialogs{loop};
    test::FakeVolumes volumes;
    PosixFiles files;
    testing::MemoryVolumes rawVolumes;
    testing::FakeVolumeInfo volumeInfo;
    test::FakeShell shell;
    test::FakeTrash trash;
    test::FakeNetwork network;
    test::FakeSystemInfo systemInfo;
    test::FakeSound sound;
    test::FakeHttp http;
    test::FakeRegistry registry;
    PosixPathRules paths{volumes};
    std::unique_ptr<Form1> window;

    Program()
    {
        volumes.add("/", 40'000'000, 80'000'000);
        const auto folder = dir.path().toStdString();
        window = std::make_unique<Form1>(Services{loop, io, clock, dialogs, volumes, files, rawVolumes, volumeInfo, shell,
                                                  trash, network, systemInfo, sound, http, registry, paths, Locale{},
                                                  folder, folder});
        window->Form_Load();
        if (!QTest::qWaitFor([this] { return window->model().startedUp(); }, 10000))
            qWarning("start-up did not end within 10 s");
    }

    AppState& app() { return window->model().app(); }
    template <typename W>
    W* find(const char* name)
    {
        return window->findChild<W*>(QString::fromLatin1(name));
    }
    void click(const char* linkName)
    {
        auto* link = find<LinkLabel>(linkName);
        QVERIFY2(link, linkName);
        QTest::mouseClick(link, Qt::LeftButton);
    }
    void lockFromTheTrayMenu()
    {
        window->menus().mnuPopUp()->findChild<QAction*>(QStringLiteral("mnuLock"))->trigger();
    }
    bool messageShown(std::string_view text)
    {
        const bool shown = QTest::qWaitFor([&] {
            const auto texts = dialogs.texts();
            return !texts.empty() && texts.back() == text;
        }, 5000);
        if (!shown)
            for (const auto& t : dialogs.texts())
                qWarning("shown: %s", t.c_str());
        // The message is answered before the user types on.
        return shown && QTest::qWaitFor([&] { return !app().frmLock.busy(); }, 5000);
    }
};

} // namespace

class ShellUiTest : public QObject {
    Q_OBJECT
private slots:
    void withoutATrayShowInSystrayAndTheLockSaySo()
    {
        Program p;
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
        QVERIFY(!p.app().sysWorkSystray.iconPresent());

        auto* box = p.find<QCheckBox>("chkSystray");
        QVERIFY(box);
        if (box->isChecked())
            box->click(); // unticked: the main window stays, the icon goes
        QVERIFY(p.window->isVisible());
        box->click();
        QVERIFY(p.messageShown(kNoSystemTray));

        p.lockFromTheTrayMenu();
        auto* lock = p.window->findChild<FrmLockWindow*>();
        QVERIFY(lock && lock->isVisible());
        auto* text = lock->findChild<QLineEdit*>(QStringLiteral("Text1"));
        QTest::keyClicks(text, QStringLiteral("Secret"));
        QTest::keyClick(text, Qt::Key_Return);
        QVERIFY(p.messageShown(kNoTrayToLock));
        QVERIFY(!p.app().frmLock.g_bolLocked);
        QVERIFY(p.window->isVisible());
    }

    void theLockWindowLocksWithEnterAndUnlocksWithTheSamePassword()
    {
        Program p;
        // A desktop with a tray, as far as the program can tell.
        p.app().sysWorkSystray.systemTrayAvailable = [] { return true; };
        p.lockFromTheTrayMenu();
        auto* lock = p.window->findChild<FrmLockWindow*>();
        QVERIFY(lock && lock->isVisible());
        QCOMPARE(lock->windowTitle(), QStringLiteral("Program Lock"));
        auto* text = lock->findChild<QLineEdit*>(QStringLiteral("Text1"));
        auto* button = lock->findChild<QPushButton*>(QStringLiteral("Command1_0"));
        QCOMPARE(button->text(), QStringLiteral("Lock"));
        QCOMPARE(text->echoMode(), QLineEdit::Password);

        QTest::keyClick(text, Qt::Key_Return);
        QVERIFY(p.messageShown("A password must be entered."));

        QTest::keyClicks(text, QString(26, QLatin1Char('p')));
        QTest::keyClick(text, Qt::Key_Return);
        QVERIFY(p.messageShown("Passowrd Length cannot be over 25"));
        QVERIFY(!p.app().frmLock.g_bolLocked);

        text->clear();
        QTest::keyClicks(text, QString(25, QLatin1Char('p')));
        QTest::keyClick(text, Qt::Key_Return);
        QVERIFY(p.messageShown("The program is now lock into the systray."));
        QVERIFY(p.app().frmLock.g_bolLocked);
        QVERIFY(!lock->isVisible());
        QVERIFY(!p.window->isVisible());
        QVERIFY(p.app().sysWorkSystray.iconPresent());

        p.app().sysWorkSystray.mouseMessage(kWmLButtonDblClk);
        QVERIFY(lock->isVisible());
        QCOMPARE(button->text(), QStringLiteral("Unlock"));
        QVERIFY(text->text().isEmpty());
        QTest::keyClicks(text, QString(25, QLatin1Char('P')));
        button->click();
        QVERIFY(p.messageShown("Incorrect Password."));
        QVERIFY(!p.window->isVisible());

        text->clear();
        QTest::keyClicks(text, QString(25, QLatin1Char('p')));
        button->click();
        QVERIFY(QTest::qWaitFor([&] { return p.window->isVisible(); }, 5000));
        QVERIFY(!lock->isVisible());
        QVERIFY(!p.app().frmLock.g_bolLocked);
    }

    void theAboutBoxShowsTheVersionFollowsTheMouseAndStartsTheTool()
    {
        Program p;
        p.click("lblAbout");
        auto* about = p.window->findChild<FrmAboutWindow*>();
        QVERIFY(about && about->isVisible());
        QCOMPARE(about->windowTitle(), QStringLiteral("About Volmara"));
        QCOMPARE(about->findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
                 QString::fromStdString(versionText(kProgramVersion)));
        const auto& model = p.app().frmAbout;
        QCOMPARE(model.lines()[0].p2.x, about->width() / 2.0);
        QCOMPARE(model.lines()[0].p2.y, double(about->height()));

        QMouseEvent move(QEvent::MouseMove, QPointF(5, 7), about->mapToGlobal(QPointF(5, 7)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(about, &move);
        QCOMPARE(model.lines()[17].p1.x, 5.0);
        QCOMPARE(model.lines()[17].p1.y, 7.0);

        p.registry.setValue(HKEY_LOCAL_MACHINE, std::string(kMsInfoKey), "PATH", "/usr/bin/kinfocenter");
        about->findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->click();
        QVERIFY(QTest::qWaitFor([&] { return !p.shell.started.empty(); }, 5000));
        QCOMPARE(p.shell.started.front().path, std::string("/usr/bin/kinfocenter"));

        about->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        QVERIFY(!about->isVisible());
    }

    void checkUpdatesFillsTheNewVersionLabel()
    {
        Program p;
        auto& check = p.app().updateCheck;
        check.url = "http://updates.example/Volmara/status.htm";
        check.ownVersion = {1, 5};
        p.http.serve(check.url, "update=2.0");
        p.click("Label5_5");
        QVERIFY(p.messageShown(kNewerVersionMessage));
        QCOMPARE(p.find<QLabel>("lblNewVer")->text(), QStringLiteral("New update available: 2.0"));
    }
};

QTEST_MAIN(ShellUiTest)
#include "shell_ui_test.moc"
