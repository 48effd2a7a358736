#pragma once

#include <QObject>

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace volmara {

// Lets a widget take files dropped from the desktop: the local paths, in drop order, go to
// `dropped`. Anything else dragged over it is refused.
class FileDrop final : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(std::vector<std::string>)>;

    static void install(QWidget& target, Handler dropped);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FileDrop(QWidget& target, Handler dropped);
    Handler dropped_;
};

} // namespace volmara
