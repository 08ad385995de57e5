#pragma once

// The help viewer (frm_hlpcont): a bar of five flat buttons over a page view
// that starts on the index page, AppDir + "/help/index.htm". Back and Forward
// walk the window's own history; Home and Search hand the user's web browser
// a start page and a web search; "<<<Pellion Help>>>" returns to the index.
// Every Help > Contents opens one more window, owned by the main window;
// closing one only hides it, and the owner destroys them all at the end.

#include <QWidget>

namespace pellion {

class FlatButton;
class HelpBrowser;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // Navigates to the index page at once; a failure is shown by the error
    // display and the window opens regardless, with an empty page view.
    HelpWindow(const QString& appDir, QWidget* owner);

    QString indexPage() const;
    HelpBrowser* browser() const { return m_webB; }

private:
    QWidget* buildButtonBar();
    void centreOnScreen();

    void obtn_backClick();
    void obtn_forwardClick();
    void obtn_homeClick();
    void obtn_searchClick();
    void obtn_contentsClick();

    QString m_appDir;
    HelpBrowser* m_webB = nullptr;
};

// Help > Contents: one more help window, shown maximized and modeless.
HelpWindow* openHelpWindow(QWidget* owner, const QString& appDir);

} // namespace pellion
