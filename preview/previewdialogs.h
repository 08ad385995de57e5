#pragma once

// What the preview asks the platform: the file-save and file-open dialogs,
// the installed printers and the plain message box. Tests replace them to
// answer without a real dialog or printer.

#include "preview/previewtarget.h"
#include "preview/printersetupdialog.h"

#include <QString>

#include <functional>

namespace pellion {

struct PreviewDialogs {
    // The chosen file name, or empty when the dialog was cancelled.
    std::function<QString(const QString& title, const QString& filter,
                          const QString& defaultSuffix)>
        saveFileName;
    std::function<QString(const QString& title, const QString& filter)> openFileName;
    // The printers the printer set-up offers.
    std::function<InstalledPrinters()> installedPrinters;
    std::function<void(const QString& text)> message;
};

// The platform's dialogs.
PreviewDialogs platformPreviewDialogs();
// The dialogs every preview window uses from now on.
PreviewDialogs& previewDialogs();

} // namespace pellion
