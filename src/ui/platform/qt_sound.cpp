#include "ui/platform/qt_sound.h"

#include "alerts/wave_header.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QMetaObject>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>

namespace volmara {

namespace {

// The header of a WAV file lies at its start; the format and the data chunk's size are enough.
constexpr qint64 kHeaderBytes = 64 * 1024;
// Time the device may take to load and start the sound, and to report its end.
constexpr int kLoadBoundMs = 2000;
constexpr int kEndAllowanceMs = 250;

std::optional<std::chrono::milliseconds> lengthOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray head = file.read(kHeaderBytes);
    return waveDuration(std::string_view(head.constData(), static_cast<std::size_t>(head.size())),
                        static_cast<std::uint64_t>(file.size()));
}

} // namespace

QtSound::QtSound(OutputCheck hasOutput) : hasOutput_(std::move(hasOutput)), context_(std::make_unique<QObject>())
{
    if (!hasOutput_)
        hasOutput_ = [] { return !QMediaDevices::audioOutputs().isEmpty(); };
}

QtSound::~QtSound() = default;

void QtSound::finishLater(std::function<void()> played)
{
    // Queued: the caller goes on from the event loop, never from inside a signal of the sound.
    QMetaObject::invokeMethod(context_.get(), std::move(played), Qt::QueuedConnection);
}

void QtSound::startPlaying(const std::string& path, std::function<void()> played)
{
    const QString file = QString::fromStdString(path);
    const auto length = hasOutput_() ? lengthOf(file) : std::nullopt;
    if (!length) {
        finishLater(std::move(played));
        return;
    }

    auto* effect = new QSoundEffect(context_.get());
    auto* bound = new QTimer(effect);
    bound->setSingleShot(true);
    auto finished = std::make_shared<bool>(false);
    const auto finish = [this, effect, finished, played = std::move(played)] {
        if (*finished)
            return;
        *finished = true;
        effect->stop();
        effect->deleteLater();
        finishLater(played);
    };
    const int playBoundMs = static_cast<int>(std::min<std::int64_t>(length->count(), 24 * 3600 * 1000)) + kEndAllowanceMs;
    const auto start = [effect, bound, finished, playBoundMs] {
        if (*finished)
            return;
        effect->play();
        bound->start(playBoundMs);
    };

    QObject::connect(bound, &QTimer::timeout, effect, finish);
    QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect, start, finish] {
        if (effect->status() == QSoundEffect::Error)
            finish();
        else if (effect->status() == QSoundEffect::Ready && !effect->isPlaying())
            start();
    });
    QObject::connect(effect, &QSoundEffect::playingChanged, effect, [effect, bound, finish] {
        // The end of a sound that was started; the bound covers a device that never says so.
        if (!effect->isPlaying() && bound->isActive())
            finish();
    });
    bound->start(kLoadBoundMs);
    effect->setSource(QUrl::fromLocalFile(file));
    if (effect->status() == QSoundEffect::Ready)
        start();
}

} // namespace volmara
