// A host's view of libkelvane.so: loaded with dlopen, registered into a
// temporary per-user registry, controls made through the class factory.
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "control_host.h"
#include "registry.h"

namespace {

using kelvane::host::ControlLibrary;

struct Press {
    std::int16_t button;
    std::int16_t shift;
    float x;
    float y;
};

void recordPress(void* context, std::int16_t button, std::int16_t shift, float x, float y)
{
    static_cast<std::vector<Press>*>(context)->push_back({button, shift, x, y});
}

QStringList describe(const std::vector<Press>& presses)
{
    QStringList lines;
    for (const Press& p : presses)
        lines << QStringLiteral("%1 %2 %3 %4").arg(p.button).arg(p.shift).arg(p.x).arg(p.y);
    return lines;
}

void releaseOnPress(void* context, std::int16_t, std::int16_t, float, float)
{
    auto** control = static_cast<KvSpmeter**>(context);
    (*control)->vtbl->Release(*control);
    *control = nullptr;
}

// QString, so that a failed comparison shows the texts.
QString readText(KvSpmeter* c, KvResult (*get)(KvSpmeter*, char*, std::uint32_t, std::uint32_t*))
{
    std::uint32_t length = 0;
    if (get(c, nullptr, 0, &length) != KV_S_OK) return QStringLiteral("<failed>");
    std::string text(length + 1, '\0');
    if (get(c, text.data(), length + 1, &length) != KV_S_OK) return QStringLiteral("<failed>");
    text.resize(length);
    return QString::fromStdString(text);
}

QString fileText(const std::filesystem::path& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return QString::fromStdString(text.str());
}

QWidget* windowOf(KvSpmeter* c)
{
    void* widget = nullptr;
    return c->vtbl->GetWindow(c, &widget) == KV_S_OK ? static_cast<QWidget*>(widget) : nullptr;
}

}  // namespace

class HostTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void registersIntoThePerUserRegistry();
    void factoryRefusesUnknownClassesAndInterfaces();
    void liveInstancesAndLocksKeepTheLibraryLoaded();
    void drivesTheProperties();
    void zeroMaximumFailsThePropertyAndTheControlRunsOn();
    void keepsItsSizeWhateverTheHostAsks();
    void pressesRaiseMouseDownWithThePartsCoordinates();
    void aHandlerMayReleaseTheControl();
    void unregisters();

private:
    KvSpmeter* create();

    QTemporaryDir home_;
    std::unique_ptr<ControlLibrary> library_;
};

KvSpmeter* HostTest::create()
{
    KvSpmeter* control = nullptr;
    const KvResult result = library_->createSpmeter(KV_CLSID_ctlSpmeter, &control);
    return result == KV_S_OK ? control : nullptr;
}

void HostTest::initTestCase()
{
    QVERIFY(home_.isValid());
    qputenv("HOME", home_.path().toUtf8());
    qputenv("XDG_DATA_HOME", (home_.path() + "/data").toUtf8());
    library_ = std::make_unique<ControlLibrary>(KELVANE_LIBRARY);
    QCOMPARE(library_->DllCanUnloadNow(), KV_S_OK);
}

void HostTest::registersIntoThePerUserRegistry()
{
    QCOMPARE(library_->DllRegisterServer(), KV_S_OK);
    const auto file = std::filesystem::path(home_.path().toStdString()) / "data/kelvane/controls" /
                      "{3F419ABE-33B1-48C1-B301-E5134ADF8782}.control";
    const QString library =
        QString::fromStdString(std::filesystem::canonical(KELVANE_LIBRARY).string());
    QCOMPARE(fileText(file), "ClassId={3F419ABE-33B1-48C1-B301-E5134ADF8782}\nName=ctlSpmeter\n"
                             "Library=" + library + "\n");

    const auto record = kelvane::findRecordByName("ctlSpmeter");
    QVERIFY(record);
    QVERIFY(kelvane::sameGuid(record->classId, KV_CLSID_ctlSpmeter));
    QCOMPARE(QString::fromStdString(record->library), library);
    // Registering again replaces the record.
    QCOMPARE(library_->DllRegisterServer(), KV_S_OK);
    QCOMPARE(kelvane::readRecords().size(), std::size_t{1});

    // Without XDG_DATA_HOME the record goes under ~/.local/share.
    qputenv("XDG_DATA_HOME", "");
    QCOMPARE(library_->DllRegisterServer(), KV_S_OK);
    QVERIFY(std::filesystem::exists(std::filesystem::path(home_.path().toStdString()) /
                                    ".local/share/kelvane/controls" / file.filename()));
    QCOMPARE(library_->DllUnregisterServer(), KV_S_OK);
    qputenv("XDG_DATA_HOME", (home_.path() + "/data").toUtf8());
    QVERIFY(std::filesystem::exists(file));
}

void HostTest::factoryRefusesUnknownClassesAndInterfaces()
{
    const KvGuid unknown = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    void* object = reinterpret_cast<void*>(1);
    QCOMPARE(library_->DllGetClassObject(unknown, KV_IID_ClassFactory, &object),
             static_cast<KvResult>(0x80040111));
    QVERIFY(!object);
    QCOMPARE(library_->DllGetClassObject(KV_CLSID_ctlSpmeter, KV_IID_Spmeter, &object),
             KV_E_NOINTERFACE);
    QVERIFY(!object);

    QCOMPARE(library_->DllGetClassObject(KV_CLSID_ctlSpmeter, KV_IID_ClassFactory, &object), KV_S_OK);
    auto* factory = static_cast<KvClassFactory*>(object);
    KvUnknown outer{nullptr};
    QCOMPARE(factory->vtbl->CreateInstance(factory, &outer, &KV_IID_Spmeter, &object),
             KV_CLASS_E_NOAGGREGATION);
    QCOMPARE(factory->vtbl->CreateInstance(factory, nullptr, &KV_IID_ClassFactory, &object),
             KV_E_NOINTERFACE);
    QVERIFY(!object);
    factory->vtbl->Release(factory);
    // A refused instance leaves nothing alive behind.
    QCOMPARE(library_->DllCanUnloadNow(), KV_S_OK);
}

void HostTest::liveInstancesAndLocksKeepTheLibraryLoaded()
{
    KvSpmeter* first = create();
    KvSpmeter* second = create();
    QVERIFY(first && second && first != second);
    QCOMPARE(library_->DllCanUnloadNow(), KV_S_FALSE);

    // Two instances, two states.
    QCOMPARE(first->vtbl->put_MaxValue(first, 7), KV_S_OK);
    std::int32_t max = 0;
    second->vtbl->get_MaxValue(second, &max);
    QCOMPARE(max, 100);

    // Another reference to the same object.
    void* unknown = nullptr;
    QCOMPARE(first->vtbl->QueryInterface(first, &KV_IID_Unknown, &unknown), KV_S_OK);
    QCOMPARE(unknown, static_cast<void*>(first));
    QCOMPARE(first->vtbl->Release(first), 1u);

    QCOMPARE(first->vtbl->Release(first), 0u);
    QCOMPARE(library_->DllCanUnloadNow(), KV_S_FALSE);
    second->vtbl->Release(second);
    QCOMPARE(library_->DllCanUnloadNow(), KV_S_OK);

    void* object = nullptr;
    QCOMPARE(library_->DllGetClassObject(KV_CLSID_ctlSpmeter, KV_IID_ClassFactory, &object), KV_S_OK);
    auto* factory = static_cast<KvClassFactory*>(object);
    QCOMPARE(factory->vtbl->LockServer(factory, 1), KV_S_OK);
    factory->vtbl->Release(factory);
    QCOMPARE(library_->DllCanUnloadNow(), KV_S_FALSE);
    QCOMPARE(factory->vtbl->LockServer(factory, 0), KV_S_OK);
    QCOMPARE(library_->DllCanUnloadNow(), KV_S_OK);
    QCOMPARE(factory->vtbl->LockServer(factory, 0), KV_E_UNEXPECTED);
}

void HostTest::drivesTheProperties()
{
    KvSpmeter* c = create();
    QVERIFY(c);
    const KvSpmeterVtbl& v = *c->vtbl;

    std::int32_t max = 0;
    double value = -1;
    QCOMPARE(v.get_MaxValue(c, &max), KV_S_OK);
    QCOMPARE(max, 100);
    QCOMPARE(v.get_ActiveSpeed_line(c, &value), KV_S_OK);
    QCOMPARE(value, 0.0);
    QCOMPARE(v.get_Threshold0_line(c, &value), KV_S_OK);
    QCOMPARE(value, 0.0);
    QCOMPARE(readText(c, v.get_NumericSpeed), QString());
    QCOMPARE(readText(c, v.get_SpeedometerCaption), QStringLiteral("."));

    QCOMPARE(v.put_ActiveSpeed_line(c, 150), KV_S_OK);
    v.get_ActiveSpeed_line(c, &value);
    QCOMPARE(value, 100.0);
    QCOMPARE(v.put_Threshold0_line(c, -12.5), KV_S_OK);
    v.get_Threshold0_line(c, &value);
    QCOMPARE(value, -12.5);

    QCOMPARE(v.put_MaxValue(c, 40), KV_S_OK);
    v.get_MaxValue(c, &max);
    QCOMPARE(max, 40);
    v.get_ActiveSpeed_line(c, &value);
    QCOMPARE(value, 100.0);  // until the next set

    QCOMPARE(v.put_NumericSpeed(c, "56,7"), KV_S_OK);
    QCOMPARE(readText(c, v.get_NumericSpeed), QStringLiteral("56,7"));
    QCOMPARE(v.put_SpeedometerCaption(c, "Upload ↑"), KV_S_OK);
    QCOMPARE(readText(c, v.get_SpeedometerCaption), QStringLiteral("Upload ↑"));

    char small[4];
    std::uint32_t length = 0;
    QCOMPARE(v.get_NumericSpeed(c, small, sizeof small, &length), KV_E_INSUFFICIENT_BUFFER);
    QCOMPARE(length, 4u);
    QCOMPARE(v.put_NumericSpeed(c, nullptr), KV_E_POINTER);
    QCOMPARE(v.get_MaxValue(c, nullptr), KV_E_POINTER);
    QCOMPARE(v.put_ActiveSpeed_line(c, std::numeric_limits<double>::quiet_NaN()), KV_E_INVALIDARG);

    v.Release(c);
}

void HostTest::zeroMaximumFailsThePropertyAndTheControlRunsOn()
{
    KvSpmeter* c = create();
    QVERIFY(c);
    const KvSpmeterVtbl& v = *c->vtbl;
    QCOMPARE(v.put_MaxValue(c, 0), KV_S_OK);
    QCOMPARE(v.put_ActiveSpeed_line(c, 25), static_cast<KvResult>(0x800A000B));
    double value = -1;
    v.get_ActiveSpeed_line(c, &value);
    QCOMPARE(value, 0.0);
    QCOMPARE(v.put_Threshold0_line(c, 3), KV_CTL_E_DIVISIONBYZERO);

    QCOMPARE(v.put_MaxValue(c, 50), KV_S_OK);
    QCOMPARE(v.put_ActiveSpeed_line(c, 25), KV_S_OK);
    v.get_ActiveSpeed_line(c, &value);
    QCOMPARE(value, 25.0);
    v.Release(c);
}

void HostTest::keepsItsSizeWhateverTheHostAsks()
{
    KvSpmeter* c = create();
    QVERIFY(c);
    QWidget* gauge = windowOf(c);
    QVERIFY(gauge);
    QCOMPARE(gauge->size(), QSize(121, 118));  // 1815 x 1770 twips

    gauge->resize(500, 40);
    QCOMPARE(gauge->size(), QSize(121, 118));

    QWidget host;
    auto* layout = new QVBoxLayout(&host);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(gauge);
    host.resize(800, 600);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QCOMPARE(gauge->size(), QSize(121, 118));

    std::int32_t width = 0, height = 0;
    QCOMPARE(c->vtbl->SetExtent(c, 9000, 200), KV_S_OK);
    QCOMPARE(c->vtbl->GetExtent(c, &width, &height), KV_S_OK);
    QCOMPARE(width, 1815);
    QCOMPARE(height, 1770);

    c->vtbl->Release(c);  // takes its window out of the host's layout
    QCOMPARE(layout->count(), 0);
    QCOMPARE(library_->DllCanUnloadNow(), KV_S_OK);
}

void HostTest::pressesRaiseMouseDownWithThePartsCoordinates()
{
    KvSpmeter* c = create();
    QVERIFY(c);
    std::vector<Press> presses;
    std::uint32_t cookie = 0;
    QCOMPARE(c->vtbl->AdviseMouseDown(c, &recordPress, &presses, &cookie), KV_S_OK);

    QWidget host;
    QWidget* gauge = windowOf(c);
    gauge->setParent(&host);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    // Pixels; the event reports twips (15 to a pixel) from the pressed part's corner.
    QTest::mouseClick(gauge, Qt::LeftButton, Qt::NoModifier, QPoint(51, 92));  // "Kb/s" at (735, 1350)
    QTest::mouseClick(gauge, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier,
                      QPoint(40, 35));                                        // scale label 2 at (495, 495)
    QTest::mouseClick(gauge, Qt::MiddleButton, Qt::AltModifier, QPoint(20, 20));  // dial at (165, 210)
    QTest::mouseClick(gauge, Qt::LeftButton, Qt::NoModifier, QPoint(2, 3));   // the surface itself
    QTest::mouseClick(gauge, Qt::LeftButton, Qt::NoModifier, QPoint(60, 5));   // caption: nothing
    QTest::mouseClick(gauge, Qt::LeftButton, Qt::NoModifier, QPoint(60, 80));  // reading: nothing

    // Button, Shift, X, Y of each MouseDown, in order.
    QCOMPARE(describe(presses), QStringList({"1 0 30 30", "2 3 105 30", "4 4 135 90", "1 0 30 45"}));

    QCOMPARE(c->vtbl->Unadvise(c, cookie), KV_S_OK);
    QTest::mouseClick(gauge, Qt::LeftButton, Qt::NoModifier, QPoint(51, 92));
    QCOMPARE(presses.size(), std::size_t{4});  // none after Unadvise
    QCOMPARE(c->vtbl->Unadvise(c, cookie), KV_E_INVALIDARG);
    c->vtbl->Release(c);
}

void HostTest::aHandlerMayReleaseTheControl()
{
    KvSpmeter* c = create();
    QVERIFY(c);
    std::uint32_t cookie = 0;
    QCOMPARE(c->vtbl->AdviseMouseDown(c, &releaseOnPress, &c, &cookie), KV_S_OK);
    QWidget* gauge = windowOf(c);
    gauge->show();
    QVERIFY(QTest::qWaitForWindowExposed(gauge));
    QTest::mouseClick(gauge, Qt::LeftButton, Qt::NoModifier, QPoint(2, 3));
    QVERIFY(!c);
    // The window goes once its press is over; then nothing of the library is alive.
    QTRY_COMPARE(library_->DllCanUnloadNow(), KV_S_OK);
}

void HostTest::unregisters()
{
    QCOMPARE(library_->DllUnregisterServer(), KV_S_OK);
    QVERIFY(!kelvane::findRecordByName("ctlSpmeter"));
    QVERIFY(kelvane::readRecords().empty());
    QCOMPARE(library_->DllUnregisterServer(), KV_S_OK);  // nothing left to remove
}

QTEST_MAIN(HostTest)
#include "host_test.moc"
