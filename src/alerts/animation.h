#pragma once

#include "alerts/avi_clip.h"
#include "core/observer.h"

#include <map>
#include <memory>
#include <string>

namespace volmara {

class Files;

inline constexpr const char* kNormalClip = "spin.avi";
inline constexpr const char* kAlertClip = "alert.avi";

// `Animation1`: the busy clip while watching, the alert clip on an alert. The window shows the
// loaded clip's frames while `playing()`.
class Animation : public Observable {
public:
    // `folder` is where the program's clips lie (the folder of the executable).
    Animation(Files& files, std::string folder);

    // `intOp` 0 loads the normal clip, 1 the alert clip, each only when its file exists and reads
    // as a clip; then `intmode` 1 plays, 0 stops. Other values do nothing. A missing or damaged
    // clip leaves the animation as it was.
    void prcSrvAnimation(float intmode, float intOp);

    // The loaded clip; null until one has been loaded.
    const AviClip* clip() const { return clip_.get(); }
    // The file the loaded clip came from ("spin.avi", "alert.avi"), empty before.
    const std::string& clipName() const { return clipName_; }
    bool playing() const { return playing_; }

private:
    void open(const std::string& name);

    Files& files_;
    std::string folder_;
    // Every check loads a clip for every entry: a clip is read once and kept (a damaged one too,
    // as refused).
    std::map<std::string, std::shared_ptr<const AviClip>> read_;
    std::shared_ptr<const AviClip> clip_;
    std::string clipName_;
    bool playing_ = false;
};

} // namespace volmara
