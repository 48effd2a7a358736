// The alert dialog's window, the animation, the play buttons and the sound on the offscreen
// platform, over the models on the fakes.
#include "core/avi_builder.h"
#include "fakes/app_harness.h"
#include "ui/alert/animation_view.h"
#include "ui/alert/dlg_alert.h"
#include "ui/alert/press_label.h"
#include "ui/form1.h"
#include "ui/platform/qt_sound.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace volmara;

namespace {

// A mono 16-bit WAV of `ms` milliseconds of silence.
QByteArray silentWave(int ms)
{
    const std::uint32_t rate = 22050;
    const std::size_t bytes = rate * 2 * static_cast<std::size_t>(ms) / 1000;
    using namespace test::riff;
    const std::string fmt = chunk("fmt ", u16(1) + u16(1) + u32(rate) + u32(rate * 2) + u16(2) + u16(16));
    const std::string wav = chunk("RIFF", "WAVE" + fmt + chunk("data", std::string(bytes, '\0')));
    return QByteArray(wav.data(), static_cast<qsizetype>(wav.size()));
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QColor background(const QWidget* w) { return w->palette().color(QPalette::Window); }

} // namespace

class AlertUiTest final : public QObject {
    Q_OBJECT

private slots:
    void dialogWindowFollowsItsModel();
    void animationPlaysTheLoadedClip();
    void playButtonsReachTheSound();
    void soundWaitEndsWithTheClip_data();
    void soundWaitEndsWithTheClip();
};

void AlertUiTest::dialogWindowFollowsItsModel()
{
    test::AppHarness h;
    h.volumes.add("/", 900000, 2000000);
    h.load();
    h.app().Timer1.setEnabled(false);
    auto& model = h.app().dlgAlert;
    QWidget owner;

    QVERIFY(!DlgAlert::attach(model, owner));
    QVERIFY2(!owner.findChild<DlgAlert*>(), "no window before the dialog is first shown");
    model.prepend("12/10/26 09:30:10 - ALERT: first\r\n . \r\n");
    model.show();
    QPointer<DlgAlert> window = owner.findChild<DlgAlert*>();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Alert"));
    QVERIFY(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(window->findChild<QPlainTextEdit*>(QStringLiteral("Label1"))->toPlainText(),
             QStringLiteral("12/10/26 09:30:10 - ALERT: first\n . \n"));
    QCOMPARE(window->height(), 4200 / 15);

    auto* action = window->findChild<PressLabel*>(QStringLiteral("lblAl4"));
    QTest::mousePress(action, Qt::LeftButton);
    QCOMPARE(background(action), QColor(128, 255, 128));
    QTest::mouseRelease(action, Qt::LeftButton);
    QCOMPARE(background(action), QColor(0, 0, 0));
    QCOMPARE(model.heightTwips(), kAlertFullHeight);
    QCOMPARE(window->height(), 8200 / 15);

    auto* move = window->findChild<PressLabel*>(QStringLiteral("lblAct0"));
    QTest::mouseClick(move, Qt::LeftButton);
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("lblSuggest"))->text(),
             QStringLiteral("You can select files to be moved to another path to free up space."));
    QCOMPARE(background(move), QColor(224, 224, 224));
    QCOMPARE(move->frameShape(), QFrame::Box);

    window->findChild<QCheckBox*>(QStringLiteral("chkLog"))->click();
    QVERIFY(!model.chkLog());
    QVERIFY(window->findChild<QPlainTextEdit*>(QStringLiteral("Label1"))->isHidden());

    QTest::mouseClick(window->findChild<PressLabel*>(QStringLiteral("lblAl0")), Qt::LeftButton);
    QVERIFY(!model.visible());
    QVERIFY(window && window->isHidden());

    // Shown again, it is the same window; the countdown hides it, as do Escape and closing.
    model.show();
    QCOMPARE(owner.findChild<DlgAlert*>(), window.data());
    QVERIFY(window->isVisible());
    h.loop.advance(9000);
    QVERIFY(window->isHidden());
    QCOMPARE(window->windowTitle(), QStringLiteral("Alert Dialog"));
    model.show();
    QVERIFY(window->close());
    QVERIFY(!model.visible());
    QVERIFY(window);

    model.show();
    window->findChild<QCheckBox*>(QStringLiteral("chkAutoHide"))->click();
    QVERIFY(!model.chkAutoHide());
    h.loop.advance(60000);
    QVERIFY(window->isVisible());
}

void AlertUiTest::animationPlaysTheLoadedClip()
{
    test::FakeFiles files;
    test::ClipShape shape;
    shape.frames = 3;
    shape.microSecPerFrame = 20000;
    files.files["/opt/volmara/spin.avi"] = test::buildClip(shape);
    Animation model(files, "/opt/volmara");
    AnimationView view(model);
    QCOMPARE(view.frameCount(), 0);

    model.prcSrvAnimation(1, 0);
    QCOMPARE(view.frameCount(), 3);
    QCOMPARE(view.size(), QSize(4, 3));
    QVERIFY(view.running());
    QVERIFY(QTest::qWaitFor([&] { return view.frameShown() == 2; }, 5000));
    const QImage shown = view.pixmap().toImage();
    QCOMPARE(shown.pixel(1, 0), QRgb(test::clipColour(1, 0, 2)));

    model.prcSrvAnimation(0, 0);
    QVERIFY(!view.running());
}

void AlertUiTest::playButtonsReachTheSound()
{
    test::AppHarness h;
    h.files.files["/opt/volmara/sound/alert.WAV"] = "RIFF";
    Form1 window(Services{h.loop, h.io, h.clock, h.dialogs, h.volumes, h.files, h.rawVolumes, h.volumeInfo, h.shell,
                          h.trash, h.network, h.systemInfo, h.sound, h.http, h.registry, h.paths, Locale{},
                          "/opt/volmara", "/home/user"});
    QVERIFY(window.findChild<AnimationView*>(QStringLiteral("Animation1")));
    window.model().app().settings.txtAudio[1] = "/opt/volmara/sound/alert.WAV";
    window.findChild<QPushButton*>(QStringLiteral("cmdPlay1"))->click();
    h.loop.runPending();
    QCOMPARE(h.sound.played, std::vector<std::string>{"/opt/volmara/sound/alert.WAV"});
}

void AlertUiTest::soundWaitEndsWithTheClip_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("claimsDevice");
    QTest::newRow("a device that never reports the end") << silentWave(300) << true;
    QTest::newRow("no device") << silentWave(300) << false;
    QTest::newRow("not a WAV") << QByteArray("not a sound at all") << true;
}

void AlertUiTest::soundWaitEndsWithTheClip()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, claimsDevice);
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("clip.wav"), content);

    // The offscreen machine has no audio device; claiming one makes the effect load and never
    // report the end, which is what the clip's own length must bound.
    QtSound sound([claimsDevice] { return claimsDevice; });
    bool played = false;
    sound.startPlaying(path.toStdString(), [&] { played = true; });
    QVERIFY2(!played, "the end is reported from the event loop");
    QVERIFY(QTest::qWaitFor([&] { return played; }, 10000));

    int ends = 0;
    sound.startPlaying(dir.filePath(QStringLiteral("missing.wav")).toStdString(), [&] { ++ends; });
    QVERIFY(QTest::qWaitFor([&] { return ends == 1; }, 10000));
    QTest::qWait(50);
    QCOMPARE(ends, 1);
}

QTEST_MAIN(AlertUiTest)
#include "alert_ui_test.moc"
