#pragma once

// Unsigned little-endian integers of 1 to 8 bytes in byte arrays: the byte
// order of the saved-report file and of its page images.

#include <QByteArray>

#include <cstdint>

namespace pellion {

// The caller has checked that the bytes are there.
inline std::uint64_t littleEndianAt(const QByteArray& bytes, qsizetype offset, int size) {
    std::uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[offset + i]);
    return value;
}

inline void setLittleEndianAt(QByteArray& bytes, qsizetype offset, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xff);
}

inline void appendLittleEndian(QByteArray& bytes, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xff));
}

} // namespace pellion
