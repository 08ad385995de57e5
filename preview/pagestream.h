#pragma once

// The byte stream under a page store. It starts in memory; the write that
// makes it longer than memoryLimit moves it into a temporary file named
// "PRP..." in the system's temporary folder, which is deleted with the
// stream. A loaded report's stream is the file itself, opened for reading.
//
// Every read is checked against the stream's length: a short read fails with
// "Stream read error" instead of returning less, so a reader never works on
// bytes that are not there.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>

class QIODevice;
class QTemporaryFile;

namespace pellion {

class PageStream {
public:
    static constexpr qint64 memoryLimit = 100000;

    PageStream(); // empty, in memory
    ~PageStream();
    PageStream(const PageStream&) = delete;
    PageStream& operator=(const PageStream&) = delete;

    // Fails with "Cannot open file %s".
    static std::unique_ptr<PageStream> openForReading(const QString& fileName);
    // A saved report already in memory, read-only like a loaded file.
    static std::unique_ptr<PageStream> readOnlyBytes(const QByteArray& bytes);

    qint64 size() const;
    qint64 position() const;
    void seek(qint64 position); // 0 .. size()
    bool atEnd() const { return position() >= size(); }

    QByteArray read(qint64 length);
    std::int32_t readInt32();
    void write(const QByteArray& bytes);
    void writeInt32(std::int32_t value);

    bool inMemory() const { return m_temporary == nullptr && m_fileName.isEmpty(); }
    bool readOnly() const { return m_readOnly; }
    // The temporary file once the stream has moved there, else empty.
    QString temporaryFileName() const;
    // The loaded file, else empty.
    QString fileName() const { return m_fileName; }

private:
    void moveToTemporaryFile();

    std::unique_ptr<QIODevice> m_device;
    QTemporaryFile* m_temporary = nullptr; // m_device once it is the temporary file
    QString m_fileName;
    bool m_readOnly = false;
};

} // namespace pellion
