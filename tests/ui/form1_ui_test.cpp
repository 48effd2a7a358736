#include "core/form1_model.h"
#include "core/path_rules.h"
#include "fakes/app_harness.h"
#include "fakes/fake_raw_volumes.h"
#include "fakes/fake_volumes.h"
#include "fakes/manual_event_loop.h"
#include "fakes/scripted_dialogs.h"
#include "platform/posix/files_posix.h"
#include "platform/posix/io_pool.h"
#include "ui/form1.h"
#include "ui/platform/qt_dialogs.h"
#include "ui/platform/qt_event_loop.h"
#include "ui/platform/qt_locale.h"
#include "ui/shutdown_signals.h"
#include "ui/watch_list_view.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>
#include <QTimeEdit>
#include <QToolButton>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>
#include <csignal>
#include <memory>

using namespace volmara;

namespace {

// The program on a temporary program folder with real files, two fake drives (the second far
// below the default trigger of 50000 KB), scripted dialogs and the real Qt event loop.
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
        QDir(dir.path()).mkpath(QStringLiteral("small/sub"));
        volumes.add("/", 40'000'000, 80'000'000);
        volumes.add(smallRoot(), 10'000, 1'000'000);
        // The home folder lies on "/", so a first run ticks that drive only.
        window = std::make_unique<Form1>(
            Services{loop, io, clock, dialogs, volumes, files, rawVolumes, volumeInfo, shell, trash, network, systemInfo, sound, http, registry, paths, Locale{}, folder(), folder()});
        // A first run would open the wizard over the window; these tests are about the main window.
        window->model().app().frmWizard.openWindow = nullptr;
        window->Form_Load();
        // The drives are measured on the I/O workers; start-up ends when their answers are in.
        if (!QTest::qWaitFor([this] { return window->model().startedUp(); }, 10000))
            qWarning("start-up did not end within 10 s");
    }

    std::string folder() const { return dir.path().toStdString(); }
    std::string smallRoot() const { return folder() + "/small/"; }
    AppState& app() { return window->model().app(); }

    QTreeWidget& list() { return *window->watchList(); }
    QTreeWidgetItem* row(const std::string& path)
    {
        const auto found = list().findItems(QString::fromStdString(path), Qt::MatchExactly, WatchList::DrivePath);
        return found.isEmpty() ? nullptr : found.front();
    }
    QString panel(int number) { return label(QStringLiteral("StatusBar1Panel%1").arg(number))->text(); }
    QLabel* label(const QString& name) { return window->findChild<QLabel*>(name); }
    template <typename W>
    W* widget(const char* name)
    {
        return window->findChild<W*>(QString::fromLatin1(name));
    }
};

QRect cellRect(QTreeWidget& tree, QTreeWidgetItem* item, int column)
{
    return tree.visualRect(tree.model()->index(tree.indexOfTopLevelItem(item), column));
}

// Where the row's check box is drawn, as the item delegate lays it out.
QPoint checkBoxPoint(QTreeWidget& tree, QTreeWidgetItem* item)
{
    QStyleOptionViewItem option;
    option.initFrom(&tree);
    option.rect = cellRect(tree, item, WatchList::DrivePath);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    return tree.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &tree).center();
}

// A widget double click as a user makes it: the first click, then the double click event.
void doubleClick(QTreeWidget& tree, QTreeWidgetItem* item, int column)
{
    const auto at = cellRect(tree, item, column).center();
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, at);
}

// The mouse moving over a row without a button down.
void hover(QTreeWidget& tree, QTreeWidgetItem* item)
{
    const auto at = cellRect(tree, item, WatchList::DrivePath).center();
    QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(tree.viewport()->mapToGlobal(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(tree.viewport(), &move);
}

QStringList columnTexts(const QTreeWidget& tree, int column)
{
    QStringList texts;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        texts << tree.topLevelItem(i)->text(column);
    return texts;
}

QStringList modelPaths(const AppState& app)
{
    QStringList paths;
    for (const auto& e : app.ListView1.rows())
        paths << QString::fromStdString(e.path);
    return paths;
}

bool shown(const test::ScriptedDialogs& dialogs, const std::string& text)
{
    const auto texts = dialogs.texts();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

QMessageBox* openMessageBox()
{
    for (auto* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
            return box;
    return nullptr;
}

} // namespace

class Form1UiTest final : public QObject {
    Q_OBJECT

private slots:
    void tickedEntryIsCheckedAndItsAlertListed();
    void triggerEditorStoresOnlyNumbers();
    void listCommandsPauseAndTabsGoThroughTheModel();
    void optionControlsApplyTheModelsRules();
    void terminationSignalRunsTheShutDown();
    void messageBoxesAnswerThroughTheLoop_data();
    void messageBoxesAnswerThroughTheLoop();
    void systemLocaleGivesSingleByteSeparators_data();
    void systemLocaleGivesSingleByteSeparators();
};

void Form1UiTest::tickedEntryIsCheckedAndItsAlertListed()
{
    Program p;
    QTRY_COMPARE(p.app().checksDone, 1); // start-up's own check of the empty list
    QCOMPARE(p.list().topLevelItemCount(), 2);
    auto* small = p.row(p.smallRoot());
    auto* root = p.row("/");
    QVERIFY(small && root);
    QCOMPARE(root->checkState(WatchList::DrivePath), Qt::Checked);
    QCOMPARE(small->checkState(WatchList::DrivePath), Qt::Unchecked);
    QCOMPARE(small->text(WatchList::FreeSpace), QStringLiteral("10,000 KB"));
    QCOMPARE(small->text(WatchList::TotalSize), QStringLiteral("1,000,000 KB"));
    QCOMPARE(p.list().headerItem()->text(WatchList::TriggerSpace), QStringLiteral("Trigger Space(KB)"));

    QTest::mouseClick(p.list().viewport(), Qt::LeftButton, {}, checkBoxPoint(p.list(), small));
    QCOMPARE(small->checkState(WatchList::DrivePath), Qt::Checked);
    const auto smallIndex = static_cast<std::size_t>(p.list().indexOfTopLevelItem(small));
    QVERIFY(p.app().ListView1.at(smallIndex).watched);

    // The interval picker still reads 00:00:00, so the next tick is a check.
    p.app().tasks.spawn(p.window->model().cycle().tick());
    QTRY_COMPARE(p.panel(3), QStringLiteral("Times Checked: 2"));
    QVERIFY(p.panel(1).startsWith(QStringLiteral("Ready. Check in ")));
    QVERIFY(p.panel(2).startsWith(QStringLiteral("Checked: ")));
    QVERIFY(!p.label(QStringLiteral("StatusBar1Picture1"))->pixmap().isNull());
    QCOMPARE(p.widget<QPushButton>("cmdPause")->text(), QStringLiteral("Pause Watch"));

    QCOMPARE(small->data(WatchList::FreeSpace, Qt::UserRole).toInt(), static_cast<int>(StatusIcon::Alert));
    QCOMPARE(root->data(WatchList::FreeSpace, Qt::UserRole).toInt(), static_cast<int>(StatusIcon::Ok));
    QVERIFY(!small->icon(WatchList::FreeSpace).isNull());
    QVERIFY(!small->text(WatchList::TimeLastChecked).isEmpty());

    auto* alerts = p.widget<QTreeWidget>("LVAlert");
    QVERIFY(alerts);
    QCOMPARE(alerts->topLevelItemCount(), 1);
    auto* alert = alerts->topLevelItem(0);
    QCOMPARE(alert->text(0), QStringLiteral("High"));
    QCOMPARE(alert->text(1), QStringLiteral("20261210 09:30"));
    QVERIFY2(alert->text(2).startsWith(QStringLiteral(" - ALERT: Space Shortage < 50000 KB")),
             qPrintable(alert->text(2)));

    // A second shortage of the same entry is suppressed; the list shows what the model holds.
    p.app().tasks.spawn(p.window->model().cycle().tick());
    QTRY_COMPARE(p.panel(3), QStringLiteral("Times Checked: 3"));
    QCOMPARE(alerts->topLevelItemCount(), static_cast<int>(p.app().log.LVAlert().size()));

    // Clearing through the page's command empties the widget too.
    auto* clear = p.label(QStringLiteral("lblAl2"));
    QVERIFY(clear);
    p.window->lblTab_Click(2);
    QTest::mouseClick(clear, Qt::LeftButton);
    QCOMPARE(alerts->topLevelItemCount(), 0);
}

void Form1UiTest::triggerEditorStoresOnlyNumbers()
{
    Program p;
    QTRY_COMPARE(p.app().checksDone, 1);
    // Focus moves only inside the active window.
    p.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(p.window.get()));
    p.window->lblTab_Click(0);
    auto* chkDrive = p.widget<QCheckBox>("chkDrive");
    auto* txtSpace = p.widget<QLineEdit>("txtSpace");
    QVERIFY(chkDrive && txtSpace);
    QVERIFY(txtSpace->isEnabled());
    chkDrive->click();
    QVERIFY(shown(p.dialogs, "Set the Listed Path's Specified Drive Space by Double Clicking on the Value shown in the List."));
    QVERIFY(!txtSpace->isEnabled());

    auto& list = p.list();
    auto* first = list.topLevelItem(0);
    auto* editor = p.window->watchList()->triggerEditor();
    QCOMPARE(first->text(WatchList::TriggerSpace), QString::fromStdString(p.app().settings.txtSpace));

    // Only the trigger column opens the editor.
    doubleClick(list, first, WatchList::FreeSpace);
    QVERIFY(editor->isHidden());

    doubleClick(list, first, WatchList::TriggerSpace);
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->geometry(), cellRect(list, first, WatchList::TriggerSpace));
    QCOMPARE(editor->text(), first->text(WatchList::TriggerSpace));

    QTest::keyClicks(editor, QStringLiteral("abc"));
    QTest::keyClick(editor, Qt::Key_Return);
    QVERIFY(shown(p.dialogs, "You must enter a numeric value"));
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->text(), QString());

    QTest::keyClicks(editor, QStringLiteral("1234"));
    // The text belongs to the row the editor was opened over, wherever the mouse went since.
    hover(list, list.topLevelItem(1));
    QTest::keyClick(editor, Qt::Key_Return);
    QVERIFY(editor->isHidden());
    QCOMPARE(p.app().ListView1.at(0).triggerText, std::string("1234"));
    QCOMPARE(first->text(WatchList::TriggerSpace), QStringLiteral("1234"));
    QVERIFY(list.topLevelItem(1)->text(WatchList::TriggerSpace) != QStringLiteral("1234"));

    // Leaving the box hides it without storing anything.
    doubleClick(list, first, WatchList::TriggerSpace);
    QVERIFY(editor->isVisible());
    QTest::keyClicks(editor, QStringLiteral("77"));
    p.widget<QPushButton>("cmdPause")->setFocus(Qt::TabFocusReason);
    QVERIFY(editor->isHidden());
    QCOMPARE(p.app().ListView1.at(0).triggerText, std::string("1234"));
}

void Form1UiTest::listCommandsPauseAndTabsGoThroughTheModel()
{
    Program p;
    QTRY_COMPARE(p.app().checksDone, 1);

    // "(..)" asks for a folder and lists it.
    const auto added = p.folder() + "/small/sub";
    p.dialogs.folders.push_back(added);
    QTest::mouseClick(p.label(QStringLiteral("lblDP0")), Qt::LeftButton);
    QTRY_VERIFY(p.row(added) != nullptr);
    QCOMPARE(p.dialogs.folderTitles.back(), std::string("Select Folder/Path"));
    QCOMPARE(p.row(added)->text(WatchList::FreeSpace), QStringLiteral("10000 KB"));
    QCOMPARE(p.row(added)->checkState(WatchList::DrivePath), Qt::Unchecked);

    // A header click sorts the model; the widget follows its order both ways.
    auto& list = p.list();
    const auto before = columnTexts(list, WatchList::DrivePath);
    const QPoint header(list.header()->sectionViewportPosition(WatchList::DrivePath) + 5, list.header()->height() / 2);
    QTest::mouseClick(list.header()->viewport(), Qt::LeftButton, {}, header);
    QCOMPARE(columnTexts(list, WatchList::DrivePath), modelPaths(p.app()));
    const auto ascending = columnTexts(list, WatchList::DrivePath);
    QVERIFY(std::is_sorted(ascending.begin(), ascending.end(),
                           [](const auto& a, const auto& b) { return a.compare(b, Qt::CaseInsensitive) < 0; }));
    QTest::mouseClick(list.header()->viewport(), Qt::LeftButton, {}, header);
    QCOMPARE(columnTexts(list, WatchList::DrivePath), modelPaths(p.app()));
    auto descending = columnTexts(list, WatchList::DrivePath);
    std::reverse(descending.begin(), descending.end());
    QCOMPARE(descending, ascending);
    QCOMPARE(before.size(), ascending.size());

    // "Remove" takes the selected rows away.
    list.clearSelection();
    p.row(added)->setSelected(true);
    QTest::mouseClick(p.label(QStringLiteral("lblDP1")), Qt::LeftButton);
    QCOMPARE(p.row(added), nullptr);
    QCOMPARE(list.topLevelItemCount(), 2);

    // The pause button and the toolbar button both toggle the watch.
    auto* cmdPause = p.widget<QPushButton>("cmdPause");
    QCOMPARE(cmdPause->text(), QStringLiteral("Pause Watch"));
    cmdPause->click();
    QCOMPARE(cmdPause->text(), QStringLiteral("Start Watch"));
    QCOMPARE(p.window->windowTitle(), QStringLiteral("Volmara - Watching Paused."));
    QCOMPARE(p.panel(2), QStringLiteral("Watch Paused."));
    QVERIFY(!p.app().Timer1.Enabled());
    auto* button1 = p.window->findChild<QAction*>(QStringLiteral("Toolbar1Button1"));
    QCOMPARE(button1->text(), QStringLiteral("Start"));
    button1->trigger();
    QCOMPARE(cmdPause->text(), QStringLiteral("Pause Watch"));
    QCOMPARE(button1->text(), QStringLiteral("Pause"));
    QVERIFY(p.app().Timer1.Enabled());

    // Tabs 2 and 3 show pages 3 and 2; only the overview page lets the statistics timer refresh.
    struct Case {
        int tab;
        int page;
        const char* caption;
    };
    const Case cases[] = {
        {0, 0, "Specified Options (Files, Paths...)"},
        {1, 1, "Program Options (Program pre-set actions/behaviors)"},
        {2, 3, "Program Alert Logs"},
        {3, 2, "Configurations (Program UI Settings)"},
        {4, 4, "Specified Options (Files, Paths...)"},
    };
    for (const auto& c : cases) {
        QTest::mouseClick(p.label(QStringLiteral("lblTab%1").arg(c.tab)), Qt::LeftButton);
        QCOMPARE(p.window->currentPage(), c.page);
        QCOMPARE(p.label(QStringLiteral("lblTabCap"))->text(), QString::fromLatin1(c.caption));
        QCOMPARE(p.app().form1.overviewVisible, c.page == 4);
    }
}

void Form1UiTest::optionControlsApplyTheModelsRules()
{
    Program p;
    QTRY_COMPARE(p.app().checksDone, 1);
    QTest::mouseClick(p.label(QStringLiteral("lblTab1")), Qt::LeftButton);

    // Moving and deleting the specified files exclude each other.
    auto* lstAct = p.widget<QListWidget>("lstAct");
    QCOMPARE(lstAct->count(), 11);
    QCOMPARE(lstAct->item(kActMove)->text(), QStringLiteral("Move Sp. Files to Sp. Path"));
    lstAct->item(kActMove)->setCheckState(Qt::Checked);
    lstAct->item(kActDelete)->setCheckState(Qt::Checked);
    QVERIFY(shown(p.dialogs, "The 'Move Specified files' option will be de-selected"));
    QCOMPARE(lstAct->item(kActMove)->checkState(), Qt::Unchecked);
    QCOMPARE(lstAct->item(kActDelete)->checkState(), Qt::Checked);
    QVERIFY(!p.app().lstAct[kActMove] && p.app().lstAct[kActDelete]);

    auto* lstEvt = p.widget<QListWidget>("lstEvt");
    lstEvt->item(kEvtUnavailable)->setCheckState(Qt::Checked);
    QVERIFY(p.app().lstEvt[kEvtUnavailable]);

    // The interval's own steppers move it by ten seconds, carrying into the minutes.
    auto* interval = p.widget<QTimeEdit>("DTPInterval");
    auto* up = p.window->findChild<QWidget*>(QStringLiteral("DTPIntervalUpDown"))->findChild<QToolButton*>(QStringLiteral("up"));
    interval->setTime(QTime(0, 0, 50));
    QCOMPARE(p.app().settings.DTPInterval.second, 50);
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(interval->time(), QTime(0, 1, 0));
    QCOMPARE(p.app().settings.DTPInterval.minute, 1);

    // The custom watch time's pickers follow its check box.
    auto* chkCustTime = p.widget<QCheckBox>("chkCustTime");
    auto* start = p.widget<QTimeEdit>("DTTime10");
    QVERIFY(!start->isEnabled());
    QTest::mouseClick(chkCustTime, Qt::LeftButton);
    QCOMPARE(p.app().settings.chkCustTime, 1);
    QVERIFY(start->isEnabled());

    // The global trigger takes numbers only.
    QTest::mouseClick(p.label(QStringLiteral("lblTab0")), Qt::LeftButton);
    QTest::mouseClick(p.label(QStringLiteral("lblSpectab1")), Qt::LeftButton);
    auto* txtSpace = p.widget<QLineEdit>("txtSpace");
    QVERIFY(txtSpace->isVisible());
    txtSpace->clear();
    QTest::keyClicks(txtSpace, QStringLiteral("25000"));
    QCOMPARE(p.label(QStringLiteral("lblSpaceMB"))->text(), QStringLiteral("25.0 MB"));
    QTest::keyClicks(txtSpace, QStringLiteral("x"));
    QVERIFY(shown(p.dialogs, "Please input only numbers."));
    QCOMPARE(txtSpace->text(), QStringLiteral("1"));
    QCOMPARE(p.app().settings.txtSpace, std::string("1"));

    // "By %" shows the slider, whose moves become the global trigger, and marks the trigger column.
    auto* slider = p.widget<QSlider>("Slider1");
    QVERIFY(slider->isHidden());
    QTest::mouseClick(p.widget<QWidget>("OpDriv1"), Qt::LeftButton);
    QVERIFY(slider->isVisible());
    QCOMPARE(p.list().headerItem()->text(WatchList::TriggerSpace), QStringLiteral("Trigger Space( %)"));
    QTest::keyClick(slider, Qt::Key_PageUp);
    QCOMPARE(txtSpace->text(), QString::number(slider->value()));
    QCOMPARE(p.app().form1.Slider1, slider->value());
    QVERIFY(slider->value() != 10);
}

void Form1UiTest::terminationSignalRunsTheShutDown()
{
    Program p;
    QTRY_COMPARE(p.app().checksDone, 1);
    ShutdownSignals signalsToClose;
    QVERIFY(signalsToClose.active());
    QObject::connect(&signalsToClose, &ShutdownSignals::requested, p.window.get(), &QWidget::close);
    QSignalSpy unloaded(p.window.get(), &Form1::unloaded);
    const auto setDat = QDir(p.dir.path()).filePath(QStringLiteral("set.dat"));
    QVERIFY(!QFile::exists(setDat));

    QVERIFY(std::raise(SIGTERM) == 0);
    QTRY_COMPARE(unloaded.count(), 1);
    QVERIFY(p.window->isHidden());
    QVERIFY(QFile::exists(setDat));

    // A second signal while the program ends does not unload it twice.
    QVERIFY(std::raise(SIGINT) == 0);
    QTest::qWait(50);
    QCOMPARE(unloaded.count(), 1);
}

void Form1UiTest::messageBoxesAnswerThroughTheLoop_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("press"); // a standard button to click, or 0 for Escape
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("expectedIcon");
    QTest::addColumn<int>("expectedButtons");

    const int yesNo = static_cast<int>(QMessageBox::Yes | QMessageBox::No);
    const int okCancel = static_cast<int>(QMessageBox::Ok | QMessageBox::Cancel);
    QTest::newRow("Yes") << int(MsgButtons::YesNo) << int(MsgIcon::Question) << int(QMessageBox::Yes)
                         << int(MsgAnswer::Yes) << int(QMessageBox::Question) << yesNo;
    QTest::newRow("Escape on Yes/No") << int(MsgButtons::YesNo) << int(MsgIcon::Question) << 0 << int(MsgAnswer::No)
                                      << int(QMessageBox::Question) << yesNo;
    QTest::newRow("Cancel") << int(MsgButtons::OkCancel) << int(MsgIcon::Exclamation) << int(QMessageBox::Cancel)
                            << int(MsgAnswer::Cancel) << int(QMessageBox::Warning) << okCancel;
    QTest::newRow("Escape on Ok") << int(MsgButtons::Ok) << int(MsgIcon::Critical) << 0 << int(MsgAnswer::Ok)
                                  << int(QMessageBox::Critical) << int(QMessageBox::Ok);
    QTest::newRow("Ok") << int(MsgButtons::Ok) << int(MsgIcon::Information) << int(QMessageBox::Ok)
                        << int(MsgAnswer::Ok) << int(QMessageBox::Information) << int(QMessageBox::Ok);
}

void Form1UiTest::messageBoxesAnswerThroughTheLoop()
{
    QFETCH(int, buttons);
    QFETCH(int, icon);
    QFETCH(int, press);
    QFETCH(int, answer);
    QFETCH(int, expectedIcon);
    QFETCH(int, expectedButtons);

    QWidget owner;
    owner.show();
    QtDialogs dialogs;
    dialogs.setOwner(&owner);
    std::optional<MsgAnswer> received;
    dialogs.showMessage({"Exit the program?", static_cast<MsgIcon>(icon), static_cast<MsgButtons>(buttons)},
                        [&](MsgAnswer a) { received = a; });

    QMessageBox* box = nullptr;
    QTRY_VERIFY((box = openMessageBox()) != nullptr);
    QCOMPARE(box->windowTitle(), QStringLiteral("Volmara"));
    QCOMPARE(box->text(), QStringLiteral("Exit the program?"));
    QCOMPARE(static_cast<int>(box->icon()), expectedIcon);
    QCOMPARE(static_cast<int>(box->standardButtons()), expectedButtons);
    QCOMPARE(box->windowModality(), Qt::WindowModal);

    if (press != 0)
        box->button(static_cast<QMessageBox::StandardButton>(press))->click();
    else
        QTest::keyClick(box, Qt::Key_Escape);
    // The answer comes from the event loop, after the box has finished.
    QVERIFY(!received.has_value());
    QTRY_VERIFY(received.has_value());
    QCOMPARE(static_cast<int>(*received), answer);
    QTRY_VERIFY(openMessageBox() == nullptr);
}

void Form1UiTest::systemLocaleGivesSingleByteSeparators_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<char>("decimal");
    QTest::addColumn<char>("group");
    QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << '.' << ',';
    QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany) << ',' << '.';
    // French groups with a no-break space, which an 8-bit file cannot hold as such.
    QTest::newRow("fr_FR") << QLocale(QLocale::French, QLocale::France) << ',' << ' ';
}

void Form1UiTest::systemLocaleGivesSingleByteSeparators()
{
    QFETCH(QLocale, locale);
    QFETCH(char, decimal);
    QFETCH(char, group);
    const auto result = localeFromQt(locale);
    QCOMPARE(result.decimalSeparator, decimal);
    QCOMPARE(result.groupSeparator, group);
    QVERIFY(!result.amDesignator.empty());
    QVERIFY(result.amDesignator != result.pmDesignator);
}

QTEST_MAIN(Form1UiTest)
#include "form1_ui_test.moc"
