#pragma once

// cfgfd.ini: a section/key/value text file. Values are replaced in place and
// every other line (comments, unknown sections, blank lines, the file's own
// line endings) is kept as it was, so a hand-edited file survives a save.
//
// Sections and keys match without regard to ASCII case; whitespace around a
// key or a value is not part of it. The first occurrence of a section or key
// wins. A missing or unreadable file reads as empty, and so does one larger
// than maxFileSize, which cannot be a settings file (a save then replaces it).
// A file that is there but cannot be read is never replaced.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pellion {

class SettingsFile {
public:
    static constexpr std::size_t maxFileSize = 1 << 20;

    explicit SettingsFile(std::string path);

    // Replaces what was read with this text, as if the file held it.
    void setContents(std::string_view text);

    const std::string& path() const { return m_path; }

    // The value text, or fallback when the section or the key is missing.
    std::string read(std::string_view section, std::string_view key,
                     std::string_view fallback) const;

    // Replaces the value in memory, creating the section or the key as needed.
    void write(std::string_view section, std::string_view key, std::string_view value);

    // Replaces the file as ReplacingFile does: a failure leaves the previous
    // file intact, and a file the user may not write, or could not read, is
    // not replaced. Raises "Unable to write to <path>".
    void save() const;

    std::string contents() const;

private:
    struct Location {
        int sectionLine = -1; // the "[section]" line
        int endLine = 0;      // one past the section's last line that is not blank
        int keyLine = -1;
    };
    Location locate(std::string_view section, std::string_view key) const;

    std::string m_path;
    std::vector<std::string> m_lines;
    std::string m_newline = "\n";
    bool m_unreadable = false;
};

} // namespace pellion
