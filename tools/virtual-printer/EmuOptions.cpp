#include "EmuOptions.h"

namespace {

bool ParseCount(const QString& text, int* value)
{
    // Decimal, or hexadecimal after "0x" (identification bytes read better so).
    bool ok = false;
    const bool hex = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
    const int n = hex ? text.mid(2).toInt(&ok, 16) : text.toInt(&ok, 10);
    if (!ok || n < 0)
        return false;
    *value = n;
    return true;
}

// "N" or "N@K": N checksum errors from block K (0 when not given).
bool ParseChecksumErrors(const QString& text, CEmuAreaScript* area)
{
    const int at = text.indexOf(QLatin1Char('@'));
    if (at < 0)
        return ParseCount(text, &area->checksumErrors);
    return ParseCount(text.left(at), &area->checksumErrors) && ParseCount(text.mid(at + 1), &area->checksumFrom);
}

bool ParsePort(const QString& text, EmuPort* port)
{
    if (text == QLatin1String("serial"))
        *port = EmuPort::Serial;
    else if (text == QLatin1String("parallel"))
        *port = EmuPort::Parallel;
    else if (text == QLatin1String("usb"))
        *port = EmuPort::Usb;
    else if (text == QLatin1String("usb-device"))
        *port = EmuPort::UsbDevice;
    else if (text == QLatin1String("lp-device"))
        *port = EmuPort::LpDevice;
    else
        return false;
    return true;
}

} // namespace

bool ParseEmuFault(const QString& text, CEmuFault* fault)
{
    CEmuFault f;
    if (text == QLatin1String("silent")) {
        f.kind = CEmuFault::Kind::Silent;
    } else if (text == QLatin1String("garbage")) {
        f.kind = CEmuFault::Kind::Garbage;
    } else if (text == QLatin1String("absent")) {
        f.kind = CEmuFault::Kind::Absent;
    } else if (text.startsWith(QLatin1String("silent-after="))) {
        f.kind = CEmuFault::Kind::SilentAfter;
        if (!ParseCount(text.mid(13), &f.count))
            return false;
    } else if (text.startsWith(QLatin1String("disconnect-after="))) {
        f.kind = CEmuFault::Kind::DisconnectAfter;
        if (!ParseCount(text.mid(17), &f.count))
            return false;
    } else if (text.startsWith(QLatin1String("answer-baud="))) {
        f.kind = CEmuFault::Kind::AnswerBaud;
        if (!ParseCount(text.mid(12), &f.count) || f.count == 0)
            return false;
    } else if (text.startsWith(QLatin1String("busy-after="))) {
        f.kind = CEmuFault::Kind::BusyAfter;
        if (!ParseCount(text.mid(11), &f.count) || f.count == 0)
            return false;
    } else if (text.startsWith(QLatin1String("checksum-errors="))) {
        f.kind = CEmuFault::Kind::ChecksumErrors;
        if (!ParseCount(text.mid(16), &f.count))
            return false;
    } else {
        return false;
    }
    *fault = f;
    return true;
}

QString EmuUsage()
{
    return QStringLiteral(
        "usage: glyphane-printer --model CODE [options]\n"
        "  --model CODE   the printer model; reads <data>/CfgFile/CODE.cfg (required)\n"
        "  --link PATH    make PATH a link to the pseudo-terminal; again for more printers alike,\n"
        "                 one a link (their pages in a folder of DIR named after the link)\n"
        "  --baud N       the speed the printer starts at (default 9600)\n"
        "  --out DIR      write printed pages (page-NNN.png, numbered on from the highest\n"
        "                 page already there) and the byte log in DIR\n"
        "  --data DIR     the program folder holding CfgFile/ (default ../data beside the program)\n"
        "  --log FILE     the byte log (default DIR/printer.log, none without --out)\n"
        "  --release TEXT the release text answered to GS I 3 and GS I A (default 1.80)\n"
        "  --submodel N   the byte answered to GS I 2 (default 1)\n"
        "  --submodel-length N  answer GS I 2 with N bytes, the byte then zeros (1 to 3, default 1)\n"
        "  --fault F      silent | silent-after=N | garbage | disconnect-after=N | checksum-errors=N[@K]\n"
        "                 | answer-baud=N (listens at --baud, answers at N baud)\n"
        "                 | absent (no link is made: the port cannot be opened)\n"
        "                 | busy-after=N (lp-device: holds BUSY for 0.5 s once N bytes were taken)\n"
        "  --port KIND    serial (default) | parallel (takes bytes, never answers) | usb:\n"
        "                 a pseudo-terminal standing in for that port\n"
        "                 | usb-device | lp-device: a device file in a FUSE mount that behaves as the\n"
        "                 kernel's usblp or lp driver (write completion, EAGAIN, poll, close; needs\n"
        "                 /dev/fuse, and root or fusermount3); --link points at it; with --line-time the\n"
        "                 printer takes bytes at --baud's pace\n"
        "  --offline      the status request is answered off line (a USB printer's on-line test);\n"
        "                 lp-device: writes fail with EIO, as lp's status check fails them\n"
        "  --id N         answer the identification request with N (e.g. 0x60, 0x86) instead of the model's byte\n"
        "  --info-errors N    answer the flash-area information query 0x99 N times first\n"
        "  --serious-error K  answer flash-area data block K (from 0) with 0x88\n"
        "  --unknown-status K answer flash-area data block K with the unknown status 0x77\n"
        "  --complete-first   answer the flash-area write frame with 0xBB (nothing to write)\n"
        "  --zero-address K   answer flash-area data block K with 0x99 naming address 0\n"
        "  --ask-again K      from flash-area data block K on, ask for the same block again for ever\n"
        "  --bad-byte K       keep byte K of the logo area wrong (what a read-back shows)\n"
        "  --line-time    take bytes no faster than the line speed allows\n"
        "  --help         show this text\n");
}

bool ParseEmuArguments(const QStringList& args, CEmuOptions* options, QString* error)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& name = args[i];
        if (name == QLatin1String("--line-time") || name == QLatin1String("--offline")
            || name == QLatin1String("--complete-first")) {
            options->lineTime |= name == QLatin1String("--line-time");
            options->offline |= name == QLatin1String("--offline");
            options->area.completeFirst |= name == QLatin1String("--complete-first");
            continue;
        }
        if (i + 1 >= args.size()) {
            *error = QStringLiteral("%1 needs a value").arg(name);
            return false;
        }
        const QString value = args[++i];
        bool ok = true;
        if (name == QLatin1String("--link") && !options->linkPath.isEmpty())
            options->moreLinks << value;
        else if (name == QLatin1String("--link"))
            options->linkPath = value;
        else if (name == QLatin1String("--model"))
            options->model = value;
        else if (name == QLatin1String("--data"))
            options->dataDir = value;
        else if (name == QLatin1String("--out"))
            options->outDir = value;
        else if (name == QLatin1String("--log"))
            options->logPath = value;
        else if (name == QLatin1String("--release"))
            options->release = value;
        else if (name == QLatin1String("--baud"))
            options->baud = value.toUInt(&ok);
        else if (name == QLatin1String("--submodel"))
            options->subModel = value.toInt(&ok);
        else if (name == QLatin1String("--submodel-length"))
            options->subModelLength = value.toInt(&ok);
        else if (name == QLatin1String("--fault") && value.startsWith(QLatin1String("checksum-errors=")))
            ok = ParseChecksumErrors(value.mid(16), &options->area);
        else if (name == QLatin1String("--fault"))
            ok = ParseEmuFault(value, &options->fault);
        else if (name == QLatin1String("--port"))
            ok = ParsePort(value, &options->port);
        else if (name == QLatin1String("--id"))
            ok = ParseCount(value, &options->id) && options->id <= 255;
        else if (name == QLatin1String("--info-errors"))
            ok = ParseCount(value, &options->area.infoErrors);
        else if (name == QLatin1String("--serious-error"))
            ok = ParseCount(value, &options->area.seriousAt);
        else if (name == QLatin1String("--unknown-status"))
            ok = ParseCount(value, &options->area.unknownAt);
        else if (name == QLatin1String("--zero-address"))
            ok = ParseCount(value, &options->area.zeroAddressAt);
        else if (name == QLatin1String("--ask-again"))
            ok = ParseCount(value, &options->area.askAgainFrom);
        else if (name == QLatin1String("--bad-byte"))
            ok = ParseCount(value, &options->area.badByteAt);
        else {
            *error = QStringLiteral("unknown option %1").arg(name);
            return false;
        }
        if (!ok) {
            *error = QStringLiteral("bad value for %1: %2").arg(name, value);
            return false;
        }
    }
    if (options->model.isEmpty()) {
        *error = QStringLiteral("--model is required");
        return false;
    }
    if (options->subModel < 0 || options->subModel > 255 || options->subModelLength < 1
        || options->subModelLength > 3 || options->release.size() > 24) {
        *error = QStringLiteral("--submodel must be a byte, --submodel-length 1 to 3 and --release at most 24 characters");
        return false;
    }
    return true;
}
