#include "ui/platform/qt_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMetaObject>

namespace volmara {

QMessageBox::Icon toQtIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQtButtons(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::Ok: break;
    }
    return QMessageBox::Ok;
}

MsgAnswer toAnswer(QMessageBox::StandardButton clicked, MsgButtons buttons)
{
    switch (clicked) {
    case QMessageBox::Ok: return MsgAnswer::Ok;
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    default: break;
    }
    switch (buttons) {
    case MsgButtons::OkCancel:
    case MsgButtons::YesNoCancel: return MsgAnswer::Cancel;
    case MsgButtons::YesNo: return MsgAnswer::No;
    case MsgButtons::Ok: break;
    }
    return MsgAnswer::Ok;
}

QtDialogs::QtDialogs() : context_(std::make_unique<QObject>()) {}

QtDialogs::~QtDialogs() = default;

template <typename Result>
void QtDialogs::deliver(std::function<void(Result)> done, Result result)
{
    // Queued, so the dialog has finished closing before the program goes on.
    QMetaObject::invokeMethod(
        context_.get(), [done = std::move(done), result = std::move(result)] { done(result); },
        Qt::QueuedConnection);
}

void QtDialogs::showMessage(const MessageRequest& request, std::function<void(MsgAnswer)> done)
{
    showTitledMessage(kDialogTitle, request, std::move(done));
}

void QtDialogs::showTitledMessage(const std::string& title, const MessageRequest& request,
                                  std::function<void(MsgAnswer)> done)
{
    auto* box = new QMessageBox(toQtIcon(request.icon), QString::fromStdString(title),
                                QString::fromStdString(request.text), toQtButtons(request.buttons), owner_.data());
    box->setAttribute(Qt::WA_DeleteOnClose);
    // A dialog without an owner is parentless: it must not outlive the program.
    if (!owner_)
        QObject::connect(context_.get(), &QObject::destroyed, box, [box] { delete box; });
    const auto buttons = request.buttons;
    QObject::connect(box, &QMessageBox::finished, context_.get(), [this, box, buttons, done = std::move(done)] {
        const auto clicked = box->clickedButton() ? box->standardButton(box->clickedButton()) : QMessageBox::NoButton;
        deliver(done, toAnswer(clicked, buttons));
    });
    box->open();
}

void QtDialogs::chooseFiles(const FilesRequest& request, std::function<void(std::optional<std::string>)> done)
{
    auto* dialog = new QFileDialog(owner_.data(), QString::fromStdString(request.title),
                                   QString::fromStdString(request.initialFolder), QString::fromStdString(request.filter));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName(QStringLiteral("chooseFilesDialog"));
    dialog->setFileMode(QFileDialog::ExistingFiles);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    if (!owner_)
        QObject::connect(context_.get(), &QObject::destroyed, dialog, [dialog] { delete dialog; });
    QObject::connect(dialog, &QFileDialog::finished, context_.get(), [this, dialog, done = std::move(done)](int result) {
        std::optional<std::string> chosen;
        if (result == QDialog::Accepted)
            chosen = multiSelection(dialog->selectedFiles());
        deliver(done, std::move(chosen));
    });
    dialog->open();
}

std::string multiSelection(const QStringList& files)
{
    if (files.size() == 1)
        return files.front().toStdString();
    std::string answer;
    for (const auto& file : files) {
        const QFileInfo info(file);
        if (answer.empty())
            answer = QDir::cleanPath(info.absolutePath()).toStdString();
        answer += '\0';
        answer += info.fileName().toStdString();
    }
    return answer;
}

void QtDialogs::openChooser(QFileDialog* dialog, std::function<void(std::optional<std::string>)> done)
{
    if (!owner_)
        QObject::connect(context_.get(), &QObject::destroyed, dialog, [dialog] { delete dialog; });
    QObject::connect(dialog, &QFileDialog::finished, context_.get(), [this, dialog, done = std::move(done)](int result) {
        std::optional<std::string> chosen;
        const auto files = dialog->selectedFiles();
        if (result == QDialog::Accepted && !files.isEmpty())
            chosen = files.front().toStdString();
        deliver(done, std::move(chosen));
    });
    dialog->open();
}

void QtDialogs::chooseFolder(const std::string& title, std::function<void(std::optional<std::string>)> done)
{
    auto* dialog = new QFileDialog(owner_.data(), QString::fromStdString(title));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    openChooser(dialog, std::move(done));
}

void QtDialogs::chooseFile(const std::vector<std::string>& filters, std::function<void(std::optional<std::string>)> done)
{
    auto* dialog = new QFileDialog(owner_.data());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName(QStringLiteral("chooseFileDialog"));
    // Any name may be typed; the caller tells the user when it names no file.
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    QStringList names;
    for (const auto& filter : filters)
        names << QString::fromStdString(filter);
    dialog->setNameFilters(names);
    openChooser(dialog, std::move(done));
}

} // namespace volmara
