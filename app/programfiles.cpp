#include "app/programfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace pellion {

namespace {

// The folder is named after the program, as is usual on Linux, rather than
// after its title "Pellion".
constexpr const char* userFolderName = "pellion";

bool writableFolder(const QString& folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

bool holdsHelp(const QString& folder) {
    return QFileInfo(folder + QStringLiteral("/help")).isDir();
}

// Installed: the help pages are not beside the program but in the data
// folder of its prefix. Even where the user may write that prefix (~/.local,
// root and /usr), its bin folder is no place for one user's settings.
bool installedProgram(const QString& programFolder) {
    return !holdsHelp(programFolder) && holdsHelp(installedDataFolder(programFolder));
}

} // namespace

QString SettingsLocation::filePath() const {
    return folder + u'/' + QLatin1String(settingsFileName);
}

void SettingsLocation::prepareForSaving() const {
    // A failure shows as the save's own "Unable to write to" error.
    if (userFolder)
        QDir().mkpath(folder);
}

QString userSettingsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           QLatin1String(userFolderName);
}

SettingsLocation settingsLocation(const QString& programFolder) {
    if (installedProgram(programFolder))
        return {userSettingsFolder(), true};
    // A settings file already beside the program stays the one in use, even in
    // a folder that takes no new file (a shared or root-owned program folder):
    // Save rewrites it where it stands, or refuses it when it is protected,
    // rather than quietly starting over from defaults elsewhere.
    if (writableFolder(programFolder) ||
        QFileInfo::exists(programFolder + u'/' + QLatin1String(settingsFileName)))
        return {programFolder, false};
    return {userSettingsFolder(), true};
}

QString installedDataFolder(const QString& programFolder) {
    return QDir::cleanPath(programFolder + u'/' + QLatin1String(PELLION_DATA_FROM_PROGRAM));
}

QString dataFolder(const QString& programFolder) {
    if (holdsHelp(programFolder))
        return programFolder;
    const QString installed = installedDataFolder(programFolder);
    // Neither: a lone copy of the program, whose help would sit beside it.
    return holdsHelp(installed) ? installed : programFolder;
}

} // namespace pellion
