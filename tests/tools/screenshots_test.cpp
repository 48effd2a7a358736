// volmara-screenshots on the offscreen platform: a picture of every window, each with something
// drawn on it and the same from run to run; and the help page, which shows those pictures and
// nothing from outside.
// Arguments: the tool's path and the docs folder.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <string>

namespace {

QString toolPath;
QString docsFolder;

// Every window and page the help page describes.
const QStringList kPictures = {
    "main-specified-programs", "main-specified-path-space-types", "main-specified-files", "main-options",
    "main-alerts-log", "main-config", "main-overview", "main-compact",
    "alert", "alert-actions",
    "notify-content", "notify-send-options", "notify-custom-message", "notify-email-account",
    "drive-info-free-space", "drive-info-distribution", "drive-info-partition", "drive-info-attributes",
    "drive-window", "lock", "about",
    "wizard-1-space", "wizard-2-timing", "wizard-3-files", "wizard-4-responses",
    "wizard-5-file-types", "wizard-6-move-path", "wizard-7-programs",
};

struct ToolRun {
    QTemporaryDir folder;
    int exitCode = -1;
    QString errors;
};

std::unique_ptr<ToolRun> runTool()
{
    auto run = std::make_unique<ToolRun>();
    QProcess tool;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    tool.setProcessEnvironment(environment);
    tool.start(toolPath, {run->folder.path()});
    if (!tool.waitForFinished(240'000)) {
        tool.kill();
        tool.waitForFinished();
        run->errors = QStringLiteral("the tool did not end within 240 s");
        return run;
    }
    run->exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    run->errors = QString::fromLocal8Bit(tool.readAllStandardError());
    return run;
}

QStringList pngNames(const QString& folder)
{
    QStringList names;
    for (const auto& file : QDir(folder).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name))
        names << file.chopped(4);
    return names;
}

// Sorted and joined, so that a difference reads well.
std::string sorted(QStringList list)
{
    list.sort();
    return list.join(QLatin1Char(' ')).toStdString();
}

int distinctColours(const QImage& image)
{
    QSet<QRgb> colours;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            colours.insert(line[x]);
    }
    return static_cast<int>(colours.size());
}

class ScreenshotTool : public ::testing::Test {
protected:
    static void SetUpTestSuite() { first = runTool(); }
    static void TearDownTestSuite() { first.reset(); }

    static std::unique_ptr<ToolRun> first;
};
std::unique_ptr<ToolRun> ScreenshotTool::first;

TEST_F(ScreenshotTool, WritesEveryWindowAsAPictureWithSomethingOnIt)
{
    ASSERT_EQ(first->exitCode, 0) << first->errors.toStdString();
    EXPECT_EQ(sorted(pngNames(first->folder.path())), sorted(kPictures));
    for (const auto& name : kPictures) {
        SCOPED_TRACE(name.toStdString());
        const QString path = first->folder.filePath(name + QStringLiteral(".png"));
        QImageReader reader(path);
        EXPECT_EQ(reader.format(), QByteArray("png"));
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
        // A window, not an icon and not a screen.
        EXPECT_GE(image.width(), 200);
        EXPECT_GE(image.height(), 100);
        EXPECT_LE(image.width(), 2000);
        EXPECT_LE(image.height(), 1600);
        // A window that failed to draw is one colour, or a frame around it; text brings shades.
        EXPECT_GE(distinctColours(image), 16);
    }
}

TEST_F(ScreenshotTool, TheCompactViewIsTheUpperRegionOnly)
{
    ASSERT_EQ(first->exitCode, 0) << first->errors.toStdString();
    const QImage full(first->folder.filePath(QStringLiteral("main-overview.png")));
    const QImage compact(first->folder.filePath(QStringLiteral("main-compact.png")));
    ASSERT_FALSE(full.isNull() || compact.isNull());
    // The pages take more than a third of the full window; without them the window shrinks.
    EXPECT_LT(compact.height(), full.height() * 2 / 3);
    EXPECT_EQ(compact.width(), full.width());
}

TEST_F(ScreenshotTool, TakesTheSamePicturesEveryRun)
{
    ASSERT_EQ(first->exitCode, 0) << first->errors.toStdString();
    const auto second = runTool();
    ASSERT_EQ(second->exitCode, 0) << second->errors.toStdString();
    for (const auto& name : kPictures) {
        SCOPED_TRACE(name.toStdString());
        const QImage before(first->folder.filePath(name + QStringLiteral(".png")));
        const QImage after(second->folder.filePath(name + QStringLiteral(".png")));
        ASSERT_FALSE(before.isNull());
        EXPECT_TRUE(before == after);
    }
}

TEST(ScreenshotToolArguments, RefusesToRunWithoutAFolder)
{
    QProcess tool;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    tool.setProcessEnvironment(environment);
    tool.start(toolPath, {});
    ASSERT_TRUE(tool.waitForFinished(60'000));
    EXPECT_EQ(tool.exitCode(), 2);
    EXPECT_TRUE(QString::fromLocal8Bit(tool.readAllStandardError()).contains(QStringLiteral("usage")));
}

// The help page as shipped: it shows every window, each picture lies in docs/help, and it needs
// nothing from outside (no style sheet, script, font or picture elsewhere).
TEST(HelpPage, ShowsEveryWindowFromItsOwnFolder)
{
    QFile page(QDir(docsFolder).filePath(QStringLiteral("help.html")));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());

    QStringList shown;
    const QRegularExpression picture(QStringLiteral(R"re(<img\b[^>]*\bsrc="help/([^"/]+)\.png")re"));
    for (auto it = picture.globalMatch(html); it.hasNext();) {
        const QString name = it.next().captured(1);
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(QFile::exists(QDir(docsFolder).filePath(QStringLiteral("help/%1.png").arg(name))));
        shown << name;
    }
    shown.removeDuplicates();
    EXPECT_EQ(sorted(shown), sorted(kPictures));

    const QRegularExpression reference(QStringLiteral(R"re(\b(src|href)\s*=\s*"([^"]*)")re"));
    for (auto it = reference.globalMatch(html); it.hasNext();) {
        const auto match = it.next();
        const QString target = match.captured(2);
        SCOPED_TRACE(target.toStdString());
        const bool own = match.captured(1) == QStringLiteral("src") ? target.startsWith(QStringLiteral("help/"))
                                                                     : target.startsWith(QLatin1Char('#'));
        EXPECT_TRUE(own);
    }
    EXPECT_FALSE(html.contains(QStringLiteral("url(")));
    EXPECT_FALSE(html.contains(QStringLiteral("@import")));
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <volmara-screenshots> <docs folder>\n", argv[0]);
        return 2;
    }
    toolPath = QString::fromLocal8Bit(argv[1]);
    docsFolder = QString::fromLocal8Bit(argv[2]);
    return RUN_ALL_TESTS();
}
