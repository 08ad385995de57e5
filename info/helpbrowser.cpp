#include "info/helpbrowser.h"

#include "base/error.h"
#include "info/weblauncher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace pellion {

namespace {
bool isWebAddress(const QUrl& url) {
    const QString scheme = url.scheme();
    return !scheme.isEmpty() && scheme != QLatin1String("file") && scheme != QLatin1String("qrc");
}
} // namespace

QString missingPageHtml(const QString& filePath) {
    const QString shown = QDir::toNativeSeparators(filePath).toHtmlEscaped();
    return QStringLiteral("<html><head><title>Page not found</title></head><body>"
                          "<h2>Page not found</h2>"
                          "<p>The help page <b>%1</b> cannot be found.</p>"
                          "<p>The help pages belong in the folder <b>help</b> beside the "
                          "Pellion program, or in Pellion's data folder (such as "
                          "<b>/usr/share/pellion</b>) when it is installed. Reinstalling "
                          "Pellion puts them back.</p>"
                          "</body></html>")
        .arg(shown);
}

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(true);
    setOpenExternalLinks(false); // web addresses go through doSetSource
}

void HelpBrowser::navigate(const QString& filePath) {
    const QFileInfo info(filePath);
    if (info.exists()) {
        QFile file(filePath);
        if (!info.isFile() || !file.open(QIODevice::ReadOnly))
            throw Error("Cannot open file " + QDir::toNativeSeparators(filePath).toStdString());
    }
    setSource(QUrl::fromLocalFile(filePath));
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    if (type == QTextDocument::HtmlResource && name.isLocalFile()) {
        const QString path = name.toLocalFile();
        QFile file(path);
        if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
            return missingPageHtml(path);
        return file.readAll();
    }
    return QTextBrowser::loadResource(type, name);
}

void HelpBrowser::doSetSource(const QUrl& name, QTextDocument::ResourceType type) {
    if (isWebAddress(name)) {
        openInWebBrowser(name);
        return;
    }
    QTextBrowser::doSetSource(name, type);
}

} // namespace pellion
