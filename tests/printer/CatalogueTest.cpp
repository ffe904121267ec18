// The model catalogue: comparison rules, every group over its edge cases, and
// the configuration keys read from the real printer files of the program folder.
#include "printer/ModelCatalogue.h"

#include "components/LoadCfgPrnFile.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace {

struct Membership {
    const char* model;
    bool expected;
};

void ExpectMembership(const char* group, const std::function<bool(const QString&)>& predicate,
                      std::initializer_list<Membership> cases)
{
    for (const Membership& c : cases) {
        EXPECT_EQ(predicate(QString::fromLatin1(c.model)), c.expected)
            << group << " for model \"" << c.model << "\"";
    }
}

TEST(ModelComparison, ExactRuleIsCaseSensitiveWholeString)
{
    EXPECT_TRUE(ModelMatchesExact("WGJ33", "WGJ33"));
    EXPECT_FALSE(ModelMatchesExact("wgj33", "WGJ33"));
    EXPECT_FALSE(ModelMatchesExact("WGJ331", "WGJ33"));
    EXPECT_FALSE(ModelMatchesExact("", "WGJ33"));
}

TEST(ModelComparison, IgnoringCaseRuleComparesWholeString)
{
    EXPECT_TRUE(ModelMatchesIgnoringCase("mzvzvrxh", "MZVZVRXH"));
    EXPECT_TRUE(ModelMatchesIgnoringCase("Hvczil_Medel", kHvczilMedelModel));
    EXPECT_FALSE(ModelMatchesIgnoringCase("MZVZVRX", "MZVZVRXH"));
}

TEST(ModelComparison, FiveCharacterKeyTakesTheTwoExceptions)
{
    EXPECT_EQ(ModelFiveCharKey("JMQ9534"), "Jmq95");
    EXPECT_EQ(ModelFiveCharKey("BDQGMLW"), "BDQG");
    EXPECT_EQ(ModelFiveCharKey("GB6853RJ"), "GB685");
    EXPECT_EQ(ModelFiveCharKey("J4"), "J4");
    EXPECT_EQ(ModelFiveCharKey(""), "");
    // The exceptions are exact tests of their own: a lower-case code takes
    // the plain first five characters.
    EXPECT_EQ(ModelFiveCharKey("jmq9534"), "jmq95");
    EXPECT_EQ(ModelFiveCharKey("bdqgmlw"), "bdqgm");
}

TEST(ModelComparison, KeyAndFirstFiveRulesDifferOnlyByTheExceptions)
{
    EXPECT_TRUE(ModelKeyMatches("BDQGMLW", "BDQG"));
    EXPECT_FALSE(ModelFirstFiveMatch("BDQGMLW", "BDQG"));
    EXPECT_TRUE(ModelKeyMatches("hvczl98c", "HVCZL"));
    EXPECT_TRUE(ModelFirstFiveMatch("hvczl98c", "HVCZL"));
    // A listed code shorter than five characters only matches itself.
    EXPECT_TRUE(ModelFirstFiveMatch("lb36", "LB36"));
    EXPECT_FALSE(ModelFirstFiveMatch("LB361", "LB36"));
    EXPECT_FALSE(ModelKeyMatches("J45", "J4"));
}

TEST(CatalogueGroups, UsbGroupsUseTheExactRule)
{
    ExpectMembership("usb-bitmap", IsUsbBitmapModel,
                     {{"JMQ9534", true}, {"BDQGMLW", true}, {"VD8", true}, {"jmq9534", false},
                      {"BDQG", false}, {"VD80", false}, {"J4", false}});
    ExpectMembership("usb-only-port", IsUsbOnlyPortModel,
                     {{"VD8", true}, {"vd8", false}, {"JMQ9534", false}, {"J4", false}});
    ExpectMembership("usb-print", IsUsbPrintModel,
                     {{"VD8", true}, {"J4", true}, {"BDQGMLW", true}, {"JMQ9534", false},
                      {"J45", false}, {"bdqgmlw", false}});
}

TEST(CatalogueGroups, FiscalModelsAreExactlyTheSeven)
{
    ExpectMembership("fiscal", IsFiscalModel,
                     {{"MLQDGGQF", true}, {"WQWRFW0", true}, {"GVF", true}, {"GVF-Z", true},
                      {"VV121", true}, {"DN60-HNLN", true}, {"GVGVFQVC", true},
                      {"MLQDG", false}, {"DN60-", false}, {"gvf", false}, {"GVF-", false}});
}

TEST(CatalogueGroups, NoTestUsesTheFiveCharacterKey)
{
    ExpectMembership("no-test", IsNoTestModel,
                     {// the key exceptions and the case rule
                      {"JMQ9534", true}, {"jmq9534", true}, {"BDQGMLW", true}, {"BDQG", true},
                      {"BDQGX", false}, {"J4", true}, {"J45", false}, {"j4", true},
                      // codes inheriting a listed five-character key
                      {"GB6853", true}, {"GB6853RJ", true}, {"BD9397", true}, {"GMN405", true},
                      {"FFH107", true}, {"XNZ11BL", true}, {"XNZ115JDD", true},
                      {"ZHBQ786", true}, {"NDVNGF", true}, {"QVGDCMR", true},
                      {"MLQDGGQF", true}, {"VXCC5007", true}, {"BMRW2133", true},
                      {"HCFL407", true}, {"DN60-HNLN", true}, {"CDGQ-CC", true},
                      {"FQ054-07", true}, {"HVCZL", true}, {"HVCZL41M", true},
                      {"HVCZLFL", true}, {"hvczl98c", true}, {"LR52-", true}, {"LB36", true},
                      // models that may be tested
                      {"WGJ33", false}, {"MZVZVRXH", false}, {"QNND", false}, {"VD80", false},
                      {"LB3", false}, {"CV292", false}, {"GVF", false}, {"", false}});
}

TEST(CatalogueGroups, TrailingZeroBytesByExactModel)
{
    EXPECT_EQ(TrailingZeroBytes("DVW85"), 32);
    EXPECT_EQ(TrailingZeroBytes("BJL153"), 56);
    EXPECT_EQ(TrailingZeroBytes("QXB978"), 56);
    EXPECT_EQ(TrailingZeroBytes("CV292"), 16);
    EXPECT_EQ(TrailingZeroBytes("DVW85HV"), 0);
    EXPECT_EQ(TrailingZeroBytes("BJL153BV"), 0);
    EXPECT_EQ(TrailingZeroBytes("cv292"), 0);
    EXPECT_EQ(TrailingZeroBytes("WGJ33"), 0);
}

TEST(CatalogueGroups, WarningAndFeedGroups)
{
    ExpectMembership("select-line-warning", IsSelectLineWarningModel,
                     {{"XGNNR789", true}, {"QXB978", true}, {"QMDHD69", true}, {"GCH28", true},
                      {"DVW85HV", true}, {"BJL153BV", true}, {"LQN31-22.6", true},
                      {"DVW85", false}, {"BJL153", false}, {"LQN31-22", false}});
    ExpectMembership("extra-feed", IsExtraFeedModel,
                     {{"GB6853", true}, {"GB6853RJ", true}, {"VC8710", true}, {"BD9397", true},
                      {"FQ054-07", true}, {"FQ054-32", true}, {"HCFL407", true},
                      {"GMN405", true}, {"FD716", true}, {"GB685", false}, {"FQ054", false},
                      {"fq054-07", false}});
    ExpectMembership("80mm-paper-warning", Is80mmPaperWarningModel,
                     {{"MZVZV", true}, {"MZVZVVD", true}, {"MZVZVJV0", true},
                      {"MZVZVQZVJ", true}, {"MZVZVRXH", false}, {"mzvzv", false}});
}

TEST(CatalogueGroups, SingleModelGroups)
{
    ExpectMembership("mzvzvrxh", IsMzvzvrxhModel, {{"MZVZVRXH", true}, {"mzvzvrxh", false}});
    ExpectMembership("wgj33", IsWgj33Model, {{"WGJ33", true}, {"wgj33", false}, {"WGJ3", false}});
    ExpectMembership("qnnd", IsQnndModel, {{"QNND", true}, {"QNNDX", false}});
    ExpectMembership("zone-overlay", IsZoneOverlayModel,
                     {{"MZVZVRXH", true}, {"WQWRFW0", true}, {"MZVZV", false}, {"GVF", false}});
}

TEST(CatalogueGroups, SlotDigitInDownloadCommandIncludesFiscalModels)
{
    ExpectMembership("slot-digit-download", TakesSlotDigitInDownloadCommand,
                     {{"XNZ11", true}, {"XNZ11BL", true}, {"XNZ115JDD", true}, {"J4", true},
                      {"JMQ9534", true}, {"BDQGMLW", true}, {"VD8", true}, {"FRNDR", true},
                      {"GVF", true}, {"WQWRFW0", true}, {"DN60-HNLN", true},
                      {"BDQG", false}, {"WGJ33", false}, {"GB685", false}, {"xnz11", false}});
}

TEST(CatalogueGroups, RamToFlashWaitByModel)
{
    for (const char* model : {"QVGDCMR", "ZHBQ786", "J4", "FFH107", "FRNDR", "CDGQ-CC"})
        EXPECT_EQ(RamToFlashWaitMs(model), 35000) << model;
    for (const char* model : {"NDVNGF", "XNZ115JDD"})
        EXPECT_EQ(RamToFlashWaitMs(model), 4000) << model;
    for (const char* model : {"QVGDC", "NDVNG", "WGJ33", "qvgdcmr", ""})
        EXPECT_EQ(RamToFlashWaitMs(model), 8000) << model;
}

TEST(CatalogueGroups, ProtocolFamilyOnFirstFiveCharactersIgnoringCase)
{
    const struct {
        const char* model;
        ProtocolFamily family;
    } cases[] = {
        {"BDQG", ProtocolFamily::BDQG},       {"bdqg", ProtocolFamily::BDQG},
        {"BDQGMLW", ProtocolFamily::Generic}, {"HVCZL", ProtocolFamily::HVCZL},
        {"HVCZL98C", ProtocolFamily::HVCZL},  {"LR52-", ProtocolFamily::LR52},
        {"LR52-X", ProtocolFamily::LR52},     {"LR52", ProtocolFamily::Generic},
        {"MQQM5", ProtocolFamily::MQQM5},     {"FQ054-07", ProtocolFamily::FQ054},
        {"fq054", ProtocolFamily::FQ054},     {"LB36", ProtocolFamily::LB36},
        {"LB361", ProtocolFamily::Generic},   {"JMQ9534", ProtocolFamily::Generic},
        {"WGJ33", ProtocolFamily::Generic},   {"", ProtocolFamily::Generic},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProtocolFamilyOf(c.model), c.family) << c.model;
}

TEST(CatalogueGroups, GroupNamesOfAModel)
{
    EXPECT_EQ(CatalogueGroupsOf("FQ054-07"),
              (QStringList{"no-test", "extra-feed", "protocol-fq054"}));
    EXPECT_EQ(CatalogueGroupsOf("BDQGMLW"),
              (QStringList{"usb-bitmap", "usb-print", "no-test", "slot-digit-download"}));
    EXPECT_EQ(CatalogueGroupsOf("J4"), (QStringList{"usb-print", "no-test",
                                                    "slot-digit-download",
                                                    "ram-to-flash-35000"}));
    EXPECT_EQ(CatalogueGroupsOf("WQWRFW0"),
              (QStringList{"fiscal", "zone-overlay", "slot-digit-download"}));
    EXPECT_TRUE(CatalogueGroupsOf("CX925").isEmpty());
    EXPECT_TRUE(CatalogueGroupsOf("Printer not selected").isEmpty());
}

TEST(CatalogueCodes, FixedCodesAreUniqueWithOneKeyOnlyEntry)
{
    const QStringList& all = AllFixedModelCodes();
    EXPECT_EQ(all.size(), 80);
    EXPECT_EQ(std::set<QString>(all.begin(), all.end()).size(), size_t(all.size()));
    EXPECT_TRUE(all.contains("Jmq95"));
    EXPECT_FALSE(all.contains(kHvczilMedelModel));

    const QStringList models = CatalogueModelCodes();
    EXPECT_EQ(models.size(), all.size() - 1);
    EXPECT_FALSE(models.contains("Jmq95"));
    EXPECT_TRUE(models.contains("JMQ9534"));
    EXPECT_TRUE(IsKeyOnlyFixedCode("Jmq95"));
    EXPECT_FALSE(IsKeyOnlyFixedCode("JMQ9534"));
}

TEST(CatalogueCodes, EveryGroupMemberIsAFixedCode)
{
    // A code typed wrongly in a group would silently never match: probe the
    // exact-rule groups with near misses of every listed code.
    const QStringList& all = AllFixedModelCodes();
    for (const QString& code : all) {
        for (const QString& probe : {code + "X", code.left(code.size() - 1)}) {
            if (all.contains(probe))
                continue;
            EXPECT_FALSE(IsUsbBitmapModel(probe) || IsFiscalModel(probe) ||
                         IsExtraFeedModel(probe) || IsSelectLineWarningModel(probe) ||
                         TakesSlotDigitInDownloadCommand(probe) || TrailingZeroBytes(probe) > 0)
                << probe.toStdString();
        }
    }
}

// ---- printer configuration keys ---------------------------------------------

QString WriteConfig(const QTemporaryDir& dir, const QByteArray& options)
{
    const QString path = dir.filePath("printer.cfg");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[Options]\n" + options + "\n[Commands]\nCtotcut = 1B 69\n");
    return path;
}

const QByteArray kAllOptions = "NLoghi = 4\nDotX = 576\nDotY = 240\nPrnLogoFlash = 0\n"
                               "GSImodel = 0x133\nParallelInterface = 2\nUSBInterface = 1\n";

TEST(PrinterOptions, ReadsAllSevenKeys)
{
    QTemporaryDir dir;
    CLoadCfgPrnFile cfg;
    ASSERT_TRUE(cfg.LoadPublicCfgFile(WriteConfig(dir, kAllOptions)));
    CPrinterOptions options;
    QStringList missing{"stale"};
    ASSERT_TRUE(ReadPrinterOptions(cfg, options, &missing));
    EXPECT_TRUE(missing.isEmpty());
    EXPECT_EQ(options.nLoghi, 4);
    EXPECT_EQ(options.dotX, 576);
    EXPECT_EQ(options.dotY, 240);
    EXPECT_EQ(options.prnLogoFlash, 0);
    EXPECT_EQ(options.gsiModel, 0x33) << "only the low byte identifies the printer";
    EXPECT_EQ(options.parallelInterface, 2);
    EXPECT_EQ(options.usbInterface, 1);
}

TEST(PrinterOptions, MissingOrOutOfRangeKeysFailAndChangeNothing)
{
    const struct {
        QByteArray options;
        QStringList bad;
    } cases[] = {
        {"DotX = 576\nDotY = 240\nPrnLogoFlash = 0\nGSImodel = 1\nParallelInterface = 0\n"
         "USBInterface = 0\n",
         {"NLoghi"}},
        {"NLoghi = 4\n", {"DotX", "DotY", "PrnLogoFlash", "GSImodel", "ParallelInterface",
                          "USBInterface"}},
        {QByteArray(kAllOptions).replace("NLoghi = 4", "NLoghi = 100"), {"NLoghi"}},
        {QByteArray(kAllOptions)
             .replace("DotX = 576", "DotX = 4294967295")
             .replace("DotY = 240", "DotY = 16385"),
         {"DotX", "DotY"}},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        CLoadCfgPrnFile cfg;
        ASSERT_TRUE(cfg.LoadPublicCfgFile(WriteConfig(dir, c.options)));
        CPrinterOptions options;
        options.nLoghi = 7;
        options.gsiModel = 9;
        QStringList missing;
        EXPECT_FALSE(ReadPrinterOptions(cfg, options, &missing)) << c.options.constData();
        EXPECT_EQ(missing, c.bad) << c.options.constData();
        EXPECT_EQ(options.nLoghi, 7);
        EXPECT_EQ(options.gsiModel, 9);
        EXPECT_FALSE(ReadPrinterOptions(cfg, options, nullptr));
    }
}

TEST(PrinterOptions, UnloadedConfigurationFails)
{
    CLoadCfgPrnFile cfg;
    CPrinterOptions options;
    QStringList missing;
    EXPECT_FALSE(ReadPrinterOptions(cfg, options, &missing));
    EXPECT_EQ(missing.size(), 7);
}

TEST(PrinterOptions, EveryCatalogueModelHasAUsableConfigurationFile)
{
    const QString folder = testenv::ProgramDir();
    for (const QString& model : CatalogueModelCodes()) {
        CLoadCfgPrnFile cfg;
        ASSERT_TRUE(cfg.InitCCfgFl(nullptr, folder, "CfgFile\\" + model + ".cfg"));
        ASSERT_TRUE(cfg.LoadPublicCfgFile()) << model.toStdString();
        CPrinterOptions options;
        QStringList missing;
        EXPECT_TRUE(ReadPrinterOptions(cfg, options, &missing))
            << model.toStdString() << " lacks " << missing.join(", ").toStdString();
        EXPECT_GT(options.nLoghi, 0) << model.toStdString();
        EXPECT_EQ(options.dotX % 16, 0) << model.toStdString();
        if (IsUsbOnlyPortModel(model)) {
            EXPECT_EQ(options.usbInterface, 1) << model.toStdString();
        }
    }
}

} // namespace
