#pragma once

// The lines of a ledger file. Lines end at CR, LF or NUL, and a run of them
// counts as one, so blank lines vanish. Only the current line is held, so
// memory follows the longest line, which is bounded.

#include <array>
#include <cstddef>
#include <string>

namespace pellion {

class LedgerInput {
public:
    static constexpr std::size_t maxLineLength = 1024 * 1024;

    // Fails with "Cannot open file <path>" when it is no regular file that can be read.
    explicit LedgerInput(const std::string& path);
    ~LedgerInput();
    LedgerInput(const LedgerInput&) = delete;
    LedgerInput& operator=(const LedgerInput&) = delete;

    bool empty();

    // False at the end of the file. The line comes as UTF-8. Fails with
    // "Line too long in <path>" or "Stream read error".
    bool nextLine(std::string& line);

private:
    static constexpr std::size_t readChunk = 8192;

    bool skipLineEnds();
    bool refill();

    std::string m_path;
    int m_fd = -1;
    std::array<char, readChunk> m_buffer{};
    std::size_t m_position = 0;
    std::size_t m_end = 0;
    std::size_t m_bytesRead = 0;
    bool m_atEnd = false;
};

} // namespace pellion
