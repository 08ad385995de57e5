#pragma once

#include <QTextBrowser>

namespace pellion {

// The help window's page view: local HTML pages with a history per window for
// back and forward. A page it cannot find shows a page of its own saying so;
// web addresses in a page go to the user's web browser.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget* parent = nullptr);

    // Shows the local file. Throws pellion::Error when the file exists but
    // cannot be read as a page (a folder, no permission).
    void navigate(const QString& filePath);

protected:
    QVariant loadResource(int type, const QUrl& name) override;
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override;
};

// The page shown in place of a help page that cannot be found.
QString missingPageHtml(const QString& filePath);

} // namespace pellion
