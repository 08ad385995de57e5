#include "info/weblauncher.h"

#include <QDesktopServices>

namespace pellion {

namespace {
WebLauncher& launcher() {
    static WebLauncher current = [](const QUrl& address) {
        return QDesktopServices::openUrl(address);
    };
    return current;
}
} // namespace

QUrl webHomeAddress() {
    return QUrl(QStringLiteral("https://duckduckgo.com/"));
}

QUrl webSearchAddress() {
    return QUrl(
        QStringLiteral("https://duckduckgo.com/?q=household+appliance+electricity+running+cost"));
}

bool openInWebBrowser(const QUrl& address) {
    return launcher() && launcher()(address);
}

WebLauncher setWebLauncher(WebLauncher replacement) {
    WebLauncher previous = std::move(launcher());
    launcher() = std::move(replacement);
    return previous;
}

} // namespace pellion
