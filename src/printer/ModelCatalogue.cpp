#include "printer/ModelCatalogue.h"

#include "components/LoadCfgPrnFile.h"
#include "document/GlyphaneDoc.h"

#include <initializer_list>

static_assert(kMaxLogoAreaDots == CGlyphaneDoc::kMaxLogoSide,
              "a printer's logo area must fit the largest logo a document holds");

namespace {

using CodeList = std::initializer_list<const char*>;

bool MatchesAnyExact(const QString& model, CodeList codes)
{
    for (const char* code : codes) {
        if (ModelMatchesExact(model, QLatin1String(code)))
            return true;
    }
    return false;
}

bool KeyMatchesAny(const QString& model, CodeList codes)
{
    for (const char* code : codes) {
        if (ModelKeyMatches(model, QLatin1String(code)))
            return true;
    }
    return false;
}

constexpr int kKeyLength = 5;

// The codes of the "Test Logo" rule. "Jmq95" is the key JMQ9534 maps to; its
// odd case is harmless because keys are compared ignoring case.
constexpr CodeList kNoTestKeys = {
    "XNZ11", "BDQG",  "HVCZL", "ZHBQ7", "NDVNG", "J4",    "QVGDC", "MLQDG",
    "DN60-", "FFH10", "LR52-", "LB36",  "GB685", "GMN40", "BD939", "FQ054",
    "HCFL4", "CDGQ-", "FRNDR", "VD8",   "BMRW2", "Jmq95", "VXCC5"};

constexpr CodeList kFiscalModels = {"MLQDGGQF", "WQWRFW0", "GVF",      "GVF-Z",
                                    "VV121",    "DN60-HNLN", "GVGVFQVC"};

constexpr CodeList kSlotDigitModels = {
    "XNZ11", "XNZ11BL", "XNZ115JDD", "VXCC5007", "BMRW2133", "VXCC5033", "VXCC5007Q",
    "ZHBQ786", "NDVNGF", "J4", "QVGDCMR", "CDGQ-CC", "FRNDR", "FFH107", "GB6853",
    "GB6853RJ", "VC8710", "BD9397", "JMQ9534", "BDQGMLW", "VD8"};

struct FamilyCode {
    const char* code;
    ProtocolFamily family;
};

constexpr FamilyCode kFamilies[] = {
    {"BDQG", ProtocolFamily::BDQG},   {"HVCZL", ProtocolFamily::HVCZL},
    {"LR52-", ProtocolFamily::LR52},  {"MQQM5", ProtocolFamily::MQQM5},
    {"FQ054", ProtocolFamily::FQ054}, {"LB36", ProtocolFamily::LB36}};

constexpr int kLongFlashWaitMs = 35000;
constexpr int kShortFlashWaitMs = 4000;
constexpr int kDefaultFlashWaitMs = 8000;

} // namespace

// ---- comparison rules ------------------------------------------------------

bool ModelMatchesExact(const QString& model, const QString& code)
{
    return model.compare(code, Qt::CaseSensitive) == 0;
}

bool ModelMatchesIgnoringCase(const QString& model, const QString& code)
{
    return model.compare(code, Qt::CaseInsensitive) == 0;
}

QString ModelFiveCharKey(const QString& model)
{
    if (ModelMatchesExact(model, QStringLiteral("JMQ9534")))
        return QStringLiteral("Jmq95");
    if (ModelMatchesExact(model, QStringLiteral("BDQGMLW")))
        return QStringLiteral("BDQG");
    return model.left(kKeyLength);
}

bool ModelKeyMatches(const QString& model, const QString& code)
{
    return ModelMatchesIgnoringCase(ModelFiveCharKey(model), code);
}

bool ModelFirstFiveMatch(const QString& model, const QString& code)
{
    return ModelMatchesIgnoringCase(model.left(kKeyLength), code);
}

// ---- groups -------------------------------------------------------------------

bool IsUsbBitmapModel(const QString& model)
{
    return MatchesAnyExact(model, {"JMQ9534", "BDQGMLW", "VD8"});
}

bool IsUsbOnlyPortModel(const QString& model)
{
    return ModelMatchesExact(model, QStringLiteral("VD8"));
}

bool IsUsbPrintModel(const QString& model)
{
    return MatchesAnyExact(model, {"VD8", "J4", "BDQGMLW"});
}

bool IsFiscalModel(const QString& model)
{
    return MatchesAnyExact(model, kFiscalModels);
}

bool IsNoTestModel(const QString& model)
{
    return KeyMatchesAny(model, kNoTestKeys);
}

int TrailingZeroBytes(const QString& model)
{
    if (ModelMatchesExact(model, QStringLiteral("DVW85")))
        return 32;
    if (MatchesAnyExact(model, {"BJL153", "QXB978"}))
        return 56;
    if (ModelMatchesExact(model, QStringLiteral("CV292")))
        return 16;
    return 0;
}

bool IsSelectLineWarningModel(const QString& model)
{
    return MatchesAnyExact(model, {"XGNNR789", "QXB978", "QMDHD69", "GCH28", "DVW85HV",
                                   "BJL153BV", "LQN31-22.6"});
}

bool IsExtraFeedModel(const QString& model)
{
    return MatchesAnyExact(model, {"GB6853", "GB6853RJ", "VC8710", "BD9397", "FQ054-07",
                                   "FQ054-32", "HCFL407", "GMN405", "FD716"});
}

bool Is80mmPaperWarningModel(const QString& model)
{
    return MatchesAnyExact(model, {"MZVZV", "MZVZVVD", "MZVZVJV0", "MZVZVQZVJ"});
}

bool IsMzvzvrxhModel(const QString& model)
{
    return ModelMatchesExact(model, QStringLiteral("MZVZVRXH"));
}

bool IsWgj33Model(const QString& model)
{
    return ModelMatchesExact(model, QStringLiteral("WGJ33"));
}

bool IsQnndModel(const QString& model)
{
    return ModelMatchesExact(model, QStringLiteral("QNND"));
}

bool IsZoneOverlayModel(const QString& model)
{
    return MatchesAnyExact(model, {"MZVZVRXH", "WQWRFW0"});
}

bool ChecksSoftwareReleaseModel(const QString& model)
{
    return ModelMatchesExact(model, QStringLiteral("XNZ11"));
}

bool TakesSlotDigitInDownloadCommand(const QString& model)
{
    return MatchesAnyExact(model, kSlotDigitModels) || IsFiscalModel(model);
}

int RamToFlashWaitMs(const QString& model)
{
    if (MatchesAnyExact(model, {"QVGDCMR", "ZHBQ786", "J4", "FFH107", "FRNDR", "CDGQ-CC"}))
        return kLongFlashWaitMs;
    if (MatchesAnyExact(model, {"NDVNGF", "XNZ115JDD"}))
        return kShortFlashWaitMs;
    return kDefaultFlashWaitMs;
}

ProtocolFamily ProtocolFamilyOf(const QString& model)
{
    for (const FamilyCode& entry : kFamilies) {
        if (ModelFirstFiveMatch(model, QLatin1String(entry.code)))
            return entry.family;
    }
    return ProtocolFamily::Generic;
}

QString ProtocolFamilyName(ProtocolFamily family)
{
    switch (family) {
    case ProtocolFamily::Generic: return QStringLiteral("generic");
    case ProtocolFamily::BDQG: return QStringLiteral("bdqg");
    case ProtocolFamily::HVCZL: return QStringLiteral("hvczl");
    case ProtocolFamily::LR52: return QStringLiteral("lr52");
    case ProtocolFamily::MQQM5: return QStringLiteral("mqqm5");
    case ProtocolFamily::FQ054: return QStringLiteral("fq054");
    case ProtocolFamily::LB36: return QStringLiteral("lb36");
    }
    return QStringLiteral("generic");
}

// ---- the whole catalogue --------------------------------------------------------

namespace {

struct NamedGroup {
    const char* name;
    bool (*contains)(const QString&);
};

bool HasTrailingZeroBytes(const QString& model) { return TrailingZeroBytes(model) > 0; }
bool HasLongFlashWait(const QString& model) { return RamToFlashWaitMs(model) == kLongFlashWaitMs; }
bool HasShortFlashWait(const QString& model) { return RamToFlashWaitMs(model) == kShortFlashWaitMs; }

constexpr NamedGroup kNamedGroups[] = {
    {"usb-bitmap", IsUsbBitmapModel},
    {"usb-only-port", IsUsbOnlyPortModel},
    {"usb-print", IsUsbPrintModel},
    {"fiscal", IsFiscalModel},
    {"no-test", IsNoTestModel},
    {"trailing-zero-bytes", HasTrailingZeroBytes},
    {"select-line-warning", IsSelectLineWarningModel},
    {"extra-feed", IsExtraFeedModel},
    {"80mm-paper-warning", Is80mmPaperWarningModel},
    {"mzvzvrxh", IsMzvzvrxhModel},
    {"wgj33", IsWgj33Model},
    {"qnnd", IsQnndModel},
    {"zone-overlay", IsZoneOverlayModel},
    {"slot-digit-download", TakesSlotDigitInDownloadCommand},
    {"ram-to-flash-35000", HasLongFlashWait},
    {"ram-to-flash-4000", HasShortFlashWait},
};

} // namespace

QStringList CatalogueGroupsOf(const QString& model)
{
    QStringList groups;
    for (const NamedGroup& group : kNamedGroups) {
        if (group.contains(model))
            groups << QLatin1String(group.name);
    }
    const ProtocolFamily family = ProtocolFamilyOf(model);
    if (family != ProtocolFamily::Generic)
        groups << QStringLiteral("protocol-") + ProtocolFamilyName(family);
    return groups;
}

const QStringList& AllFixedModelCodes()
{
    static const QStringList codes = {
        "BDQG",     "BDQGMLW",  "BD939",     "BD9397",    "BJL153",     "BJL153BV",
        "BMRW2",    "BMRW2133", "CDGQ-",     "CDGQ-CC",   "CV292",      "CX925",
        "DN60-",    "DN60-HNLN", "DVW85",    "DVW85HV",   "FD716",      "FFH10",
        "FFH107",   "FQ054",    "FQ054-07",  "FQ054-32",  "FRNDR",      "GB685",
        "GB6853",   "GB6853RJ", "GCH28",     "GF22",      "GMN40",      "GMN405",
        "GVF",      "GVF-Z",    "GVGVFQVC",  "HCFL4",     "HCFL407",    "HGN065",
        "HVCZL",    "HVCZL41M", "HVCZL89W",  "HVCZL91J",  "HVCZL98C",   "HVCZLFL",
        "J4",       "JMQ9534",  "Jmq95",     "LB36",      "LQN31-22.6", "LR52-",
        "LRF80",    "MLQDG",    "MLQDGGQF",  "MQQM5",     "MZVZV",      "MZVZVJV0",
        "MZVZVQZVJ", "MZVZVRXH", "MZVZVVD",  "NDVNG",     "NDVNGF",     "QMDHD69",
        "QNND",     "QVGDC",    "QVGDCMR",   "QXB978",    "VC8710",     "VD8",
        "VV121",    "VXCC5",    "VXCC5007",  "VXCC5007Q", "VXCC5033",   "VZ746",
        "WGJ33",    "WQWRFW0",  "XGNNR789",  "XNZ11",     "XNZ115JDD",  "XNZ11BL",
        "ZHBQ7",    "ZHBQ786"};
    return codes;
}

bool IsKeyOnlyFixedCode(const QString& code)
{
    return ModelMatchesExact(code, QStringLiteral("Jmq95"));
}

QStringList CatalogueModelCodes()
{
    QStringList models;
    for (const QString& code : AllFixedModelCodes()) {
        if (!IsKeyOnlyFixedCode(code))
            models << code;
    }
    return models;
}

// ---- printer configuration keys ---------------------------------------------

namespace {

// One key read into an int; refused when missing or above its bound.
bool ReadUnsignedOption(const CLoadCfgPrnFile& cfg, const char* key, DWORD bound, int& value,
                        QStringList& bad)
{
    DWORD stored = 0;
    if (!cfg.GetOptionPrintersToTest(QLatin1String(key), &stored) || stored > bound) {
        bad << QLatin1String(key);
        return false;
    }
    value = static_cast<int>(stored);
    return true;
}

bool ReadIntOption(const CLoadCfgPrnFile& cfg, const char* key, int& value, QStringList& bad)
{
    if (!cfg.GetOptionPrintersToTest(QLatin1String(key), &value, 1)) {
        bad << QLatin1String(key);
        return false;
    }
    return true;
}

} // namespace

bool ReadPrinterOptions(const CLoadCfgPrnFile& cfg, CPrinterOptions& out, QStringList* missing)
{
    CPrinterOptions read;
    QStringList bad;
    ReadUnsignedOption(cfg, "NLoghi", kMaxLogoSlots, read.nLoghi, bad);
    ReadUnsignedOption(cfg, "DotX", kMaxLogoAreaDots, read.dotX, bad);
    ReadUnsignedOption(cfg, "DotY", kMaxLogoAreaDots, read.dotY, bad);
    ReadIntOption(cfg, "PrnLogoFlash", read.prnLogoFlash, bad);
    DWORD gsi = 0;
    if (cfg.GetOptionPrintersToTest(QStringLiteral("GSImodel"), &gsi))
        read.gsiModel = static_cast<BYTE>(gsi & 0xFF);
    else
        bad << QStringLiteral("GSImodel");
    ReadIntOption(cfg, "ParallelInterface", read.parallelInterface, bad);
    ReadIntOption(cfg, "USBInterface", read.usbInterface, bad);

    if (missing != nullptr)
        *missing = bad;
    if (!bad.isEmpty())
        return false;
    out = read;
    return true;
}
