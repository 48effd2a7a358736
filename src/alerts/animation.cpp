#include "alerts/animation.h"

#include "platform/volumes.h"

namespace volmara {

Animation::Animation(Files& files, std::string folder) : files_(files), folder_(std::move(folder)) {}

void Animation::prcSrvAnimation(float intmode, float intOp)
{
    if (intOp == 0)
        open(kNormalClip);
    else if (intOp == 1)
        open(kAlertClip);

    if (intmode == 1 && clip_ && !playing_) {
        playing_ = true;
        notify();
    } else if (intmode == 0 && playing_) {
        playing_ = false;
        notify();
    }
}

void Animation::open(const std::string& name)
{
    if (name == clipName_)
        return;
    const std::string path = folder_ + "/" + name;
    if (!files_.fileExists(path))
        return;
    auto known = read_.find(name);
    if (known == read_.end()) {
        const auto bytes = files_.readFile(path);
        if (!bytes)
            return;
        auto result = readAviClip(*bytes);
        std::shared_ptr<const AviClip> clip;
        if (result.clip)
            clip = std::make_shared<const AviClip>(std::move(*result.clip));
        known = read_.emplace(name, std::move(clip)).first;
    }
    if (!known->second)
        return;
    // Opening a clip shows its first frame, stopped, as the control does.
    clip_ = known->second;
    clipName_ = name;
    playing_ = false;
    notify();
}

} // namespace volmara
