#pragma once

#include <QWidget>

#include "core/settings.h"

#include <array>
#include <functional>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace volmara {

class Form1Model;

// Page `frmSp` 2 "Config.": the window options stored in the settings and the sound choosers.
class ConfigPage final : public QWidget {
    Q_OBJECT
public:
    ConfigPage(Form1Model& model, QWidget* parent = nullptr);

    void refresh();

private:
    struct Option {
        QCheckBox* box;
        int Settings::*field;
    };

    // A box that only stores its value, or one whose click runs `onClick` with the new value.
    QCheckBox* addOption(const char* name, const char* caption, int Settings::*field,
                         std::function<void(int)> onClick = {});
    QWidget* buildAudio();
    QWidget* buildCommands();
    void chooseSound(std::size_t index);

    Form1Model& model_;
    std::vector<Option> options_;
    std::array<QLineEdit*, 2> txtAudio_{};
    QLabel* lblNewVer_ = nullptr;
};

} // namespace volmara
