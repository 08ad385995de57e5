#include "ledger/ledgerinput.h"

#include "base/error.h"
#include "ledger/ledgerformat.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pellion {

namespace {

bool isLineEnd(char c) {
    return c == '\r' || c == '\n' || c == '\0';
}

} // namespace

LedgerInput::LedgerInput(const std::string& path) : m_path(path) {
    // Non-blocking so that a FIFO in the file's place cannot hang the open.
    m_fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info {};
    if (m_fd >= 0 && (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (m_fd < 0)
        throw Error("Cannot open file " + path);
}

LedgerInput::~LedgerInput() {
    ::close(m_fd);
}

bool LedgerInput::empty() {
    return m_position == m_end && !refill() && m_bytesRead == 0;
}

bool LedgerInput::nextLine(std::string& line) {
    line.clear();
    if (!skipLineEnds())
        return false;
    for (;;) {
        if (m_position == m_end && !refill())
            break;
        std::size_t start = m_position;
        while (m_position < m_end && !isLineEnd(m_buffer[m_position]))
            ++m_position;
        line.append(m_buffer.data() + start, m_position - start);
        if (line.size() > maxLineLength)
            throw Error("Line too long in " + m_path);
        if (m_position < m_end)
            break;
    }
    if (!isValidUtf8(line))
        line = windows1252ToUtf8(line);
    return true;
}

bool LedgerInput::skipLineEnds() {
    for (;;) {
        while (m_position < m_end && isLineEnd(m_buffer[m_position]))
            ++m_position;
        if (m_position < m_end)
            return true;
        if (!refill())
            return false;
    }
}

bool LedgerInput::refill() {
    if (m_atEnd)
        return false;
    ssize_t count;
    do {
        count = ::read(m_fd, m_buffer.data(), m_buffer.size());
    } while (count < 0 && errno == EINTR);
    if (count < 0)
        throw Error("Stream read error");
    m_position = 0;
    m_end = static_cast<std::size_t>(count);
    m_bytesRead += m_end;
    m_atEnd = count == 0;
    return !m_atEnd;
}

} // namespace pellion
