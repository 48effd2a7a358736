#pragma once

#include "platform/dialogs.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include <memory>

class QFileDialog;

namespace volmara {

// Message boxes and the folder chooser as window-modal Qt dialogs opened with open(): the answer
// arrives through a queued call once the dialog has finished, never from a nested loop.
class QtDialogs final : public Dialogs {
public:
    QtDialogs();
    ~QtDialogs() override;
    QtDialogs(const QtDialogs&) = delete;
    QtDialogs& operator=(const QtDialogs&) = delete;

    // The window the dialogs belong to; without one they open as top-level windows.
    void setOwner(QWidget* owner) { owner_ = owner; }

    void showMessage(const MessageRequest& request, std::function<void(MsgAnswer)> done) override;
    void chooseFolder(const std::string& title, std::function<void(std::optional<std::string>)> done) override;
    void chooseFile(const std::vector<std::string>& filters,
                    std::function<void(std::optional<std::string>)> done) override;
    void showTitledMessage(const std::string& title, const MessageRequest& request,
                           std::function<void(MsgAnswer)> done) override;
    void chooseFiles(const FilesRequest& request, std::function<void(std::optional<std::string>)> done) override;

private:
    // Opens a file chooser without waiting; its answer arrives through `done`.
    void openChooser(QFileDialog* dialog, std::function<void(std::optional<std::string>)> done);
    template <typename Result>
    void deliver(std::function<void(Result)> done, Result result);

    QPointer<QWidget> owner_;
    // Receiver of the queued answers; answers still queued at shut-down are dropped with it.
    std::unique_ptr<QObject> context_;
};

inline constexpr const char* kDialogTitle = "Volmara";

QMessageBox::Icon toQtIcon(MsgIcon icon);
QMessageBox::StandardButtons toQtButtons(MsgButtons buttons);
// The chosen files in the form the program splits: one file's full path, or the folder and each
// name after a NUL.
std::string multiSelection(const QStringList& files);
// The answer of a box closed by the given button; a box closed without one gives the answer
// of its escape button.
MsgAnswer toAnswer(QMessageBox::StandardButton clicked, MsgButtons buttons);

} // namespace volmara
