#include "ui/qt_prompt.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QThread>

namespace pelor::ui {

namespace {
QString Text(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}
}  // namespace

QStringList FilterList(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;
        QString name = parts[i];
        if (!name.contains('(')) name += " (" + parts[i + 1] + ")";
        out << name;
    }
    return out;
}

core::Answer QtPrompt::Message(std::string_view text, std::string_view caption,
                               core::MessageButtons buttons) {
    return MessageWithDetail(text, {}, caption, buttons);
}

core::Answer QtPrompt::MessageWithDetail(std::string_view text, std::string_view detail,
                                         std::string_view caption, core::MessageButtons buttons) {
    if (QThread::currentThread() != qApp->thread()) {
        // From a reader thread: the box is shown by the user interface thread later; the
        // reader never waits for the user (it may hold the channel store the paint needs).
        QMetaObject::invokeMethod(
            qApp,
            [parent = parent_, t = Text(text), d = Text(detail), c = Text(caption)] {
                QMessageBox box(QMessageBox::NoIcon, c, t, QMessageBox::Ok, parent);
                if (!d.isEmpty()) box.setInformativeText(d);
                box.exec();
            },
            Qt::QueuedConnection);
        return buttons == core::MessageButtons::Ok ? core::Answer::Ok : core::Answer::No;
    }
    const bool question = buttons != core::MessageButtons::Ok;
    QMessageBox::StandardButtons choices = QMessageBox::Ok;
    if (buttons == core::MessageButtons::YesNo) choices = QMessageBox::Yes | QMessageBox::No;
    if (buttons == core::MessageButtons::YesNoCancel) {
        choices = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    QMessageBox box(question ? QMessageBox::Question : QMessageBox::NoIcon, Text(caption),
                    Text(text), choices, parent_);
    if (!detail.empty()) box.setInformativeText(Text(detail));
    const int r = box.exec();
    if (!question) return core::Answer::Ok;
    if (r == QMessageBox::Yes) return core::Answer::Yes;
    if (r == QMessageBox::Cancel) return core::Answer::Cancel;
    return core::Answer::No;
}

std::optional<std::string> QtPrompt::ChooseFile(const core::FileDialogRequest& request) {
    if (QThread::currentThread() != qApp->thread())
        return std::nullopt;  // only the user's thread asks
    QFileDialog dialog(parent_);
    if (!request.title.empty()) dialog.setWindowTitle(QString::fromStdString(request.title));
    dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(request.open && request.pathMustExist ? QFileDialog::ExistingFile
                                                             : QFileDialog::AnyFile);
    if (!request.defaultExtension.empty()) {
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    }
    dialog.setNameFilters(FilterList(request.filter));
    if (!request.overwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QString initial = QString::fromStdString(request.initialName);
    if (initial.contains('/')) {
        dialog.setDirectory(QFileInfo(initial).absolutePath());
        dialog.selectFile(QFileInfo(initial).fileName());
    } else {
        dialog.setDirectory(QDir::currentPath());
        dialog.selectFile(initial);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first().toStdString();
}

}  // namespace pelor::ui
