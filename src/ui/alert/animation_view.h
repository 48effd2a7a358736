#pragma once

#include "alerts/animation.h"

#include <QLabel>
#include <QPixmap>
#include <QTimer>

#include <vector>

namespace volmara {

// `Animation1` on the main window: the loaded clip's frames, one after another while the model
// plays, the current frame while it is stopped.
class AnimationView final : public QLabel {
    Q_OBJECT
public:
    AnimationView(Animation& model, QWidget* parent = nullptr);

    void refresh();
    int frameShown() const { return frame_; }
    int frameCount() const { return static_cast<int>(frames_.size()); }
    bool running() const { return timer_.isActive(); }

private:
    void loadFrames(const AviClip& clip);
    void showFrame(int index);

    Animation& model_;
    const AviClip* loaded_ = nullptr;
    std::vector<QPixmap> frames_;
    int frame_ = 0;
    QTimer timer_;
};

} // namespace volmara
