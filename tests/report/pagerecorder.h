#pragma once

// Test support: collects the page images of a run and reads back the texts
// drawn on each page, by replaying them onto a paint engine that only
// records text.

#include "report/pagesink.h"

#include <QPicture>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QStringList>

#include <vector>

namespace pellion::test {

struct DrawnText {
    QString text;
    QPointF position; // baseline start, in page pixels
    bool bold = false;
};

struct RecordedPage {
    QRect boundingRect;
    std::vector<DrawnText> texts;

    QStringList allTexts() const;
    bool contains(const QString& text) const;
    int count(const QString& text) const;
    int countStartingWith(const QString& prefix) const;
    // The text drawn nearest to the right of a label on the same line.
    QString textRightOf(const QString& label) const;
    // Every text on the line of the first occurrence of this text, left to right.
    QStringList lineOf(const QString& text) const;
};

class PageRecorder : public PageSink {
public:
    void startDocument() override { ++startCount; }
    void appendPageImage(const QByteArray& page) override;
    void finishDocument(int pageCount) override { finishedPageCount = pageCount; }

    std::vector<RecordedPage> pages;
    int startCount = 0;
    int finishedPageCount = -1;
};

RecordedPage recordTexts(const QPicture& picture);

} // namespace pellion::test
