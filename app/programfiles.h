#pragma once

// Where Pellion keeps its files, decided from the program's folder (AppDir):
//
//   cfgfd.ini    beside the program when its folder is writable (the build
//                folder, a portable copy) or already holds a cfgfd.ini;
//                otherwise in the user's
//                configuration folder ($XDG_CONFIG_HOME/pellion, normally
//                ~/.config/pellion), which the first Save creates. An
//                installed program (its help pages in the installed data
//                folder) always uses the user's folder, also where its prefix
//                is writable (~/.local, root under /usr).
//   pellion.csv  the working directory, whatever the program's folder.
//   help/        beside the program when it is there (the build folder);
//                otherwise in the installed data folder, found relative to
//                the program's folder, so any install prefix works.

#include <QString>

namespace pellion {

struct SettingsLocation {
    QString folder;
    bool userFolder = false; // the user's configuration folder: made on the first Save

    QString filePath() const;
    // Makes the user's configuration folder when the settings live there;
    // a folder beside the program is never made (it is the program's own).
    void prepareForSaving() const;
};

inline constexpr const char* settingsFileName = "cfgfd.ini";

SettingsLocation settingsLocation(const QString& programFolder);

// $XDG_CONFIG_HOME/pellion, or ~/.config/pellion.
QString userSettingsFolder();

// The folder that holds help/.
QString dataFolder(const QString& programFolder);

// The installed data folder as seen from the installed program's folder.
QString installedDataFolder(const QString& programFolder);

} // namespace pellion
