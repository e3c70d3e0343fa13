#include "platform/FileDialog.h"

#include <QFileDialog>
#include <utility>

namespace {
FileDialogHook hook;
}

FileDialogHook SetFileDialogHook(FileDialogHook replacement) {
    return std::exchange(hook, std::move(replacement));
}

std::optional<std::string> ChooseFile(QWidget* owner, const FileDialogRequest& request) {
    if (hook)
        return hook(request);
    QFileDialog dialog(owner, QString::fromStdString(request.title));
    const bool save = request.kind == FileDialogKind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(QString::fromStdString(request.filter));
    dialog.setDefaultSuffix(QString::fromStdString(request.extension));
    if (save)
        dialog.selectFile(QString::fromStdString(request.name));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}
