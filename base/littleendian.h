#pragma once

// Unsigned little-endian integers of 1 to 8 bytes in byte arrays: the byte
// order of the saved-report file and of its page images. Any array of chars
// with size_type, operator[] and push_back will do (QByteArray, std::string).

#include <cstdint>

namespace pellion {

// The caller has checked that the bytes are there.
template <class Bytes>
std::uint64_t littleEndianAt(const Bytes& bytes, typename Bytes::size_type offset, int size) {
    std::uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[offset + i]);
    return value;
}

template <class Bytes>
void setLittleEndianAt(Bytes& bytes, typename Bytes::size_type offset, std::uint64_t value,
                       int size) {
    for (int i = 0; i < size; ++i)
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xff);
}

template <class Bytes> void appendLittleEndian(Bytes& bytes, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

} // namespace pellion
