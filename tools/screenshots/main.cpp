// volmara-screenshots <folder>: takes a picture of every window of the program over a fixed demo
// machine and writes them as PNG files into <folder>.
#include "tools/screenshots/demo_program.h"
#include "tools/screenshots/window_shots.h"
#include "ui/pictures.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QPixmap>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleHints>

#include <cstdio>
#include <exception>

namespace {

// One style, palette and font whatever the desktop says, so that pictures taken on different
// machines match.
void lookAlike(QApplication& application)
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(QApplication::style()->standardPalette());
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(9);
    QApplication::setFont(font);
    // A text cursor that does not blink is drawn the same in every picture.
    application.styleHints()->setCursorFlashTime(0);
    QApplication::setWindowIcon(volmara::programIcon());
}

bool take(volmara::shots::DemoProgram& demo, const volmara::shots::Shot& shot, const QDir& folder)
{
    QWidget& window = shot.prepare(demo);
    demo.settle();
    const QString path = folder.filePath(QString::fromStdString(shot.name) + QStringLiteral(".png"));
    if (!window.grab().save(path, "PNG")) {
        std::fprintf(stderr, "volmara-screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 2) {
        std::fputs("usage: volmara-screenshots <folder>\n", stderr);
        return 2;
    }
    const QDir folder(arguments[1]);
    if (!QDir().mkpath(folder.absolutePath())) {
        std::fprintf(stderr, "volmara-screenshots: cannot make the folder %s\n", qPrintable(arguments[1]));
        return 1;
    }
    lookAlike(application);
    try {
        volmara::shots::DemoProgram demo;
        for (const auto& shot : volmara::shots::windowShots()) {
            if (!take(demo, shot, folder))
                return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "volmara-screenshots: %s\n", e.what());
        return 1;
    }
    return 0;
}
