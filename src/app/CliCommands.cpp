#include "app/CliCommands.h"

#include "app/CliArgs.h"
#include "app/CliPictures.h"
#include "app/CliPrintLogo.h"
#include "app/CliSend.h"
#include "app/GlyphaneApp.h"
#include "components/BufferUC.h"
#include "components/LoadCfgPrnFile.h"
#include "components/PswFile.h"
#include "document/BmpFile.h"
#include "document/GlyphaneDoc.h"
#include "document/LogoResize.h"
#include "picture/Picture.h"
#include "components/PortNames.h"
#include "platform/NativePath.h"
#include "printer/ModelCatalogue.h"
#include "printer/PortScan.h"
#include "printer/PrintData.h"
#include "resources/StringTable.h"
#include "transfer/FrameQuestion.h"
#include "transfer/StoredLogoCommands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>

namespace cli {

namespace {

CLoadCfgFileAppEx& AppCfg()
{
    CGlyphaneApp* app = GetApp();
    if (!app || !app->GetAppCfg())
        throw Refusal{QStringLiteral("the application configuration is not loaded")};
    return *app->GetAppCfg();
}

// How a logo is held once opened: the commands that only invert, flip, pack
// or save keep a 1-bit file at one bit a pixel.
enum class Rows { Pixels, Packed };

std::unique_ptr<CGlyphaneDoc> OpenLogo(const QString& path, const std::optional<CDocEnvironment>& env = {},
                                       Rows rows = Rows::Pixels)
{
    if (!QFile::exists(path))
        throw Refusal{QStringLiteral("%1: no such file").arg(path)};
    auto doc = std::make_unique<CGlyphaneDoc>(env ? *env : GetApp()->DocEnvironment());
    doc->Picture().SetKeepOneBitPacked(rows == Rows::Packed);
    if (!doc->OnOpenDocument(path)) {
        const QString failure = doc->OpenFailure();
        throw Refusal{failure.isEmpty() ? QStringLiteral("%1 isn't a regular BMP file").arg(path) : failure};
    }
    return doc;
}

// The configuration file of a model, from the application's printer list.
int FindModelEntry(const QString& code)
{
    const CLoadCfgFileAppEx& cfg = AppCfg();
    for (int i = 0; i < cfg.GetPrinterCount(); ++i)
        if (cfg.GetPrinterName(i) == code)
            return i;
    throw Refusal{QStringLiteral("%1: no such printer model").arg(code)};
}

CPrinterChoice ModelChoice(const QString& code);

void BindModel(CGlyphaneDoc& doc, const QString& code)
{
    const QString failure = doc.Binding().BindPrinter(ModelChoice(code));
    if (!failure.isEmpty())
        throw Refusal{QStringLiteral("%1: %2").arg(code, failure)};
    DWORD slotCount = 0;
    if (doc.Binding().GetPrinterCfg()->GetOptionPrintersToTest(QStringLiteral("NLoghi"), &slotCount))
        doc.Binding().SetNumLogos(static_cast<int>(slotCount));
}

void WriteBytes(const QString& path, const CBufferUC& bytes)
{
    if (!bytes.FileFlusOut(path))
        throw Refusal{QStringLiteral("%1: cannot be written").arg(path)};
}

void SaveLogo(CGlyphaneDoc& doc, const QString& path)
{
    if (!doc.WriteBitmapFile(path))
        throw Refusal{QStringLiteral("%1: cannot be written").arg(path)};
}

// The picture is not held: the header is read, and the pixel data is walked as
// a stream with the checks of opening, so a file that cannot be opened is
// refused here too rather than described.
int Info(const CArgs& a, QTextStream& out)
{
    const QString path = a.At(0);
    if (!QFile::exists(path))
        throw Refusal{QStringLiteral("%1: no such file").arg(path)};
    QFile file(NativePath(path));
    bmpfile::CBmpInfo info;
    QString why;
    bool tooLarge = false;
    if (!file.open(QIODevice::ReadOnly) || !bmpfile::InspectBmp(file, &info, &why, &tooLarge))
        throw Refusal{tooLarge ? QStringLiteral("%1 is too large to open: %2").arg(path, why)
                               : QStringLiteral("%1 isn't a regular BMP file").arg(path)};
    const int bits = info.bitCount & 0xFF;
    out << "width " << info.width << "\n"
        << "height " << std::abs(info.height) << "\n"
        << "bits " << bits << "\n"
        << "monochrome " << (bits == 1 ? 1 : 0) << "\n";
    return kExitOk;
}

int Models(QTextStream& out)
{
    const CLoadCfgFileAppEx& cfg = AppCfg();
    for (int i = 9; i < cfg.GetPrinterCount(); ++i)
        out << cfg.GetPrinterName(i) << "\t" << cfg.GetPrinterCfgFile(i) << "\n";
    return kExitOk;
}

int Model(const CArgs& a, QTextStream& out)
{
    const QString code = a.At(0);
    CGlyphaneDoc doc(GetApp()->DocEnvironment());
    BindModel(doc, code);
    CLoadCfgPrnFile* cfg = doc.Binding().GetPrinterCfg();
    for (const char* key : {"DotX", "DotY", "NLoghi", "PrnLogoFlash", "GSImodel", "ParallelInterface", "USBInterface"}) {
        DWORD value = 0;
        out << key << " ";
        if (cfg->GetOptionPrintersToTest(QString::fromLatin1(key), &value))
            out << value;
        else
            out << "missing";
        out << "\n";
    }
    out << "groups";
    for (const QString& group : CatalogueGroupsOf(code))
        out << " " << group;
    out << "\n";
    return kExitOk;
}

int ImageOperation(const CArgs& a, const std::function<void(CGlyphaneDoc&, DWORD, DWORD)>& operation)
{
    auto doc = OpenLogo(a.At(0), {}, Rows::Packed);
    operation(*doc, static_cast<DWORD>(doc->Picture().GetLogoWidth()), static_cast<DWORD>(doc->Picture().GetLogoHeight()));
    SaveLogo(*doc, a.At(1));
    return kExitOk;
}

int Convert(const CArgs& a)
{
    const DWORD threshold = static_cast<DWORD>(ThresholdOption(a));
    const dither::Method method = MethodOption(a);
    return ImageOperation(a, [threshold, method](CGlyphaneDoc& doc, DWORD w, DWORD h) {
        doc.ConvertToBlackWhite(w, h, threshold, method);
    });
}

// The printer choice of a model code, from the application's printer list.
CPrinterChoice ModelChoice(const QString& code)
{
    return CPrinterChoice{code, AppCfg().GetPrinterCfgFile(FindModelEntry(code))};
}

// Any picture made into a logo of the model's area and saved as the editor saves.
int Import(const CArgs& a)
{
    const picture::CPictureSettings settings = PictureSettingsOf(a);
    CGlyphaneDoc doc(GetApp()->DocEnvironment());
    MakeLogoFromPicture(doc, ModelChoice(a.Value(QStringLiteral("model"))), a.At(0), settings);
    SaveLogo(doc, a.At(1));
    return kExitOk;
}

std::optional<rasterops::FrameKind> FrameOption(const QString& frame)
{
    if (frame.isEmpty())
        return std::nullopt;
    if (frame == QLatin1String("thin"))
        return rasterops::FrameKind::Thin;
    if (frame == QLatin1String("bold"))
        return rasterops::FrameKind::Bold;
    if (frame == QLatin1String("double"))
        return rasterops::FrameKind::Double;
    throw Refusal{QStringLiteral("--frame takes thin, bold or double")};
}

CSendChoices SendChoices(const CArgs& a)
{
    CSendChoices options;
    options.reverseImage = a.Has(QStringLiteral("reverse-image"));
    options.reverseRow = a.Has(QStringLiteral("reverse-row"));
    options.reverseColor = a.Has(QStringLiteral("reverse-color"));
    options.frame = FrameOption(a.Value(QStringLiteral("frame")));
    return options;
}

CBufferUC FramedRaster(CGlyphaneDoc& doc, const QString& frame)
{
    const std::optional<rasterops::FrameKind> kind = FrameOption(frame);
    const CBufferUC centred = doc.Raster().CenterRasterOnPrinter(doc.Raster().BuildPrintRaster(*doc.Picture().GetLogoBitmap()));
    if (!kind)
        return centred;
    switch (*kind) {
    case rasterops::FrameKind::Thin:
        return doc.Raster().AddThinFrame(centred, AskFrameMayCoverLogo(nullptr));
    case rasterops::FrameKind::Bold:
        return doc.Raster().AddBoldFrame(centred, AskFrameMayCoverLogo(nullptr));
    case rasterops::FrameKind::Double:
        break;
    }
    return doc.Raster().AddDoubleFrame(centred, AskFrameMayCoverLogo(nullptr));
}

int Raster(const CArgs& a)
{
    auto doc = OpenLogo(a.At(0), {}, Rows::Packed);
    if (!doc->Binding().IsMonochrome())
        throw Refusal{LoadString(61529)};
    BindModel(*doc, a.Value(QStringLiteral("model")));
    doc->Raster().SetPrintRaster(FramedRaster(*doc, a.Value(QStringLiteral("frame"))));
    if (a.Has(QStringLiteral("reverse-image")))
        doc->Raster().ReverseRasterImage();
    if (a.Has(QStringLiteral("reverse-row")))
        doc->Raster().ReverseRasterRows();
    CBufferUC raster = doc->Raster().GetPrintRaster();
    if (!a.Has(QStringLiteral("reverse-color")))
        raster = ~raster; // the printers' own sense: bit 1 = dot
    WriteBytes(a.At(1), raster);
    return kExitOk;
}

int PrintDataCommand(const CArgs& a)
{
    auto doc = OpenLogo(a.At(0), {}, Rows::Packed);
    const QString code = a.Value(QStringLiteral("model"));
    BindModel(*doc, code);
    if (IsUsbBitmapModel(code))
        BuildUsbPrintData(*doc);
    else
        BuildPlainPrintData(*doc);
    WriteBytes(a.At(1), doc->Raster().GetPrintRaster());
    return kExitOk;
}

int LogoSideOption(const CArgs& a, const QString& name)
{
    bool ok = false;
    const int side = a.Value(name).toInt(&ok);
    if (!ok || side < 1 || side > CGlyphaneDoc::kMaxLogoSide)
        throw Refusal{QStringLiteral("--%1 takes a number from 1 to %2").arg(name).arg(CGlyphaneDoc::kMaxLogoSide)};
    return side;
}

ImagePlacement PlacementOption(const QString& name)
{
    static const std::map<QString, ImagePlacement> placements = {
        {QStringLiteral("center"), ImagePlacement::Center},   {QStringLiteral("left"), ImagePlacement::Left},
        {QStringLiteral("stretch"), ImagePlacement::Stretch}, {QStringLiteral("tile"), ImagePlacement::Tile},
        {QStringLiteral("resize"), ImagePlacement::Resize},
    };
    const auto it = placements.find(name);
    if (it == placements.end())
        throw Refusal{QStringLiteral("--placement takes center, left, stretch, tile or resize")};
    return it->second;
}

int ResizeCommand(const CArgs& a, QTextStream& err)
{
    for (const char* required : {"width", "height", "placement"}) {
        if (!a.Has(QLatin1String(required))) {
            err << "glyphane-cli: \"resize\" needs --" << required << "\n" << Usage();
            return kExitUsage;
        }
    }
    const int width = LogoSideOption(a, QStringLiteral("width"));
    const int height = LogoSideOption(a, QStringLiteral("height"));
    const ImagePlacement placement = PlacementOption(a.Value(QStringLiteral("placement")));
    auto doc = OpenLogo(a.At(0));
    if (!ResizeLogo(*doc, width, height, static_cast<int>(placement)))
        throw Refusal{QStringLiteral("%1: the logo cannot be resized to %2 x %3").arg(a.At(0)).arg(width).arg(height)};
    SaveLogo(*doc, a.At(1));
    return kExitOk;
}

// The ports of "--port": a list (COM1,COM2,...), or "all-found": every port
// where a scan finds a printer (its model comes from there).
QStringList SendPorts(const QString& option, std::map<QString, CPortFinding>* found)
{
    if (option == QLatin1String("all-found")) {
        QStringList ports;
        for (const CPortFinding& f : ScanPorts(PortsToScan(), ProgramScanCatalogue(GetAppHost()))) {
            if (f.state != ScanState::Found)
                continue;
            ports << f.port;
            (*found)[f.port] = f;
        }
        if (ports.isEmpty())
            throw Refusal{QStringLiteral("no printer was found on any port")};
        return ports;
    }
    QStringList ports;
    QStringList devices;
    for (const QString& item : option.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString port = item.trimmed();
        const QString device = PortDevice(port);
        if (device.isEmpty())
            throw Refusal{QStringLiteral("%1: no such port in the settings' [Ports]").arg(port)};
        // Two names for one device would put two jobs on one port.
        const QString canonical = QFileInfo(device).canonicalFilePath().isEmpty()
                                      ? device
                                      : QFileInfo(device).canonicalFilePath();
        if (devices.contains(canonical))
            throw Refusal{QStringLiteral("%1: the same device as another port of the list (%2)").arg(port, device)};
        devices << canonical;
        ports << port;
    }
    if (ports.isEmpty())
        throw Refusal{QStringLiteral("--port names no port")};
    return ports;
}

int SendCommand(const CArgs& a, QTextStream& err)
{
    const bool test = a.Has(QStringLiteral("test"));
    if (test == a.Has(QStringLiteral("program")) || !a.Has(QStringLiteral("port"))) {
        err << "glyphane-cli: \"send\" needs --port and either --test or --program SLOT\n" << Usage();
        return kExitUsage;
    }
    CSendOptions options;
    options.job.kind = test ? TransferKind::Test : TransferKind::Program;
    options.job.options = SendChoices(a);
    options.verify = a.Has(QStringLiteral("verify"));
    options.printAfter = a.Has(QStringLiteral("print-after"));
    if (a.Has(QStringLiteral("baud"))) {
        options.job.baud = a.Value(QStringLiteral("baud")).toInt();
        if (options.job.baud != 9600 && options.job.baud != 19200 && options.job.baud != 38400)
            throw Refusal{QStringLiteral("--baud takes 9600, 19200 or 38400")};
    }
    if (!test) {
        bool ok = false;
        options.job.slot = a.Value(QStringLiteral("program")).toInt(&ok);
        if (!ok || options.job.slot < 1)
            throw Refusal{QStringLiteral("--program takes a slot number")};
    }
    // What a scan found on a port: the model, and the speed the job starts at.
    std::map<QString, CPortFinding> found;
    const QStringList ports = SendPorts(a.Value(QStringLiteral("port")), &found);
    const QString model = a.Value(QStringLiteral("model"));
    // Only a printer on a serial line answers the detection.
    for (const QString& port : ports)
        if (model.isEmpty() && !found.count(port) && PortKindOf(port) != PortKind::Serial)
            throw Refusal{QStringLiteral("%1: --model is needed; only a printer on a serial port can be detected").arg(port)};
    if (!OpenLogo(a.At(0))->Binding().IsMonochrome())
        throw Refusal{LoadString(61529)};

    // Finding the printers, all ports at once.
    QStringList toDetect;
    for (const QString& port : ports)
        if (model.isEmpty() && !found.count(port))
            toDetect << port;
    std::map<QString, QString> notFound;
    for (const CPortFinding& f : ScanPorts(toDetect, ProgramScanCatalogue(GetAppHost()))) {
        if (f.state != ScanState::Found) {
            // One printer alone is refused; in a batch it fails alone.
            if (ports.size() == 1)
                throw Refusal{DetectionFailure(f)};
            notFound[f.port] = DetectionFailure(f);
            continue;
        }
        err << "detected printer " << f.model << " on " << f.port << "\n";
        found[f.port] = f;
    }

    std::vector<CSendTarget> targets;
    for (const QString& port : ports) {
        CSendTarget target;
        target.port = port;
        if (notFound.count(port)) {
            target.end = CSendTarget::End::Failed;
            target.reason = notFound[port];
            targets.push_back(std::move(target));
            continue;
        }
        target.detected = model.isEmpty() && toDetect.contains(port);
        if (found.count(port))
            target.foundBaud = found[port].baud;
        target.doc = OpenLogo(a.At(0));
        const QString code = model.isEmpty() ? found[port].model : model;
        BindModel(*target.doc, code);
        target.doc->Binding().SetPortName(port);
        if (!test && options.job.slot > target.doc->Binding().GetNumLogos())
            throw Refusal{QStringLiteral("--program takes a slot from 1 to %1 for %2").arg(target.doc->Binding().GetNumLogos()).arg(code)};
        targets.push_back(std::move(target));
    }
    const bool all = RunSend(targets, options, err);
    if (targets.size() > 1 || options.verify || options.printAfter)
        for (const CSendTarget& target : targets)
            err << SummaryLine(target, options) << "\n";
    if (a.Has(QStringLiteral("report"))) {
        QString why;
        if (!WriteSendReport(a.Value(QStringLiteral("report")), targets, options, &why))
            throw Refusal{why};
    }
    if (targets.size() == 1 && !all)
        throw Refusal{targets.front().reason};
    return all ? kExitOk : kExitRefused;
}

// --- upgrade files and the QZ log file ---------------------------------------

int PswInfo(const CArgs& a, QTextStream& out)
{
    CHeaderPsw header(GetApp()->GetAppLog());
    if (!header.Init(a.At(0)))
        throw Refusal{QStringLiteral("%1: %2").arg(a.At(0), LoadString(61521))};
    out << "printer " << header.GetNomestampante().trimmed() << "\n"
        << "device " << header.GetDeviceCode() << "\n"
        << "slots " << header.GetNumSlots() << "\n";
    for (int i = 0; i < header.GetNumSlots(); ++i) {
        const _headerLoghi slot = header.GetIesimLogoStruct(i);
        out << "slot " << i + 1 << " " << PswSlotWidth(slot) << " x " << PswSlotHeight(slot) << "\n";
    }
    return kExitOk;
}

// The slot of --slot, given to the document as the operator's choice, and
// how many slots the file offered when it was asked.
struct CSlotChoice {
    int slot = 0;
    int offered = 0;
};

CDocEnvironment SlotEnvironment(const CArgs& a, CSlotChoice& choice)
{
    bool ok = false;
    choice.slot = a.Value(QStringLiteral("slot")).toInt(&ok);
    if (!ok || choice.slot < 1 || choice.slot > 255)
        throw Refusal{QStringLiteral("--slot takes a slot from 1 to 255")};
    CDocEnvironment env = GetApp()->DocEnvironment();
    env.selectLogo = [&choice](QObject*, const QStringList& lines) {
        choice.offered = static_cast<int>(lines.size());
        return choice.slot <= lines.size() ? choice.slot - 1 : -1;
    };
    return env;
}

// The reason of a failed upgrade-file command that no message gave: the file
// has no such slot, or the document's message said why.
Refusal PswRefusal(const QString& file, const CSlotChoice& choice, const QString& otherwise)
{
    if (choice.offered > 0 && choice.slot > choice.offered)
        return Refusal{QStringLiteral("%1 has no slot %2: its slots are 1 to %3").arg(file).arg(choice.slot).arg(choice.offered)};
    return Refusal{QStringLiteral("%1: %2").arg(file, otherwise)};
}

int PswLoad(const CArgs& a)
{
    const QString code = a.Value(QStringLiteral("model"));
    CSlotChoice choice;
    auto doc = std::make_unique<CGlyphaneDoc>(SlotEnvironment(a, choice));
    if (!doc->OnNewDocument(CPrinterChoice{code, AppCfg().GetPrinterCfgFile(FindModelEntry(code))}))
        throw Refusal{QStringLiteral("%1: no logo can be made for this printer").arg(code)};
    doc->Psw().LoadLogoFromPsw(a.At(0));
    if (!doc->Psw().GetPswOk())
        throw PswRefusal(a.At(0), choice, QStringLiteral("the logo was not loaded"));
    SaveLogo(*doc, a.At(1));
    return kExitOk;
}

// Only a black-and-white logo of the printer's own size goes into a slot: the
// slot would otherwise hold a cut or padded picture that nobody asked for.
int PswSave(const CArgs& a)
{
    CSlotChoice choice;
    const CDocEnvironment env = SlotEnvironment(a, choice);
    auto doc = OpenLogo(a.At(1), env, Rows::Packed);
    if (!doc->Binding().IsMonochrome())
        throw Refusal{LoadString(61529)};
    const QString code = a.Value(QStringLiteral("model"));
    BindModel(*doc, code);
    if (doc->Picture().GetLogoWidth() != doc->Binding().GetDotX() || doc->Picture().GetLogoHeight() != doc->Binding().GetDotY())
        throw Refusal{QStringLiteral("%1 is %2 x %3 dots, a logo of the %4 is %5 x %6 (see resize)")
                          .arg(a.At(1))
                          .arg(doc->Picture().GetLogoWidth())
                          .arg(doc->Picture().GetLogoHeight())
                          .arg(code)
                          .arg(doc->Binding().GetDotX())
                          .arg(doc->Binding().GetDotY())};
    doc->Psw().SaveLogoToPsw(a.At(0));
    if (!doc->Psw().GetPswOk())
        throw PswRefusal(a.At(0), choice, QStringLiteral("the logo was not saved"));
    return kExitOk;
}

unsigned QzNumberOption(const CArgs& a, const QString& name)
{
    bool ok = false;
    const unsigned value = a.Value(name).toUInt(&ok);
    if (!ok || value > 99)
        throw Refusal{QStringLiteral("--%1 takes a number from 0 to 99").arg(name)};
    return value;
}

int QzLog(const CArgs& a, QTextStream& err)
{
    const unsigned release = QzNumberOption(a, QStringLiteral("release"));
    const unsigned version = QzNumberOption(a, QStringLiteral("version"));
    const QFileInfo target(a.At(1));
    if (target.suffix().toLower() != QLatin1String("log"))
        throw Refusal{QStringLiteral("%1: a QZ log file is named *.log").arg(a.At(1))};
    CDocEnvironment env = GetApp()->DocEnvironment();
    env.askQzHeader = [release, version](QObject*, unsigned* r, unsigned* v) {
        *r = release;
        *v = version;
        return true;
    };
    auto doc = OpenLogo(a.At(0), env);
    if (!doc->Binding().IsMonochrome())
        throw Refusal{LoadString(61529)};
    UINT messageId = 0;
    const QString name = CQzLogFile::QzDosName(target.fileName(), &messageId);
    if (messageId != 0)
        err << FormatResString(messageId, target.fileName(), name) << "\n";
    const QString path = QDir(target.path()).filePath(name);
    if (!doc->QzLog().SaveQzLogFile(path, name))
        throw Refusal{QStringLiteral("%1: cannot be written").arg(path)};
    return kExitOk;
}

// A BMP is a logo and is previewed as it is (refused as before when it is
// broken); only a colour BMP and any other picture are first made into a
// logo of the model's area with the picture options.
bool IsLogo(const QString& path)
{
    if (!picture::LooksLikeBmp(path))
        return false;
    QFile file(NativePath(path));
    bmpfile::CBmpInfo info;
    const bool colour = file.open(QIODevice::ReadOnly) && bmpfile::InspectBmp(file, &info) && (info.bitCount & 0xFF) != 1;
    return !colour;
}

int PreviewCommand(const CArgs& a)
{
    const CSendChoices options = SendChoices(a);
    const QString code = a.Value(QStringLiteral("model"));
    std::unique_ptr<CGlyphaneDoc> doc;
    if (IsLogo(a.At(0))) {
        doc = OpenLogo(a.At(0));
        BindModel(*doc, code);
    } else {
        const picture::CPictureSettings settings = PictureSettingsOf(a);
        doc = std::make_unique<CGlyphaneDoc>(GetApp()->DocEnvironment());
        MakeLogoFromPicture(*doc, ModelChoice(code), a.At(0), settings);
    }
    // The stream, and so the dots, depend on the kind of port the logo goes to.
    doc->Binding().SetPortName(a.Has(QStringLiteral("port")) ? a.Value(QStringLiteral("port")) : QStringLiteral("COM1"));
    const CTransferRequest request =
        MakeTransferRequest(GetAppHost(), *doc, TransferKind::Test, 1, options, CTransferFlags{});
    QString reason;
    if (!WritePreview(request, a.At(1), &reason))
        throw Refusal{reason};
    return kExitOk;
}

// "1,4" -> bits 0 and 3; every number 1 to 4, each once.
BYTE SubLogoMask(const QString& list)
{
    BYTE mask = 0;
    for (const QString& item : list.split(QLatin1Char(','))) {
        bool ok = false;
        const int k = item.trimmed().toInt(&ok);
        if (!ok || k < 1 || k > 4 || (mask & (1 << (k - 1))))
            throw Refusal{QStringLiteral("--sub-logos takes sub-logo numbers 1 to 4, each once, such as 1,4")};
        mask = static_cast<BYTE>(mask | (1 << (k - 1)));
    }
    return mask;
}

// "scan": one line a port; exit 0 when a printer was found somewhere.
int ScanCommand(const CArgs& a, QTextStream& out)
{
    QStringList ports = PortsToScan();
    if (a.Has(QStringLiteral("ports"))) {
        ports.clear();
        for (const QString& item : a.Value(QStringLiteral("ports")).split(QLatin1Char(','), Qt::SkipEmptyParts))
            ports << item.trimmed();
    }
    if (ports.isEmpty())
        throw Refusal{QStringLiteral("no port to look at: no configured port has its device here")};
    bool any = false;
    for (const CPortFinding& f : ScanPorts(ports, ProgramScanCatalogue(GetAppHost()))) {
        out << FindingLine(f) << "\n";
        any = any || f.state == ScanState::Found;
    }
    out.flush();
    return any ? kExitOk : kExitRefused;
}

int PrintLogoCommand(const CArgs& a, QTextStream& err)
{
    if (!a.Has(QStringLiteral("port")) || !a.Has(QStringLiteral("slot"))) {
        err << "glyphane-cli: \"print-logo\" needs --port and --slot\n" << Usage();
        return kExitUsage;
    }
    const bool all = a.Has(QStringLiteral("all"));
    const bool some = a.Has(QStringLiteral("sub-logos"));
    if (all && some)
        throw Refusal{QStringLiteral("--sub-logos and --all exclude each other")};
    const BYTE mask = some ? SubLogoMask(a.Value(QStringLiteral("sub-logos"))) : kWholeLogoMask;
    const QString port = a.Value(QStringLiteral("port"));
    QString model = a.Value(QStringLiteral("model")), reason;
    if (model.isEmpty()) {
        if (!port.contains(QLatin1String("COM")))
            throw Refusal{QStringLiteral("%1: only a printer on a serial port is found by itself; name it with --model")
                              .arg(port)};
        QString cfgFile;
        if (!DetectPrinter(port, &model, &cfgFile, &reason))
            throw Refusal{reason};
        err << "detected printer " << model << " on " << port << "\n";
    }
    CGlyphaneDoc doc(GetApp()->DocEnvironment());
    BindModel(doc, model);
    if ((some || all) && !IsFiscalModel(model))
        throw Refusal{QStringLiteral("%1 has no sub-logos: only fiscal printers take --sub-logos or --all").arg(model)};
    bool ok = false;
    const int slot = a.Value(QStringLiteral("slot")).toInt(&ok);
    if (!ok || slot < 1 || slot > doc.Binding().GetNumLogos())
        throw Refusal{QStringLiteral("--slot takes a slot from 1 to %1 for %2").arg(doc.Binding().GetNumLogos()).arg(model)};
    int flash = 1;
    doc.Binding().GetPrinterCfg()->GetOptionPrintersToTest(QStringLiteral("PrnLogoFlash"), &flash, 1);
    doc.Binding().SetPrnLogoFlash(flash);
    doc.Binding().SetPortName(port);
    const CStoredLogoRequest request =
        MakeStoredLogoRequest(GetAppHost(), doc, slot, mask, IsWgj33Model(model), nullptr);
    if (!PrintStoredLogo(request, err, &reason))
        throw Refusal{reason};
    return kExitOk;
}

} // namespace

QString Usage()
{
    return QStringLiteral(
        "usage:\n"
        "  glyphane-cli info FILE\n"
        "  glyphane-cli models\n"
        "  glyphane-cli model CODE\n"
        "  glyphane-cli convert IN OUT [--threshold N] [--method NAME]\n"
        "  glyphane-cli import IN OUT.bmp --model CODE [--fit within|width|original|stretch]\n"
        "                      [--placement center|left] [--method NAME] [--threshold N]\n"
        "                      [--brightness N] [--contrast N] [--gamma X] [--invert] [--serpentine] [--page N]\n"
        "  glyphane-cli invert IN OUT\n"
        "  glyphane-cli flip-h IN OUT\n"
        "  glyphane-cli flip-v IN OUT\n"
        "  glyphane-cli raster IN OUT --model CODE [--frame thin|bold|double]\n"
        "                      [--reverse-image] [--reverse-row] [--reverse-color]\n"
        "  glyphane-cli print-data IN OUT --model CODE\n"
        "  glyphane-cli resize IN OUT --width W --height H --placement center|left|stretch|tile|resize\n"
        "  glyphane-cli send LOGO --port COM1[,COM2,...] [--model CODE] (--test | --program SLOT)\n"
        "  glyphane-cli send LOGO --port LPT1|USB001 --model CODE (--test | --program SLOT)\n"
        "  glyphane-cli send LOGO --port all-found (--test | --program SLOT)\n"
        "                   [--frame thin|bold|double] [--reverse-image] [--reverse-row] [--reverse-color]\n"
        "                   [--baud 9600|19200|38400] [--verify] [--print-after] [--report FILE.json]\n"
        "  glyphane-cli scan [--ports COM1,COM2,...]\n"
        "  glyphane-cli preview PICTURE OUT.png --model CODE [--port COM1|LPT1|USB001] [--frame thin|bold|double]\n"
        "                      [--reverse-image] [--reverse-row] [--reverse-color] [the options of import]\n"
        "  glyphane-cli print-logo --port PORT [--model CODE] --slot N [--sub-logos 1,4 | --all]\n"
        "  glyphane-cli psw-info FILE\n"
        "  glyphane-cli psw-load FILE --slot N --model CODE OUT.bmp\n"
        "  glyphane-cli psw-save FILE --slot N --model CODE IN.bmp\n"
        "  glyphane-cli qz-log IN.bmp OUT.log --release R --version V\n"
        "  glyphane-cli --version\n"
        "methods: ")
           + dither::MethodNames() + QStringLiteral("\n");
}

int Run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (arguments.isEmpty()) {
        err << Usage();
        return kExitUsage;
    }
    const QString command = arguments.first();
    const QStringList rest = arguments.mid(1);
    const QStringList rasterFlags = {QStringLiteral("reverse-image"), QStringLiteral("reverse-row"),
                                     QStringLiteral("reverse-color")};

    struct CommandDef {
        int positional;
        QStringList flags;
        QStringList valued;
        bool needsModel;
        std::function<int(const CArgs&)> run;
    };
    const std::map<QString, CommandDef> commands = {
        {QStringLiteral("info"), {1, {}, {}, false, [&](const CArgs& a) { return Info(a, out); }}},
        {QStringLiteral("models"), {0, {}, {}, false, [&](const CArgs&) { return Models(out); }}},
        {QStringLiteral("model"), {1, {}, {}, false, [&](const CArgs& a) { return Model(a, out); }}},
        {QStringLiteral("convert"), {2, {}, {QStringLiteral("threshold"), QStringLiteral("method")}, false, Convert}},
        {QStringLiteral("import"),
         {2, PictureFlags(), PictureOptions() + QStringList{QStringLiteral("model")}, true, Import}},
        {QStringLiteral("invert"),
         {2, {}, {}, false,
          [](const CArgs& a) {
              return ImageOperation(a, [](CGlyphaneDoc& d, DWORD w, DWORD h) { d.InvertAllPixels(w, h); });
          }}},
        {QStringLiteral("flip-h"),
         {2, {}, {}, false,
          [](const CArgs& a) {
              return ImageOperation(a, [](CGlyphaneDoc& d, DWORD w, DWORD h) { d.FlipPixelsHorizontal(w, h); });
          }}},
        {QStringLiteral("flip-v"),
         {2, {}, {}, false,
          [](const CArgs& a) {
              return ImageOperation(a, [](CGlyphaneDoc& d, DWORD w, DWORD h) { d.FlipPixelsVertical(w, h); });
          }}},
        {QStringLiteral("raster"),
         {2, rasterFlags, {QStringLiteral("model"), QStringLiteral("frame")}, true, Raster}},
        {QStringLiteral("print-data"), {2, {}, {QStringLiteral("model")}, true, PrintDataCommand}},
        {QStringLiteral("send"),
         {1, rasterFlags + QStringList{QStringLiteral("test"), QStringLiteral("verify"), QStringLiteral("print-after")},
          {QStringLiteral("port"), QStringLiteral("model"), QStringLiteral("program"), QStringLiteral("frame"),
           QStringLiteral("baud"), QStringLiteral("report")},
          false, [&](const CArgs& a) { return SendCommand(a, err); }}},
        {QStringLiteral("preview"),
         {2, rasterFlags + PictureFlags(),
          PictureOptions() + QStringList{QStringLiteral("model"), QStringLiteral("frame"), QStringLiteral("port")}, true,
          PreviewCommand}},
        {QStringLiteral("print-logo"),
         {0, {QStringLiteral("all")}, {QStringLiteral("port"), QStringLiteral("model"), QStringLiteral("slot"),
                                        QStringLiteral("sub-logos")},
          false, [&](const CArgs& a) { return PrintLogoCommand(a, err); }}},
        {QStringLiteral("scan"), {0, {}, {QStringLiteral("ports")}, false, [&](const CArgs& a) { return ScanCommand(a, out); }}},
        {QStringLiteral("psw-info"), {1, {}, {}, false, [&](const CArgs& a) { return PswInfo(a, out); }}},
        {QStringLiteral("psw-load"), {2, {}, {QStringLiteral("slot"), QStringLiteral("model")}, true, PswLoad}},
        {QStringLiteral("psw-save"), {2, {}, {QStringLiteral("slot"), QStringLiteral("model")}, true, PswSave}},
        {QStringLiteral("qz-log"),
         {2, {}, {QStringLiteral("release"), QStringLiteral("version")}, false,
          [&](const CArgs& a) { return QzLog(a, err); }}},
        {QStringLiteral("resize"),
         {2, {}, {QStringLiteral("width"), QStringLiteral("height"), QStringLiteral("placement")}, false,
          [&](const CArgs& a) { return ResizeCommand(a, err); }}},
    };

    const auto it = commands.find(command);
    if (it == commands.end()) {
        err << "glyphane-cli: unknown command \"" << command << "\"\n" << Usage();
        return kExitUsage;
    }
    const CommandDef& def = it->second;
    const CArgs args(rest, def.flags, def.valued);
    if (!args.Valid(def.positional) || (def.needsModel && args.Value(QStringLiteral("model")).isEmpty())) {
        err << "glyphane-cli: wrong arguments for \"" << command << "\"\n" << Usage();
        return kExitUsage;
    }
    try {
        return def.run(args);
    } catch (const Refusal& refusal) {
        err << "glyphane-cli: " << refusal.message << "\n";
        return kExitRefused;
    }
}

} // namespace cli
