#pragma once
// Where an installed program's files are, found from the folder of the running
// executable: <prefix>/bin/../share/glyphane and the modules' folder,
// <prefix>/bin/../lib/<multiarch>/glyphane.
// The same package works from /usr, /usr/local or an unpacked copy anywhere.
#include <QString>
#include <QStringList>

// <prefix>/share/glyphane: the settings defaults and the data files.
QString InstalledShareFolder();
// <prefix>/share/glyphane/data: the program folder every user's is seeded from.
QString InstalledDataFolder();
// Where a module (e.g. "libglyphane-print.so") is looked for, in order:
// beside the program (a build tree, the tests), then the installed modules' folder.
QStringList ModuleCandidates(const QString& fileName);
