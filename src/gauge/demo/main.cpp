// kelvane-demo: loads libkelvane.so at run time, registers it, creates a
// ctlSpmeter through the registered class's factory and drives it.
// Usage: kelvane-demo [path/to/libkelvane.so]
#include <QApplication>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "control_host.h"
#include "demo_window.h"
#include "registry.h"

namespace {

int fail(const QString& text)
{
    std::fprintf(stderr, "kelvane-demo: %s\n", text.toLocal8Bit().constData());
    return 1;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const std::string path = argc > 1 ? argv[1] : KELVANE_DEFAULT_LIBRARY;

    using kelvane::host::ControlLibrary;
    using kelvane::host::resultText;
    std::unique_ptr<ControlLibrary> library;
    try {
        const ControlLibrary server(path);
        if (const KvResult r = server.DllRegisterServer(); KV_FAILED(r))
            return fail(QStringLiteral("DllRegisterServer failed: %1")
                            .arg(QString::fromStdString(resultText(r))));
        // From here on, as any host would: by the registered name.
        const auto record = kelvane::findRecordByName("ctlSpmeter");
        if (!record) return fail(QStringLiteral("ctlSpmeter is not registered"));
        library = std::make_unique<ControlLibrary>(record->library);

        KvSpmeter* control = nullptr;
        if (const KvResult r = library->createSpmeter(record->classId, &control); KV_FAILED(r))
            return fail(QStringLiteral("Creating ctlSpmeter failed: %1")
                            .arg(QString::fromStdString(resultText(r))));
        kelvane::demo::DemoWindow window(control);
        window.show();
        return app.exec();
    } catch (const std::exception& e) {
        return fail(QString::fromLocal8Bit(e.what()));
    }
}
