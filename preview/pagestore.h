#pragma once

// The page store of a preview: the pages of one report as records
// in a PageStream laid out exactly like the saved-report file, so saving is a
// plain copy and loading makes the file itself the stream.
//
//   header, 128 bytes (little-endian): 0 format 3 (u16), 2 engine 309 (u16),
//     8 page count (i32), 16 creation time (double, days since 30 Dec 1899,
//     local time), 25 compression flag 0; the rest unassigned.
//   one record per page, in order, without gaps:
//     page number (i32), offset of the next record (i32), page image
//     (preview/pageimage.h), offset of this record's start (i32).
//
// The chain can be walked both ways. A loaded file is untrusted: its header
// and chain are checked before a page is read, every offset is bounded by the
// file, and a damaged file fails with an Error rather than being half read.

#include "report/pagesink.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class QIODevice;
class QPainter;
class QPicture;
class QRect;

namespace pellion {

class PageStream;

namespace savedreport {
constexpr int headerSize = 128;
constexpr int olderHeaderSize = 124;
constexpr std::uint16_t formatVersion = 3;
constexpr std::uint16_t engineVersion = 309;
constexpr int pageCountOffset = 8;
constexpr int creationTimeOffset = 16;
constexpr int compressionOffset = 25;
// Where a page image's "EMF" signature sits when the first record follows an
// older 124-byte header.
constexpr int olderSignatureOffset = 173;
constexpr int recordFrameSize = 12; // page number, next offset, start offset
constexpr qint64 copyBlockSize = 10240;

// Days since 30 December 1899, the fraction being the local time of day.
double daysSince1899(const QDateTime& localTime);
} // namespace savedreport

class PageList : public PageSink {
public:
    PageList();
    ~PageList() override;
    PageList(const PageList&) = delete;
    PageList& operator=(const PageList&) = delete;

    // Producing (the page-image destination of a run)
    void startDocument() override;
    void appendPageImage(const QByteArray& image) override;
    void finishDocument(int pageCount) override;
    // Rewrites the header with the final page count and a new creation time.
    void finish();

    int pageCount() const;
    // The stored bytes of page n; none when n is not stored.
    std::optional<QByteArray> readPageImage(int n) const;
    // Fails with "Invalid page image" when the bytes are not a page drawing
    // (preview/pageimage.h).
    std::optional<QPicture> readPage(int n) const;

    // Drops the stream (deleting a temporary file) and starts empty.
    void release();
    // Makes the file the stream. On failure the store is left empty.
    void load(const QString& fileName);
    void loadBytes(const QByteArray& bytes);
    // Replaces the file atomically with the whole stream; an old file stays
    // intact when anything fails.
    void saveToFile(const QString& fileName);
    void copyTo(QIODevice& out);

    const PageStream& stream() const { return *m_stream; }
    bool loaded() const;
    int headerLength() const { return m_headerSize; }

private:
    void writeHeader(int pageCount);
    void positionOnRecord(int n) const;
    qint64 lastRecordStart() const;
    void checkChain();
    void loadStream(const std::function<std::unique_ptr<PageStream>()>& open);

    mutable std::mutex m_lock;
    std::unique_ptr<PageStream> m_stream;
    int m_pageCount = 0;
    int m_headerSize = savedreport::headerSize;
    mutable qint64 m_nextRecord = 0; // where the last read left off; 0: unknown
};

// Replays a page image stretched into the rectangle of the painter's device.
// QPicture scales by the device's resolution on its own; that is taken out.
void drawPageImage(QPainter& painter, const QPicture& page, const QRect& into);

} // namespace pellion
