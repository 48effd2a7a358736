// The "Spec." page's files and programs, clicked through the real widgets over real files.
#include "alerts/specified_lists.h"
#include "core/path_rules.h"
#include "fakes/fake_http.h"
#include "fakes/fake_registry.h"
#include "fakes/app_harness.h"
#include "platform/posix/files_posix.h"
#include "platform/posix/io_pool.h"
#include "ui/form1.h"
#include "ui/main_menus.h"
#include "ui/platform/qt_dialogs.h"
#include "ui/platform/qt_event_loop.h"
#include "ui/specified/properties_sheet.h"

#include <QComboBox>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QMenu>
#include <QAction>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>

#include <filesystem>
#include <memory>

using namespace volmara;

namespace {

// The program over a temporary program folder with real files, one fake drive holding it,
// scripted dialogs, a recording shell and trash, and the real Qt event loop and I/O workers.
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
        QDir(dir.path()).mkpath(QStringLiteral("data"));
        write("data/a.txt", 3072);
        write("data/b.txt", 10);
        volumes.add("/", 40'000'000, 80'000'000);
        window = std::make_unique<Form1>(Services{loop, io, clock, dialogs, volumes, files, rawVolumes, volumeInfo, shell,
                                                  trash, network, systemInfo, sound, http, registry, paths, Locale{},
                                                  folder(), folder()});
        window->Form_Load();
        if (!QTest::qWaitFor([this] { return window->model().startedUp(); }, 10000))
            qWarning("start-up did not end within 10 s");
    }

    void write(const QString& name, int bytes)
    {
        QFile file(dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(bytes, 'x'));
    }
    std::string folder() const { return dir.path().toStdString(); }
    std::string data() const { return folder() + "/data"; }
    AppState& app() { return window->model().app(); }
    template <typename W>
    W* widget(const char* name)
    {
        return window->findChild<W*>(QString::fromLatin1(name));
    }
    void click(const char* label)
    {
        auto* target = widget<QLabel>(label);
        QVERIFY2(target, label);
        QTest::mouseClick(target, Qt::LeftButton);
    }
};

QStringList column(const QTreeWidget& tree, int index)
{
    QStringList texts;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        texts << tree.topLevelItem(i)->text(index);
    return texts;
}

void dropFiles(QWidget& target, const QStringList& paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const auto& path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    const QPoint at = target.rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
}

// Stands in for the desktop's file manager on the session bus.
class FileManager final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QStringList shown;
public slots:
    Q_SCRIPTABLE void ShowItemProperties(const QStringList& uris, const QString& startupId)
    {
        Q_UNUSED(startupId);
        shown << uris;
    }
};

QDialog* openPropertiesDialog()
{
    for (auto* w : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->objectName() == "filePropertiesDialog" && dialog->isVisible())
            return dialog;
    return nullptr;
}

} // namespace

class SpecifiedUiTest final : public QObject {
    Q_OBJECT

private slots:
    void filesAreAddedShownSortedAndDeleted();
    void droppedFilesAndProgramsReachTheLists();
    void cleanUpMenuAndPathToMoveReachTheirActions();
    void propertiesComeFromTheFileManagerOrTheProgram();
    void chosenFilesKeepTheFolderThenNamesForm();
};

void SpecifiedUiTest::filesAreAddedShownSortedAndDeleted()
{
    Program p;
    QTest::mouseClick(p.widget<QLabel>("lblSpectab2"), Qt::LeftButton);
    auto* box = p.widget<QComboBox>("cboFile");
    auto* list = p.widget<QTreeWidget>("LVFile");
    QVERIFY(box && list);
    QVERIFY(list->isVisible());
    QCOMPARE(list->columnCount(), 7);
    QCOMPARE(list->headerItem()->text(2), QStringLiteral("File Path Location"));

    box->setEditText(QString::fromStdString(p.data() + ";b.txt;a.txt"));
    p.click("lblSF0");
    QTRY_COMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(box->currentText(), QString::fromStdString(p.data() + ";b.txt;a.txt;"));
    QCOMPARE(column(*list, 0), (QStringList{"b.txt", "a.txt"}));
    QCOMPARE(column(*list, 1), (QStringList{"0 KB", "3 KB"}));
    QCOMPARE(list->topLevelItem(1)->text(2), QString::fromStdString(p.data()));
    QVERIFY(!list->topLevelItem(1)->text(4).isEmpty());

    // The lists are kept for the next start, readable by the user alone.
    const auto extra = QString::fromStdString(p.folder() + "/extra.dat");
    QTRY_VERIFY(QFile::exists(extra));
    QCOMPARE(QFile::permissions(extra) & (QFile::ReadGroup | QFile::ReadOther), QFileDevice::Permissions());

    list->header()->sectionClicked(0);
    QCOMPARE(column(*list, 0), (QStringList{"b.txt", "a.txt"}));
    list->header()->sectionClicked(0);
    QCOMPARE(column(*list, 0), (QStringList{"a.txt", "b.txt"}));

    // Select b.txt with the mouse and delete it through its label.
    auto* b = list->topLevelItem(1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(b).center());
    QCOMPARE(p.app().LVFile.selected()->tag, p.data() + "/b.txt");
    p.click("lblSF3");
    QTRY_COMPARE(list->topLevelItemCount(), 1);
    QVERIFY(!QFile::exists(QString::fromStdString(p.data() + "/b.txt")));
    QVERIFY(p.app().log.txtAlert().find("- Deleted File: " + p.data() + "/b.txt") != std::string::npos);
}

void SpecifiedUiTest::droppedFilesAndProgramsReachTheLists()
{
    Program p;
    QTest::mouseClick(p.widget<QLabel>("lblSpectab2"), Qt::LeftButton);
    auto* files = p.widget<QTreeWidget>("LVFile");
    dropFiles(*files->viewport(), {QString::fromStdString(p.data() + "/a.txt"), QString::fromStdString(p.data() + "/b.txt")});
    QTRY_COMPARE(files->topLevelItemCount(), 2);
    auto* box = p.widget<QComboBox>("cboFile");
    dropFiles(*box->lineEdit(), {QString::fromStdString(p.data() + "/a.txt")});
    QCOMPARE(box->currentText(), QString::fromStdString(p.data() + "/a.txt"));

    QTest::mouseClick(p.widget<QLabel>("lblSpectab0"), Qt::LeftButton);
    auto* programs = p.widget<QTreeWidget>("LVProg");
    auto* cboProg = p.widget<QComboBox>("cboProg");
    QVERIFY(programs && cboProg && programs->isVisible());
    QCOMPARE(programs->headerItem()->text(2), QStringLiteral("File Path "));
    cboProg->setEditText(QString::fromStdString(p.data() + "/a.txt"));
    p.click("Label5_0");
    QTRY_COMPARE(programs->topLevelItemCount(), 1);
    QCOMPARE(programs->topLevelItem(0)->text(0), QStringLiteral("a.txt"));
    QCOMPARE(programs->topLevelItem(0)->text(1), QStringLiteral("Execute"));
    QTest::mouseClick(programs->viewport(), Qt::LeftButton, {}, programs->visualItemRect(programs->topLevelItem(0)).center());
    p.click("Label5_3");
    QTRY_COMPARE(p.shell.started.size(), std::size_t(1));
    QCOMPARE(p.shell.started.front().path, p.data() + "/a.txt");
    QCOMPARE(p.shell.started.front().parameters, std::vector<std::string>{"0"});
}

void SpecifiedUiTest::cleanUpMenuAndPathToMoveReachTheirActions()
{
    Program p;
    const auto menuItem = [&](const char* name) {
        auto* item = p.window->menus().mnuFunc()->findChild<QAction*>(QString::fromLatin1(name));
        QVERIFY2(item, name);
        item->trigger();
    };
    menuItem("mnuRecyc");
    QTRY_COMPARE(p.shell.opened, std::vector<std::string>{"trash:///"});
    menuItem("mnuDefrag");
    QVERIFY(p.dialogs.texts().back().starts_with("No defragmenter can be started from Volmara"));

    QTest::mouseClick(p.widget<QLabel>("lblSpectab2"), Qt::LeftButton);
    auto* path = p.widget<QLineEdit>("txtDriveFiles");
    QVERIFY(path);
    p.dialogs.folders.push_back(p.data());
    p.click("lblFolder");
    QTRY_COMPARE(path->text(), QString::fromStdString(p.data()));
    // The box of "Path/Space/Types" shows the same setting.
    QCOMPARE(p.widget<QLineEdit>("txtDrive")->text(), path->text());
}

void SpecifiedUiTest::propertiesComeFromTheFileManagerOrTheProgram()
{
    PropertiesSheet sheet;
    const PropertiesRequest request{"/data/a b.txt", {{"Type", "plain text document"}, {"Size", "3 KB"}}};
    auto bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        FileManager manager;
        QVERIFY(bus.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &manager,
                                   QDBusConnection::ExportScriptableSlots));
        QVERIFY(bus.registerService(QStringLiteral("org.freedesktop.FileManager1")));
        sheet.show(request);
        QTRY_COMPARE(manager.shown, QStringList{QStringLiteral("file:///data/a%20b.txt")});
        QVERIFY(!openPropertiesDialog());
        bus.unregisterService(QStringLiteral("org.freedesktop.FileManager1"));
        bus.unregisterObject(QStringLiteral("/org/freedesktop/FileManager1"));
    } else {
        qInfo("no session bus: only the program's own window is tried");
    }
    sheet.show(request);
    QTRY_VERIFY(openPropertiesDialog());
    auto* dialog = openPropertiesDialog();
    QCOMPARE(dialog->windowTitle(), QStringLiteral("a b.txt Properties"));
    QStringList texts;
    for (auto* label : dialog->findChildren<QLabel*>())
        texts << label->text();
    QVERIFY(texts.contains(QStringLiteral("plain text document")));
    QVERIFY(texts.contains(QStringLiteral("3 KB")));
    dialog->close();
}

void SpecifiedUiTest::chosenFilesKeepTheFolderThenNamesForm()
{
    QCOMPARE(multiSelection({QStringLiteral("/data/one file.txt")}), std::string("/data/one file.txt"));
    QCOMPARE(multiSelection({QStringLiteral("/data/a.txt"), QStringLiteral("/data/b.txt")}),
             std::string("/data") + '\0' + "a.txt" + '\0' + "b.txt");
}

QTEST_MAIN(SpecifiedUiTest)
#include "specified_ui_test.moc"
