#pragma once
// The command-line tool: the document operations without the editor, for
// operators who prepare many logos and for scripts.
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace cli {

constexpr int kExitOk = 0;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

// Runs one command (arguments without the program name); writes results to
// out and messages to err. The application object must be initialised
// headless before.
int Run(const QStringList& arguments, QTextStream& out, QTextStream& err);

QString Usage();

} // namespace cli
