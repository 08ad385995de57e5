#pragma once

// Receives the page images of a run, one finished page at a time, in the
// page-image format (pageimage.h). The preview's page store implements it.

class QByteArray;

namespace pellion {

class PageSink {
public:
    virtual ~PageSink() = default;
    virtual void startDocument() = 0;
    // Page numbers count from 1 in the order pages arrive.
    virtual void appendPageImage(const QByteArray& page) = 0;
    virtual void finishDocument(int pageCount) = 0;
};

} // namespace pellion
