#pragma once

// Saving must never destroy the previous good file. A ReplacingFile writes
// into a temporary file beside the target and renames it over the target only
// once everything is on disk; until commit() succeeds, or on any failure, the
// old file stays exactly as it was and the temporary file is removed.

#include <string>
#include <string_view>

namespace pellion {

class ReplacingFile {
public:
    // The texts raised (as pellion::Error) when the temporary file cannot be
    // made, when writing or syncing it fails, and when the rename fails.
    struct Messages {
        std::string cannotCreate;
        std::string cannotWrite;
        std::string cannotReplace;
    };

    // A symbolic link stays a link: its target is what gets replaced. The new
    // file keeps the old file's permissions.
    ReplacingFile(const std::string& path, Messages messages);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    void write(std::string_view bytes);
    void commit();

private:
    void keepPermissionsOfOldFile();
    void syncFolder() const;

    Messages m_messages;
    std::string m_target;
    std::string m_temporary;
    int m_fd = -1;
    bool m_committed = false;
};

} // namespace pellion
