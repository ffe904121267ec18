#pragma once
// File names in configuration files and settings keep their Windows form
// ("CfgFile\WGJ33.cfg", a program folder ending in a backslash). These are the
// only functions that turn such a stored name into a path the system can open;
// nothing else splits or joins paths by hand.
#include <QString>

// Backslashes become '/', runs of separators collapse into one, and a leading
// "/" (an absolute path) is kept. An empty name stays empty.
QString NativePath(const QString& stored);

// The program appends stored names to a folder that already ends in a
// separator, without inserting one: plain concatenation, then NativePath.
QString JoinProgramPath(const QString& folderWithTrailingSep, const QString& storedName);
