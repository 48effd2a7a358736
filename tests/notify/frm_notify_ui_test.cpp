#include "core/path_rules.h"
#include "fakes/fake_http.h"
#include "fakes/fake_registry.h"
#include "fakes/app_harness.h"
#include "platform/posix/files_posix.h"
#include "platform/posix/io_pool.h"
#include "platform/posix/net/posix_tcp_socket.h"
#include "ui/form1.h"
#include "ui/main_menus.h"
#include "ui/notify/frm_notify.h"
#include "ui/platform/qt_event_loop.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace volmara;

namespace {

// The program with its real main window and Qt loop, everything else on fakes.
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
        window = std::make_unique<Form1>(Services{loop, io, clock, dialogs, volumes, files, rawVolumes, volumeInfo, shell,
                                                  trash, network, systemInfo, sound, http, registry, paths, Locale{},
                                                  dir.path().toStdString(), dir.path().toStdString()});
        window->Form_Load();
        if (!QTest::qWaitFor([this] { return window->model().startedUp(); }, 10000))
            qWarning("start-up did not end within 10 s");
    }

    NotifyModel& model() { return window->model().app().frmNotify; }
    FrmNotify* notifyWindow() { return window->findChild<FrmNotify*>(); }
    template <typename W>
    W* widget(const char* name)
    {
        return notifyWindow()->findChild<W*>(QString::fromLatin1(name));
    }
    void open() { window->menus().mnuFunc()->findChild<QAction*>(QStringLiteral("mnuNotif"))->trigger(); }
};

// A listening socket on 127.0.0.1 served by a thread: greets, echoes one line back, closes.
struct LineServer {
    int listener = -1;
    int port = 0;
    std::thread thread;

    LineServer()
    {
        listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        socklen_t length = sizeof(address);
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
        ::listen(listener, 1);
        thread = std::thread([this] {
            const int peer = ::accept(listener, nullptr, nullptr);
            if (peer < 0)
                return;
            const std::string greeting = "220 ready\r\n";
            ::send(peer, greeting.data(), greeting.size(), MSG_NOSIGNAL);
            std::string line;
            char c = 0;
            while (::recv(peer, &c, 1, 0) == 1 && c != '\n')
                line += c;
            const auto reply = "250 " + line + "\n";
            ::send(peer, reply.data(), reply.size(), MSG_NOSIGNAL);
            ::close(peer);
        });
    }
    ~LineServer()
    {
        ::shutdown(listener, SHUT_RDWR);
        thread.join();
        ::close(listener);
    }
};

} // namespace

class FrmNotifyUiTest final : public QObject {
    Q_OBJECT

private slots:
    void opensFromTheMainWindowAndEditsTheModel();
    void sendNowAsksAndShowsTheStatus();
    void securityLabelFollowsPortAndUser();
    void qtLoopWatchesDescriptors();
    void socketConnectsAndReadsOnTheQtLoop();
};

void FrmNotifyUiTest::opensFromTheMainWindowAndEditsTheModel()
{
    Program p;
    QVERIFY(!p.notifyWindow()); // created on first show
    p.open();
    auto* window = p.notifyWindow();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Notification Settings"));
    auto* tabs = p.widget<QTabBar>("TabStrip1");
    QCOMPARE(tabs->count(), 4);
    QCOMPARE(tabs->tabText(3), QStringLiteral("Email Acct. Info:"));

    tabs->setCurrentIndex(3);
    QCOMPARE(p.model().TabStrip1(), NotifyTab::EmailAcctInfo);
    auto* server = p.widget<QLineEdit>("txtMailServer");
    QVERIFY(server->isVisible());
    QTest::keyClicks(server, QStringLiteral("mail.example.com"));
    QCOMPARE(p.window->model().app().settings.txtMailServer, std::string("mail.example.com"));
    QCOMPARE(p.widget<QLineEdit>("txtMailPort")->text(), QStringLiteral("25"));
    QCOMPARE(p.widget<QLineEdit>("txtMailSubj")->text(), QStringLiteral("Zembrik Volmara: system info"));
    QCOMPARE(p.widget<QLineEdit>("txtPass")->echoMode(), QLineEdit::Password);

    auto* recipients = p.widget<QComboBox>("cboNotEmail");
    QTest::keyClicks(recipients->lineEdit(), QStringLiteral(" ann@example.com "));
    QTest::mouseClick(p.widget<QPushButton>("cmdAdd"), Qt::LeftButton);
    QCOMPARE(recipients->count(), 1);
    QCOMPARE(recipients->itemText(0), QStringLiteral("ann@example.com"));
    QTest::keyClick(recipients->lineEdit(), Qt::Key_Return);
    QCOMPARE(recipients->count(), 2);
    QCOMPARE(recipients->itemText(1), QStringLiteral(" ann@example.com "));
    QTest::mouseClick(p.widget<QPushButton>("cmdClearAll"), Qt::LeftButton);
    QCOMPARE(recipients->count(), 0);

    auto* proxy = p.widget<QLineEdit>("txtProxy");
    QVERIFY(!proxy->isEnabled());
    p.widget<QCheckBox>("chkProxy")->click();
    QVERIFY(proxy->isEnabled());
    QCOMPARE(p.model().chkProxy(), 1);

    tabs->setCurrentIndex(0);
    auto* content = p.widget<QListWidget>("lstNotContent");
    QVERIFY(content->isVisible());
    QCOMPARE(content->count(), 10);
    QCOMPARE(content->item(2)->text(), QStringLiteral("Info. on Listed Drive/Path(s)"));
    // Ticking item 6 with no file named asks; No unticks it again.
    p.dialogs.answers = {MsgAnswer::No};
    content->item(6)->setCheckState(Qt::Checked);
    QTRY_COMPARE(content->item(6)->checkState(), Qt::Unchecked);
    QCOMPARE(p.dialogs.texts().back(), std::string("A text base file must be specified.  Select a file now?"));

    QTest::mouseClick(p.widget<QPushButton>("cmdCancel"), Qt::LeftButton);
    QVERIFY(!window->isVisible());
    p.open();
    QCOMPARE(p.notifyWindow(), window);
    QVERIFY(window->isVisible());
    window->close(); // the close button hides it too
    QVERIFY(!window->isVisible());
    QVERIFY(!p.model().visible());
}

void FrmNotifyUiTest::sendNowAsksAndShowsTheStatus()
{
    Program p;
    p.model().setText(NotifyText::txtMailServer, "mail.example.com");
    p.model().setText(NotifyText::txtYourEmail, "me@example.com");
    p.window->model().app().settings.cboNotEmail = {"ann@example.com"};
    p.open();
    p.dialogs.answers = {MsgAnswer::Yes};
    QTest::mouseClick(p.widget<QPushButton>("cmdSendNow"), Qt::LeftButton);
    QTRY_COMPARE(p.widget<QLabel>("StatusTxt")->text(), QStringLiteral("Ready - Emails sent: 1"));
    QCOMPARE(p.dialogs.texts().back(), std::string("Are you sure you want to send notifications now?"));
    QCOMPARE(p.network.server.messages.size(), std::size_t{1});

    QTest::mouseClick(p.widget<QPushButton>("cmdNTEvt"), Qt::LeftButton);
    QTRY_COMPARE(p.systemInfo.netstatRuns, 1);
}

void FrmNotifyUiTest::securityLabelFollowsPortAndUser()
{
    Program p;
    p.open();
    p.widget<QTabBar>("TabStrip1")->setCurrentIndex(3);
    auto* security = p.widget<QLabel>("lblMailSecurity");
    QCOMPARE(security->text(), QStringLiteral("Security: none"));
    QTest::keyClicks(p.widget<QLineEdit>("txtUser"), QStringLiteral("ann"));
    QCOMPARE(security->text(), QStringLiteral("Security: STARTTLS"));
    auto* port = p.widget<QLineEdit>("txtMailPort");
    port->selectAll();
    QTest::keyClicks(port, QStringLiteral("465"));
    QCOMPARE(security->text(), QStringLiteral("Security: TLS"));
    // Through the proxy, the proxy's port decides.
    p.widget<QCheckBox>("chkProxy")->click();
    QTest::keyClicks(p.widget<QLineEdit>("txtPort"), QStringLiteral("587"));
    QCOMPARE(security->text(), QStringLiteral("Security: STARTTLS"));
}

void FrmNotifyUiTest::qtLoopWatchesDescriptors()
{
    QtEventLoop loop;
    int ends[2];
    QCOMPARE(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, ends), 0);
    int calls = 0;
    std::unique_ptr<FdWatch> watch;
    // Ends itself from inside its own call, as a socket does at the end of the stream.
    watch = loop.watchFd(ends[0], FdInterest::Readable, [&] {
        ++calls;
        watch.reset();
    });
    QTest::qWait(20);
    QCOMPARE(calls, 0);
    QCOMPARE(::write(ends[1], "x", 1), ssize_t{1});
    QTRY_COMPARE(calls, 1);
    QTest::qWait(20);
    QCOMPARE(calls, 1); // ended: the unread byte calls no more

    bool writable = false;
    auto writeWatch = loop.watchFd(ends[1], FdInterest::Writable, [&] { writable = true; });
    QTRY_VERIFY(writable);
    ::close(ends[0]);
    ::close(ends[1]);
}

void FrmNotifyUiTest::socketConnectsAndReadsOnTheQtLoop()
{
    LineServer server;
    QtEventLoop loop;
    PosixIoPool io(loop);
    PosixTcpSocket socket(loop, io);
    socket.Connect("127.0.0.1", server.port);
    QTRY_COMPARE(socket.State(), SocketState::Connected);
    std::string received;
    QTRY_VERIFY((received += socket.GetData()) == "220 ready\r\n");
    socket.SendData("helo box\r\n");
    QTRY_VERIFY((received += socket.GetData()).ends_with("250 helo box\r\n"));
    QTRY_COMPARE(socket.State(), SocketState::Closing);
    socket.Close();
    QCOMPARE(socket.State(), SocketState::Closed);
}

QTEST_MAIN(FrmNotifyUiTest)
#include "frm_notify_ui_test.moc"
