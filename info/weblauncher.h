#pragma once

// The help window has no web access of its own: web addresses (its Home and
// Search buttons, links out of the help pages) go to the user's default web
// browser. Tests swap the launcher for one that records the address.

#include <QUrl>

#include <functional>

namespace pellion {

// The start page "<<Home>>" opens, and the web search "<<<Search The Net>>>" opens.
QUrl webHomeAddress();
QUrl webSearchAddress();

// Hands the address to the default web browser; false when none took it.
bool openInWebBrowser(const QUrl& address);

using WebLauncher = std::function<bool(const QUrl&)>;
WebLauncher setWebLauncher(WebLauncher launcher); // returns the previous one

} // namespace pellion
