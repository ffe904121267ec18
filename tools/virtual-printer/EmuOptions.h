#pragma once
// What the virtual printer is told on its command line, and the faults it can
// be asked to show.
#include <QString>
#include <QStringList>

struct CEmuFault {
    // SilentAfter keeps taking (and storing) bytes but answers nothing once it
    // has taken count bytes; DisconnectAfter closes the line instead.
    enum class Kind { None, Silent, SilentAfter, Garbage, DisconnectAfter, ChecksumErrors };
    Kind kind = Kind::None;
    int count = 0;
};

struct CEmuOptions {
    QString linkPath;      // stable path linked to the pseudo-terminal; may be empty
    QString model;         // model code: reads <dataDir>/CfgFile/<model>.cfg
    QString dataDir;       // the program folder holding CfgFile/
    QString outDir;        // where paper pages are written; empty = nowhere
    QString logPath;       // byte log; empty = <outDir>/printer.log, or none
    unsigned baud = 9600;  // the speed the printer starts at
    QString release = QStringLiteral("1.80");
    int subModel = 1;      // answer to GS I 2
    int subModelLength = 1; // bytes of that answer: the byte, then zeros
    CEmuFault fault;
    // Takes bytes no faster than the line speed allows, as a real line does.
    bool lineTime = false;
    // In-process only: keeps every understood byte for ReceivedBytes().
    bool recordInput = false;
};

// "silent", "silent-after=N", "garbage", "disconnect-after=N", "checksum-errors=N".
bool ParseEmuFault(const QString& text, CEmuFault* fault);
// Reads the arguments after the program name; *error says what is wrong.
bool ParseEmuArguments(const QStringList& args, CEmuOptions* options, QString* error);
// Every option with a line saying what it does, for --help.
QString EmuUsage();
