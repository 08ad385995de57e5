#include "preview/pagestream.h"

#include "base/error.h"
#include "base/littleendian.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <array>

namespace pellion {

namespace {

[[noreturn]] void readError() {
    throw Error("Stream read error");
}

[[noreturn]] void writeError() {
    throw Error("Stream write error");
}

} // namespace

PageStream::PageStream() {
    auto buffer = std::make_unique<QBuffer>();
    buffer->open(QIODevice::ReadWrite);
    m_device = std::move(buffer);
}

PageStream::~PageStream() = default;

std::unique_ptr<PageStream> PageStream::openForReading(const QString& fileName) {
    auto file = std::make_unique<QFile>(fileName);
    if (!file->open(QIODevice::ReadOnly))
        throw Error("Cannot open file " + QDir::toNativeSeparators(fileName).toStdString());
    auto stream = std::make_unique<PageStream>();
    stream->m_device = std::move(file);
    stream->m_fileName = fileName;
    stream->m_readOnly = true;
    return stream;
}

std::unique_ptr<PageStream> PageStream::readOnlyBytes(const QByteArray& bytes) {
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(bytes);
    buffer->open(QIODevice::ReadOnly);
    auto stream = std::make_unique<PageStream>();
    stream->m_device = std::move(buffer);
    stream->m_readOnly = true;
    return stream;
}

qint64 PageStream::size() const {
    return m_device->size();
}

qint64 PageStream::position() const {
    return m_device->pos();
}

void PageStream::seek(qint64 position) {
    if (position < 0 || position > size() || !m_device->seek(position))
        readError();
}

QByteArray PageStream::read(qint64 length) {
    // Checked before allocating: a length read from a file may be anything.
    if (length < 0 || length > size() - position())
        readError();
    QByteArray bytes = m_device->read(length);
    if (bytes.size() != length)
        readError();
    return bytes;
}

std::int32_t PageStream::readInt32() {
    return static_cast<std::int32_t>(littleEndianAt(read(4), 0, 4));
}

void PageStream::write(const QByteArray& bytes) {
    if (readOnly())
        writeError();
    if (inMemory() && position() + bytes.size() > memoryLimit)
        moveToTemporaryFile();
    if (m_device->write(bytes) != bytes.size())
        writeError();
}

void PageStream::writeInt32(std::int32_t value) {
    QByteArray bytes;
    appendLittleEndian(bytes, static_cast<std::uint32_t>(value), 4);
    write(bytes);
}

void PageStream::moveToTemporaryFile() {
    auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/PRPXXXXXX"));
    if (!file->open())
        throw Error("Cannot create file " +
                    QDir::toNativeSeparators(file->fileTemplate()).toStdString());
    const qint64 resumeAt = position();
    auto* buffer = static_cast<QBuffer*>(m_device.get());
    const QByteArray& content = buffer->data();
    if (file->write(content) != content.size() || !file->seek(resumeAt))
        writeError();
    m_temporary = file.get();
    m_device = std::move(file); // drops the memory copy
}

QString PageStream::temporaryFileName() const {
    return m_temporary != nullptr ? m_temporary->fileName() : QString();
}

} // namespace pellion
