#include "ui/alert/animation_view.h"

#include "ui/binding.h"

#include <QImage>

namespace volmara {

AnimationView::AnimationView(Animation& model, QWidget* parent) : QLabel(parent), model_(model)
{
    setObjectName(QStringLiteral("Animation1"));
    setAlignment(Qt::AlignCenter);
    connect(&timer_, &QTimer::timeout, this, [this] { showFrame((frame_ + 1) % frameCount()); });
    refreshOn(model_, this, [](AnimationView& v) { v.refresh(); });
    refresh();
}

void AnimationView::loadFrames(const AviClip& clip)
{
    frames_.clear();
    for (const auto& pixels : clip.frames) {
        // The frame's pixels are 0xAARRGGBB words, which is how QImage lays out ARGB32.
        const QImage image(reinterpret_cast<const uchar*>(pixels.data()), clip.width, clip.height,
                           clip.width * static_cast<int>(sizeof(std::uint32_t)), QImage::Format_ARGB32);
        frames_.push_back(QPixmap::fromImage(image.copy()));
    }
    setFixedSize(clip.width, clip.height);
    loaded_ = &clip;
}

void AnimationView::showFrame(int index)
{
    frame_ = index;
    setPixmap(frames_[static_cast<std::size_t>(index)]);
}

void AnimationView::refresh()
{
    const AviClip* clip = model_.clip();
    if (clip != loaded_) {
        timer_.stop();
        if (clip) {
            loadFrames(*clip);
            showFrame(0);
        }
    }
    if (frames_.empty())
        return;
    if (model_.playing() && !timer_.isActive())
        timer_.start(loaded_->frameMs);
    else if (!model_.playing())
        timer_.stop();
}

} // namespace volmara
