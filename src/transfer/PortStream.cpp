#include "transfer/PortStream.h"

#include "components/PortNames.h"
#include "transfer/TransferModels.h"

#include <QCryptographicHash>

CBufferUC PrepareRequestRaster(const CTransferRequest& r, const FrameMayCoverLogo& mayCoverLogo)
{
    return PreparePrinterRaster(r.logo, CLogoGeometry{r.logoWidth, r.logoHeight, r.dotX, r.dotY},
                                CRasterShaping{r.options.reverseImage, r.options.reverseRow, r.options.frame},
                                mayCoverLogo);
}

bool MakeStreamParts(const CTransferRequest& r, const CBufferUC& raster, CStreamParts* parts, QString* why)
{
    parts->model = r.model;
    const QString commandName = TransferCommandName(r.portName, r.model, r.slot);
    if (!r.printerCfg.GetCommandPrinters(commandName, parts->command)) {
        *why = QStringLiteral("the printer configuration has no \"%1\"").arg(commandName);
        return false;
    }
    parts->bitmapHeader = CBufferUC(reinterpret_cast<const BYTE*>(r.bitmapHeader.constData()),
                                    static_cast<int>(r.bitmapHeader.size()));
    parts->raster = raster;
    parts->reverseColor = r.options.reverseColor;
    parts->dotX = r.dotX;
    parts->dotY = r.dotY;
    return true;
}

namespace {

bool BuildUsbPortStream(const CTransferRequest& r, const CStreamParts& parts, CPortStream* stream, QString* why)
{
    if (!IsUsbTransferModel(r.model)) {
        *why = QStringLiteral("this printer takes no logo over USB");
        return false;
    }
    CBufferUC ramToFlash;
    if (UsbStreamStoresItself(r.model)) {
        if (!r.printerCfg.GetCommandPrinters(QStringLiteral("CmdRAMFlash"), ramToFlash) || ramToFlash.GetSize() == 0) {
            *why = QStringLiteral("the printer configuration has no \"CmdRAMFlash\"");
            return false;
        }
        ramToFlash.SetByte(static_cast<BYTE>(r.slot), ramToFlash.GetSize() - 1);
    }
    stream->bytes = BuildUsbStream(parts, ramToFlash);
    stream->length = stream->bytes.GetSize();
    stream->bitmap = UsbStreamIsBitmap(r.model);
    return true;
}

} // namespace

bool BuildPortStream(const CTransferRequest& r, const CStreamParts& parts, CPortStream* stream, QString* why)
{
    *stream = CPortStream{};
    stream->commandLength = parts.command.GetSize();
    switch (PortKindOf(r.portName)) {
    case PortKind::Serial: {
        const CSerialStream serial = BuildSerialStream(parts);
        stream->bytes = serial.bytes;
        stream->length = serial.length;
        stream->tailBytes = serial.tailBytes;
        stream->bitmap = SendsBitmapStream(r.model);
        return true;
    }
    case PortKind::Parallel:
        stream->bytes = BuildParallelStream(parts);
        stream->length = stream->bytes.GetSize();
        return true;
    case PortKind::Usb:
        break;
    }
    return BuildUsbPortStream(r, parts, stream, why);
}

bool BuildPortStream(const CTransferRequest& r, const FrameMayCoverLogo& mayCoverLogo, CPortStream* stream,
                     QString* why)
{
    CStreamParts parts;
    return MakeStreamParts(r, PrepareRequestRaster(r, mayCoverLogo), &parts, why)
           && BuildPortStream(r, parts, stream, why);
}

QByteArray RamCopyDigest(const CTransferRequest& r, const CBufferUC& raster)
{
    CStreamParts parts;
    QString why;
    if (raster.GetSize() == 0 || !MakeStreamParts(r, raster, &parts, &why))
        return {};
    CPortStream stream;
    if (!BuildPortStream(r, parts, &stream, &why))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(r.model.toUtf8() + '\0' + r.portName.toUtf8() + '\0');
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(stream.bytes.GetpBuf()), stream.length));
    return hash.result();
}

QByteArray CurrentRamCopyDigest(const CTransferRequest& r)
{
    return RamCopyDigest(r, PrepareRequestRaster(r, [] { return true; }));
}
