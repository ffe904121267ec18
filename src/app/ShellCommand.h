#pragma once
// The command line and the shell's answers, kept apart from the application
// object so they can be tested alone.
#include <QString>
#include <QStringList>

// The file named on the command line (the first argument that is not an
// option), or an empty string.
QString ParseShellCommandFile(const QStringList& arguments);

// The string id of the message for a failed shell "open" result (0..32).
unsigned ShellResultStringId(int result);
