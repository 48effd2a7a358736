#include "core/path_rules.h"
#include "platform/posix/driveinfo/posix_raw_volumes.h"
#include "platform/posix/driveinfo/posix_volume_info.h"
#include "platform/posix/files_posix.h"
#include "platform/posix/http_posix.h"
#include "platform/posix/io_pool.h"
#include "platform/posix/network_posix.h"
#include "platform/posix/registry_posix.h"
#include "platform/posix/shell_posix.h"
#include "platform/posix/system_info_posix.h"
#include "platform/posix/trash_posix.h"
#include "platform/posix/volumes_posix.h"
#include "ui/form1.h"
#include "ui/pictures.h"
#include "ui/platform/qt_clock.h"
#include "ui/platform/qt_dialogs.h"
#include "ui/platform/qt_event_loop.h"
#include "ui/platform/qt_locale.h"
#include "ui/platform/qt_sound.h"
#include "ui/shutdown_signals.h"
#include "ui/specified/properties_sheet.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool displayAvailable()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
}

// Without a display the program still runs, on the platform that needs none.
void chooseOffscreenWithoutDisplay()
{
    if (displayAvailable())
        return;
    std::fputs("volmara: no display available (DISPLAY and WAYLAND_DISPLAY are unset); "
               "running on the offscreen platform\n",
               stderr);
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The folder of the executable, or the user's data folder when an installed copy cannot write there.
std::string programFolder()
{
    const QString own = QCoreApplication::applicationDirPath();
    if (QFileInfo(own).isWritable())
        return QDir::cleanPath(own).toStdString();
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                         QStringLiteral("/volmara");
    QDir().mkpath(data);
    return QDir::cleanPath(data).toStdString();
}

} // namespace

int main(int argc, char** argv)
{
    chooseOffscreenWithoutDisplay();
    QApplication application(argc, argv);
    QApplication::setWindowIcon(volmara::programIcon());
    QApplication::setApplicationName(QStringLiteral("volmara"));
    // The main window may be hidden in the tray while another window closes: the program ends
    // through its unload handling only.
    QApplication::setQuitOnLastWindowClosed(false);

    volmara::QtEventLoop loop;
    volmara::QtClock clock;
    volmara::QtDialogs dialogs;
    volmara::PosixVolumes volumes;
    volmara::PosixFiles files;
    volmara::PosixRawVolumes rawVolumes;
    volmara::PosixVolumeInfo volumeInfo;
    volmara::PosixShell shell;
    volmara::PosixTrash trash;
    volmara::PosixNetwork network;
    volmara::PosixSystemInfo systemInfo;
    volmara::QtSound sound;
    volmara::PosixHttp http;
    volmara::PosixRegistry registry;
    const volmara::PosixPathRules paths(volumes);
    volmara::PosixIoPool io(loop);

    volmara::Form1 window(volmara::Services{loop, io, clock, dialogs, volumes, files, rawVolumes, volumeInfo, shell, trash, network, systemInfo, sound, http, registry, paths,
                                            volmara::localeFromQt(QLocale::system()), programFolder(),
                                            QDir::homePath().toStdString(),
                                            QDir::cleanPath(QCoreApplication::applicationDirPath()).toStdString()});
    dialogs.setOwner(&window);
    volmara::PropertiesSheet properties(&window);
    shell.setPropertiesWindow([&properties](const volmara::PropertiesRequest& request) { properties.show(request); });

    volmara::ShutdownSignals shutdownSignals;
    QObject::connect(&shutdownSignals, &volmara::ShutdownSignals::requested, &window, &QWidget::close);
    QObject::connect(&window, &volmara::Form1::unloaded, &application, [] { QCoreApplication::exit(0); });

    window.Form_Load();
    const int code = QApplication::exec();
    // A call stuck on a dead file system still holds references into the layer below; the
    // settings are saved by now, so the process ends without unwinding under it.
    if (io.abandonedCalls() > 0) {
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}
