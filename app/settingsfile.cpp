#include "app/settingsfile.h"

#include "base/asciicase.h"
#include "base/error.h"
#include "base/replacingfile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace pellion {

namespace {

std::string_view trimmed(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The name of a "[name]" line, or false when the line is no section header.
bool sectionName(std::string_view line, std::string_view& name) {
    line = trimmed(line);
    if (line.empty() || line.front() != '[')
        return false;
    const auto close = line.find(']');
    if (close == std::string_view::npos)
        return false;
    name = trimmed(line.substr(1, close - 1));
    return true;
}

bool keyAndValue(std::string_view line, std::string_view& key, std::string_view& value) {
    const auto trimmedLine = trimmed(line);
    if (trimmedLine.empty() || trimmedLine.front() == ';')
        return false;
    const auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return false;
    key = trimmed(line.substr(0, equals));
    value = trimmed(line.substr(equals + 1));
    return true;
}

// Grows with the file instead of reserving the whole limit: the settings file
// is a few hundred bytes and is read at every start-up.
std::string readAtMost(std::istream& in, std::size_t limit) {
    std::string text;
    char chunk[4096];
    while (text.size() < limit) {
        in.read(chunk, std::streamsize(std::min(sizeof chunk, limit - text.size())));
        if (in.gcount() <= 0)
            break;
        text.append(chunk, std::size_t(in.gcount()));
    }
    return text;
}

} // namespace

SettingsFile::SettingsFile(std::string path) : m_path(std::move(path)) {
    std::ifstream in(m_path, std::ios::binary);
    if (!in) {
        std::error_code missing;
        m_unreadable = std::filesystem::exists(std::filesystem::symlink_status(m_path, missing));
        return;
    }
    const std::string text = readAtMost(in, maxFileSize + 1);
    if (text.size() <= maxFileSize)
        setContents(text);
}

void SettingsFile::setContents(std::string_view text) {
    m_lines.clear();
    m_newline = "\n";
    std::size_t start = 0;
    bool sawLineEnd = false;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string line(text.substr(start, end - start));
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
            if (!sawLineEnd)
                m_newline = "\r\n"; // the first line's ending is the file's
        }
        if (end < text.size())
            sawLineEnd = true;
        m_lines.push_back(std::move(line));
        start = end + 1;
    }
}

SettingsFile::Location SettingsFile::locate(std::string_view section, std::string_view key) const {
    Location location;
    for (int i = 0; i < int(m_lines.size()); ++i) {
        std::string_view name;
        if (!sectionName(m_lines[i], name))
            continue;
        if (location.sectionLine >= 0)
            break; // past the end of the section found
        if (equalIgnoringAsciiCase(name, section)) {
            location.sectionLine = i;
            location.endLine = i + 1;
        }
    }
    if (location.sectionLine < 0)
        return location;
    for (int i = location.sectionLine + 1; i < int(m_lines.size()); ++i) {
        std::string_view name;
        if (sectionName(m_lines[i], name))
            break;
        if (!trimmed(m_lines[i]).empty())
            location.endLine = i + 1;
        std::string_view lineKey, value;
        if (location.keyLine < 0 && keyAndValue(m_lines[i], lineKey, value) &&
            equalIgnoringAsciiCase(lineKey, key))
            location.keyLine = i;
    }
    return location;
}

std::string SettingsFile::read(std::string_view section, std::string_view key,
                               std::string_view fallback) const {
    const Location location = locate(section, key);
    if (location.keyLine < 0)
        return std::string(fallback);
    std::string_view lineKey, value;
    keyAndValue(m_lines[location.keyLine], lineKey, value);
    return std::string(value);
}

void SettingsFile::write(std::string_view section, std::string_view key, std::string_view value) {
    std::string line = std::string(key) + "=" + std::string(value);
    const Location location = locate(section, key);
    if (location.keyLine >= 0) {
        m_lines[location.keyLine] = std::move(line);
    } else if (location.sectionLine >= 0) {
        m_lines.insert(m_lines.begin() + location.endLine, std::move(line));
    } else {
        while (!m_lines.empty() && trimmed(m_lines.back()).empty())
            m_lines.pop_back();
        m_lines.push_back("[" + std::string(section) + "]");
        m_lines.push_back(std::move(line));
    }
}

std::string SettingsFile::contents() const {
    std::string text;
    for (const auto& line : m_lines)
        text += line + m_newline;
    return text;
}

void SettingsFile::save() const {
    const std::string failure = "Unable to write to " + m_path;
    // Its other lines were not read, so they could not be kept.
    if (m_unreadable)
        throw Error(failure);
    ReplacingFile file(m_path, {failure, failure, failure});
    file.write(contents());
    file.commit();
}

} // namespace pellion
