#include "ui/messagedialog.h"

#include "ui/errordisplay.h"

#include <QMessageBox>
#include <QPushButton>

namespace pellion {

namespace {

QString caption(DialogKind kind) {
    switch (kind) {
    case DialogKind::Warning:
        return QStringLiteral("Warning");
    case DialogKind::Error:
        return QStringLiteral("Error");
    case DialogKind::Information:
        return QStringLiteral("Information");
    case DialogKind::Confirmation:
        break;
    }
    return QStringLiteral("Confirm");
}

QMessageBox::Icon icon(DialogKind kind) {
    switch (kind) {
    case DialogKind::Warning:
        return QMessageBox::Warning;
    case DialogKind::Error:
        return QMessageBox::Critical;
    case DialogKind::Information:
        return QMessageBox::Information;
    case DialogKind::Confirmation:
        break;
    }
    return QMessageBox::Question;
}

struct ButtonLook {
    DialogButton button;
    const char* text;
    QMessageBox::ButtonRole role;
};

// Left to right as the dialog shows them.
constexpr ButtonLook buttonLooks[] = {
    {DialogYes, "&Yes", QMessageBox::YesRole},
    {DialogNo, "&No", QMessageBox::NoRole},
    {DialogOk, "OK", QMessageBox::AcceptRole},
    {DialogCancel, "Cancel", QMessageBox::RejectRole},
};

DialogButton defaultButton(int buttons) {
    return (buttons & DialogOk) ? DialogOk : DialogYes;
}

DialogButton escapeButton(int buttons) {
    if (buttons & DialogCancel)
        return DialogCancel;
    if (buttons & DialogNo)
        return DialogNo;
    return DialogOk;
}

} // namespace

DialogButton messageDialog(QWidget* parent, DialogKind kind, const QString& text, int buttons) {
    // Unattended, a question gets the answer that changes nothing.
    if (unattendedSink()) {
        unattendedSink()(text);
        return escapeButton(buttons);
    }
    QMessageBox box(icon(kind), caption(kind), text, QMessageBox::NoButton, parent);
    QAbstractButton* escape = nullptr;
    for (const auto& look : buttonLooks) {
        if (!(buttons & look.button))
            continue;
        QPushButton* button = box.addButton(QString::fromLatin1(look.text), look.role);
        button->setProperty("dialogButton", int(look.button));
        if (look.button == defaultButton(buttons))
            box.setDefaultButton(button);
        if (look.button == escapeButton(buttons))
            escape = button;
    }
    box.setEscapeButton(escape);
    box.exec();
    const QAbstractButton* clicked = box.clickedButton();
    if (!clicked)
        return escapeButton(buttons);
    return DialogButton(clicked->property("dialogButton").toInt());
}

} // namespace pellion
