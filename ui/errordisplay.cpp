#include "ui/errordisplay.h"

#include <QMessageBox>

namespace pellion {

namespace {

UnattendedSink& sink() {
    static UnattendedSink theSink;
    return theSink;
}

} // namespace

void setUnattendedSink(UnattendedSink newSink) {
    sink() = std::move(newSink);
}

const UnattendedSink& unattendedSink() {
    return sink();
}

QString errorDisplayText(const QString& message) {
    if (message.isEmpty())
        return message;
    const QChar last = message.back();
    if (last.unicode() > u'.')
        return message + u'.';
    return message;
}

void showError(const QString& message, QWidget* parent) {
    if (unattendedSink()) {
        unattendedSink()(errorDisplayText(message));
        return;
    }
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Pellion"), errorDisplayText(message),
                    QMessageBox::Ok, parent);
    box.exec();
}

void showError(const std::exception& error, QWidget* parent) {
    showError(QString::fromUtf8(error.what()), parent);
}

} // namespace pellion
