#pragma once
// What the virtual printer is told on its command line, and the faults it can
// be asked to show.
#include <QString>
#include <QStringList>

struct CEmuFault {
    // SilentAfter keeps taking (and storing) bytes but answers nothing once it
    // has taken count bytes; DisconnectAfter closes the line instead (the
    // device disappears). AnswerBaud listens at the printer's speed but
    // answers at count baud, so the host reads whatever its receiver makes of
    // the other speed's bits. Absent makes no link: the port cannot be opened.
    // BusyAfter (lp device only) holds BUSY for a while once count bytes were
    // taken.
    enum class Kind { None, Silent, SilentAfter, Garbage, DisconnectAfter, ChecksumErrors, AnswerBaud, Absent, BusyAfter };
    Kind kind = Kind::None;
    int count = 0;
};

// Replies of the flash-area protocol forced from the command line. Blocks are
// counted from 0 in the order they arrive, repeats included.
struct CEmuAreaScript {
    int infoErrors = 0;       // the information query answered 0x99 this many times
    int checksumErrors = 0;   // data blocks answered 0x99 ...
    int checksumFrom = 0;     // ... from this block on
    int seriousAt = -1;       // this block answered 0x88
    int unknownAt = -1;       // this block answered with a status nobody knows (0x77)
    bool completeFirst = false; // the write frame answered 0xBB: nothing to write
    int zeroAddressAt = -1;   // this block answered 0x99 naming address 0
    int askAgainFrom = -1;    // from this block on, every block answered 0xAA with its own address
    int badByteAt = -1;       // this byte of the logo area (from its first address) is kept wrong
};

// What the printer is reached through. On a pseudo-terminal: a serial line
// (answers, line speed), a parallel port (bytes in, never an answer) or a USB
// printer (answers the identification and status requests whatever the line
// speed). As a device file (EmuDeviceFile.h) that behaves as the kernel's
// printer drivers do: a USB printer (usblp) or a parallel port (lp).
enum class EmuPort { Serial, Parallel, Usb, UsbDevice, LpDevice };

inline bool IsDevicePort(EmuPort port)
{
    return port == EmuPort::UsbDevice || port == EmuPort::LpDevice;
}

struct CEmuOptions {
    QString linkPath;      // stable path linked to the pseudo-terminal; may be empty
    // --link given again: more printers like this one, a link each (the
    // command line plays them all; in-process, one CPrinterEmulator each).
    QStringList moreLinks;
    QString model;         // model code: reads <dataDir>/CfgFile/<model>.cfg
    QString dataDir;       // the program folder holding CfgFile/
    QString outDir;        // where paper pages are written; empty = nowhere
    QString logPath;       // byte log; empty = <outDir>/printer.log, or none
    unsigned baud = 9600;  // the speed the printer starts at
    QString release = QStringLiteral("1.80");
    int subModel = 1;      // answer to GS I 2
    int subModelLength = 1; // bytes of that answer: the byte, then zeros
    CEmuFault fault;
    CEmuAreaScript area;
    EmuPort port = EmuPort::Serial;
    // The status request is answered "off line" (bit 3).
    bool offline = false;
    // The identification byte answered instead of the model's own; -1 = the model's.
    int id = -1;
    // Takes bytes no faster than the line speed allows, as a real line does.
    bool lineTime = false;
    // In-process only: keeps every understood byte for ReceivedBytes().
    bool recordInput = false;
};

// "silent", "silent-after=N", "garbage", "disconnect-after=N", "checksum-errors=N",
// "answer-baud=N", "absent", "busy-after=N"
// (the flash-area errors go to CEmuOptions::area instead).
bool ParseEmuFault(const QString& text, CEmuFault* fault);
// Reads the arguments after the program name; *error says what is wrong.
bool ParseEmuArguments(const QStringList& args, CEmuOptions* options, QString* error);
// Every option with a line saying what it does, for --help.
QString EmuUsage();
