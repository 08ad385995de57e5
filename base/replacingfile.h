#pragma once

// Saving must never destroy the previous good file, nor replace one the user
// may not write. A ReplacingFile collects the new contents and puts them in
// place only in commit():
//  - normally as a new file beside the target, synced and then renamed over
//    it, so that a failure or a crash at any moment leaves the old file as it
//    was. The new file has no name until it is complete where the file system
//    allows it, so a crash while writing leaves nothing behind;
//  - when the folder takes no new file but the target may be written (a shared
//    folder, a program's folder), by rewriting the target where it stands.
// A target the user may not write is refused before anything is touched. The
// new file keeps the old one's mode, and its owner and group where the
// process may set them. Temporary files that a crash of an earlier save left
// beside the target (".<name>.<digits>.tmp", held by no running save) are
// removed.

#include <string>
#include <string_view>

namespace pellion {

class ReplacingFile {
public:
    // The texts raised (as pellion::Error) when the target may not be written
    // or no file can be made for it, when writing or syncing fails, and when
    // the new file cannot take the target's place.
    struct Messages {
        std::string cannotCreate;
        std::string cannotWrite;
        std::string cannotReplace;
    };

    enum class OldFile {
        Replace,
        KeepAsBackup, // kept with keepBackupCopy just before the new file goes in
    };

    // A symbolic link stays a link: its target is what gets replaced.
    ReplacingFile(const std::string& path, Messages messages, OldFile old = OldFile::Replace);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    void write(std::string_view bytes);
    void commit();

private:
    void commitByRename();
    void commitInPlace();

    Messages m_messages;
    std::string m_path;   // as the caller named it: the backup goes beside it
    std::string m_target; // the file replaced
    OldFile m_old;
    int m_fd = -1;
    std::string m_temporary; // the new file's name, once it has one
    bool m_inPlace = false;
    std::string m_contents; // in place: everything, written at commit
    bool m_committed = false;
};

// Keeps the bytes of the file at `path` as "<path>.bak" beside it, made
// complete under another name first and then put in place without replacing
// anything. A "<path>.bak" already there is renamed to the first free
// "<path>.bak.1", "<path>.bak.2", ..., so ".bak" is always the newest copy and
// of the numbered ones the highest is the most recent. Does nothing when there
// is no such file. Raises `failure` (as pellion::Error) when the file cannot
// be read or the copy cannot be made; the file itself is never changed.
void keepBackupCopy(const std::string& path, const std::string& failure);

} // namespace pellion
