#include "ui/errordisplay.h"

#include <QMessageBox>

namespace pellion {

QString errorDisplayText(const QString& message) {
    if (message.isEmpty())
        return message;
    const QChar last = message.back();
    if (last.unicode() > u'.')
        return message + u'.';
    return message;
}

void showError(const QString& message, QWidget* parent) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Pellion"), errorDisplayText(message),
                    QMessageBox::Ok, parent);
    box.exec();
}

void showError(const std::exception& error, QWidget* parent) {
    showError(QString::fromUtf8(error.what()), parent);
}

} // namespace pellion
