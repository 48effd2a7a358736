#pragma once

#include <QWidget>

#include "core/settings.h"

#include <array>
#include <vector>

class QCheckBox;
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

    QCheckBox* addOption(const char* name, const char* caption, int Settings::*field);
    QWidget* buildAudio();
    void chooseSound(std::size_t index);

    Form1Model& model_;
    std::vector<Option> options_;
    std::array<QLineEdit*, 2> txtAudio_{};
};

} // namespace volmara
