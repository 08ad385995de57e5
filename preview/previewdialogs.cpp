#include "preview/previewdialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace pellion {

PreviewDialogs platformPreviewDialogs() {
    PreviewDialogs dialogs;
    dialogs.saveFileName = [](const QString& title, const QString& filter,
                              const QString& defaultSuffix) {
        QFileDialog dialog(nullptr, title, QString(), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(defaultSuffix);
        // An existing file is replaced without a question.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    dialogs.openFileName = [](const QString& title, const QString& filter) {
        QFileDialog dialog(nullptr, title, QString(), filter);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::AnyFile); // a missing name gets its own message
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    dialogs.installedPrinters = installedPrinters;
    dialogs.message = [](const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Pellion"), text, QMessageBox::Ok);
        box.exec();
    };
    return dialogs;
}

PreviewDialogs& previewDialogs() {
    static PreviewDialogs dialogs = platformPreviewDialogs();
    return dialogs;
}

} // namespace pellion
