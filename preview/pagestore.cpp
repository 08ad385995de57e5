#include "preview/pagestore.h"

#include "base/error.h"
#include "base/littleendian.h"
#include "preview/pagestream.h"
#include "report/pageimage.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPicture>
#include <QSaveFile>

#include <algorithm>
#include <bit>
#include <cstring>

namespace pellion {

namespace savedreport {

double daysSince1899(const QDateTime& localTime) {
    const QDate epoch(1899, 12, 30);
    const double days = static_cast<double>(epoch.daysTo(localTime.date()));
    return days + localTime.time().msecsSinceStartOfDay() / 86400000.0;
}

} // namespace savedreport

namespace {

using namespace savedreport;

[[noreturn]] void invalidFile() {
    throw Error("Invalid report file");
}

std::string nativeName(const QString& fileName) {
    return QDir::toNativeSeparators(fileName).toStdString();
}

QByteArray headerBytes(int pageCount) {
    QByteArray header(headerSize, '\0');
    setLittleEndianAt(header, 0, formatVersion, 2);
    setLittleEndianAt(header, 2, engineVersion, 2);
    setLittleEndianAt(header, pageCountOffset, static_cast<std::uint32_t>(pageCount), 4);
    const double created = daysSince1899(QDateTime::currentDateTime());
    setLittleEndianAt(header, creationTimeOffset, std::bit_cast<std::uint64_t>(created), 8);
    header[compressionOffset] = 0; // pages are stored uncompressed
    return header;
}

// An offset read from the stream, accepted only inside [low, high].
qint64 checkedOffset(std::int32_t value, qint64 low, qint64 high) {
    if (value < low || value > high)
        invalidFile();
    return value;
}

} // namespace

void drawPageImage(QPainter& painter, const QPicture& page, const QRect& into) {
    const QRect bounds = page.boundingRect();
    const QPaintDevice* device = painter.device();
    if (bounds.width() <= 0 || bounds.height() <= 0 || device == nullptr)
        return;
    const double dpiX = static_cast<double>(page.logicalDpiX()) / device->logicalDpiX();
    const double dpiY = static_cast<double>(page.logicalDpiY()) / device->logicalDpiY();
    painter.save();
    painter.translate(into.topLeft());
    painter.scale(dpiX * into.width() / bounds.width(), dpiY * into.height() / bounds.height());
    painter.drawPicture(-bounds.topLeft(), page);
    painter.restore();
}

PageList::PageList() : m_stream(std::make_unique<PageStream>()) {}

PageList::~PageList() = default;

void PageList::release() {
    std::lock_guard guard(m_lock);
    m_stream = std::make_unique<PageStream>();
    m_pageCount = 0;
    m_headerSize = headerSize;
    m_nextRecord = 0;
}

void PageList::startDocument() {
    release();
}

void PageList::finishDocument(int) {
    finish();
}

bool PageList::loaded() const {
    std::lock_guard guard(m_lock);
    return m_stream->readOnly();
}

int PageList::pageCount() const {
    std::lock_guard guard(m_lock);
    return m_pageCount;
}

void PageList::writeHeader(int pageCount) {
    m_stream->seek(0);
    m_stream->write(headerBytes(pageCount));
}

void PageList::appendPageImage(const QByteArray& image) {
    std::lock_guard guard(m_lock);
    ++m_pageCount;
    if (m_pageCount == 1)
        writeHeader(1);
    const qint64 start = m_stream->size();
    if (start + recordFrameSize + image.size() > INT32_MAX)
        throw Error("Stream write error");
    m_stream->seek(start);
    m_stream->writeInt32(m_pageCount);
    m_stream->writeInt32(static_cast<std::int32_t>(start + 4)); // the next offset, below
    m_stream->write(image);
    m_stream->writeInt32(static_cast<std::int32_t>(start));
    const qint64 end = m_stream->position();
    m_stream->seek(start + 4);
    m_stream->writeInt32(static_cast<std::int32_t>(end));
    m_stream->seek(end);
}

void PageList::finish() {
    std::lock_guard guard(m_lock);
    writeHeader(m_pageCount);
    m_stream->seek(m_stream->size());
}

qint64 PageList::lastRecordStart() const {
    const qint64 size = m_stream->size();
    if (size < m_headerSize + recordFrameSize)
        invalidFile();
    m_stream->seek(size - 4);
    return checkedOffset(m_stream->readInt32(), m_headerSize, size - recordFrameSize);
}

void PageList::positionOnRecord(int n) const {
    const qint64 size = m_stream->size();
    qint64 start = 0;
    if (n == 1) {
        start = m_headerSize;
    } else if (n == m_pageCount) {
        start = lastRecordStart();
    } else {
        start = m_nextRecord > 0 && m_nextRecord < size ? m_nextRecord : lastRecordStart();
        // Offsets must move strictly towards the page wanted, so a damaged
        // chain ends in an error instead of a loop.
        m_stream->seek(start);
        std::int32_t m = m_stream->readInt32();
        while (m < n) {
            const qint64 next = checkedOffset(m_stream->readInt32(), start + recordFrameSize,
                                              size - recordFrameSize);
            start = next;
            m_stream->seek(start);
            m = m_stream->readInt32();
        }
        while (m > n) {
            if (start - 4 < m_headerSize + recordFrameSize)
                invalidFile();
            m_stream->seek(start - 4);
            start = checkedOffset(m_stream->readInt32(), m_headerSize, start - recordFrameSize);
            m_stream->seek(start);
            m = m_stream->readInt32();
        }
    }
    m_stream->seek(start);
}

std::optional<QByteArray> PageList::readPageImage(int n) const {
    std::lock_guard guard(m_lock);
    if (n < 1 || n > m_pageCount)
        return std::nullopt;
    positionOnRecord(n);
    const qint64 start = m_stream->position();
    if (m_stream->readInt32() != n)
        invalidFile();
    const qint64 next =
        checkedOffset(m_stream->readInt32(), start + recordFrameSize, m_stream->size());
    QByteArray image = m_stream->read(next - start - recordFrameSize);
    if (m_stream->readInt32() != start)
        invalidFile();
    m_nextRecord = next;
    return image;
}

std::optional<QPicture> PageList::readPage(int n) const {
    const std::optional<QByteArray> image = readPageImage(n);
    if (!image)
        return std::nullopt;
    return decodePageImage(*image);
}

void PageList::checkChain() {
    const qint64 size = m_stream->size();
    qint64 start = m_headerSize;
    for (int page = 1; page <= m_pageCount; ++page) {
        if (start > size - recordFrameSize)
            invalidFile();
        m_stream->seek(start);
        if (m_stream->readInt32() != page)
            invalidFile();
        const qint64 next = checkedOffset(m_stream->readInt32(), start + recordFrameSize, size);
        m_stream->seek(next - 4);
        if (m_stream->readInt32() != start)
            invalidFile();
        start = next;
    }
    // The last record ends the file.
    if (start != size)
        invalidFile();
}

void PageList::load(const QString& fileName) {
    loadStream([&] { return PageStream::openForReading(fileName); });
}

void PageList::loadBytes(const QByteArray& bytes) {
    loadStream([&] { return PageStream::readOnlyBytes(bytes); });
}

void PageList::loadStream(const std::function<std::unique_ptr<PageStream>()>& open) {
    std::lock_guard guard(m_lock);
    m_stream = std::make_unique<PageStream>();
    m_pageCount = 0;
    m_nextRecord = 0;
    m_headerSize = headerSize;
    try {
        std::unique_ptr<PageStream> file = open();
        const qint64 size = file->size();
        if (size < headerSize)
            invalidFile();
        const QByteArray header = file->read(headerSize);
        bool older = false;
        if (size >= olderSignatureOffset + 4) {
            file->seek(olderSignatureOffset);
            older = file->read(4) == QByteArray("EMF\0", 4);
        }
        if (!older && littleEndianAt(header, 0, 2) != formatVersion)
            invalidFile();
        const auto count = static_cast<std::int32_t>(littleEndianAt(header, pageCountOffset, 4));
        if (count < 0)
            invalidFile();
        m_stream = std::move(file);
        m_headerSize = older ? olderHeaderSize : headerSize;
        m_pageCount = count;
        checkChain();
    } catch (...) {
        m_stream = std::make_unique<PageStream>();
        m_pageCount = 0;
        m_headerSize = headerSize;
        throw;
    }
}

void PageList::copyTo(QIODevice& out) {
    std::lock_guard guard(m_lock);
    const qint64 resumeAt = m_stream->position();
    m_stream->seek(0);
    while (!m_stream->atEnd()) {
        const qint64 length = std::min(copyBlockSize, m_stream->size() - m_stream->position());
        const QByteArray block = m_stream->read(length);
        if (out.write(block) != block.size())
            throw Error("Stream write error");
    }
    m_stream->seek(resumeAt);
}

void PageList::saveToFile(const QString& fileName) {
    {
        std::lock_guard guard(m_lock);
        // The loaded file is the stream being copied; it is never its own target.
        const QString loadedFile = m_stream->fileName();
        const QString loadedPath = QFileInfo(loadedFile).canonicalFilePath();
        if (!loadedPath.isEmpty() && loadedPath == QFileInfo(fileName).canonicalFilePath())
            throw Error("Cannot create file " + nativeName(fileName));
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw Error("Cannot create file " + nativeName(fileName));
    copyTo(file);
    if (!file.commit())
        throw Error("Unable to write to " + nativeName(fileName));
}

} // namespace pellion
