#include "EmuOptions.h"

namespace {

bool ParseCount(const QString& text, int* value)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 0)
        return false;
    *value = n;
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
    } else if (text.startsWith(QLatin1String("disconnect-after="))) {
        f.kind = CEmuFault::Kind::DisconnectAfter;
        if (!ParseCount(text.mid(17), &f.count))
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
        "usage: glyphane-printer --model CODE [--link PATH] [--baud N] [--out DIR]\n"
        "                        [--data DIR] [--log FILE] [--release TEXT] [--submodel N]\n"
        "                        [--fault silent|garbage|disconnect-after=N|checksum-errors=N]\n"
        "                        [--line-time]\n");
}

bool ParseEmuArguments(const QStringList& args, CEmuOptions* options, QString* error)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& name = args[i];
        if (name == QLatin1String("--line-time")) {
            options->lineTime = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            *error = QStringLiteral("%1 needs a value").arg(name);
            return false;
        }
        const QString value = args[++i];
        bool ok = true;
        if (name == QLatin1String("--link"))
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
        else if (name == QLatin1String("--fault"))
            ok = ParseEmuFault(value, &options->fault);
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
    if (options->subModel < 0 || options->subModel > 255 || options->release.size() > 24) {
        *error = QStringLiteral("--submodel must be a byte and --release at most 24 characters");
        return false;
    }
    return true;
}
