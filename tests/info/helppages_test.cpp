// The help pages shipped in help/: every link leads to a page that exists,
// every page can be reached from the index, and each has a title.

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

QDir helpFolder() {
    return QDir(qEnvironmentVariable("PELLION_SOURCE_DIR") + QStringLiteral("/help"));
}

QString readPage(const QString& name) {
    QFile page(helpFolder().filePath(name));
    EXPECT_TRUE(page.open(QIODevice::ReadOnly)) << name.toStdString();
    return QString::fromUtf8(page.readAll());
}

// The local pages a page links to, without their #fragments.
QStringList localLinks(const QString& html) {
    static const QRegularExpression href(QStringLiteral("href\\s*=\\s*\"([^\"]*)\""),
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList links;
    for (auto match = href.globalMatch(html); match.hasNext();) {
        const QUrl url(match.next().captured(1));
        if (url.scheme().isEmpty() && !url.path().isEmpty())
            links << url.path();
    }
    return links;
}

TEST(HelpPages, EveryLinkLeadsToAnExistingPage) {
    const QStringList pages = helpFolder().entryList({QStringLiteral("*.htm")}, QDir::Files);
    ASSERT_TRUE(pages.contains(QStringLiteral("index.htm")));
    for (const QString& page : pages) {
        for (const QString& link : localLinks(readPage(page))) {
            SCOPED_TRACE(page.toStdString() + " -> " + link.toStdString());
            EXPECT_TRUE(helpFolder().exists(link));
        }
    }
}

TEST(HelpPages, EveryPageIsReachableFromTheIndexAndHasATitle) {
    QSet<QString> reached{QStringLiteral("index.htm")};
    QStringList waiting{QStringLiteral("index.htm")};
    while (!waiting.isEmpty()) {
        const QString page = waiting.takeFirst();
        const QString html = readPage(page);
        EXPECT_TRUE(html.contains(QStringLiteral("<title>"))) << page.toStdString();
        for (const QString& link : localLinks(html))
            if (link.endsWith(QStringLiteral(".htm")) && !reached.contains(link)) {
                reached.insert(link);
                waiting << link;
            }
    }
    for (const QString& page : helpFolder().entryList({QStringLiteral("*.htm")}, QDir::Files))
        EXPECT_TRUE(reached.contains(page)) << page.toStdString() << " is not linked";
}

} // namespace
