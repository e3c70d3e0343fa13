#include "platform/NativePrompts.h"

#include <QFileDialog>

std::optional<std::string> ShowFileDialog(QWidget* owner, const FileDialogRequest& request) {
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
