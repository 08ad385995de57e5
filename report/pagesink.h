#pragma once

// Receives the page images of a run, one finished page at a time. The
// preview's page store implements it.

class QPicture;

namespace pellion {

class PageSink {
public:
    virtual ~PageSink() = default;
    virtual void startDocument() = 0;
    // Page numbers count from 1 in the order pages arrive.
    virtual void appendPage(const QPicture& page) = 0;
    virtual void finishDocument(int pageCount) = 0;
};

} // namespace pellion
