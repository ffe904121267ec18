// The names of the stored-logo print commands, the fiscal sub-logo order, the
// length bound and the page ends by model, against values written out here.
#include "components/BufferUC.h"
#include "components/LoadCfgPrnFile.h"
#include "transfer/StoredLogoCommands.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(StoredLogoCommandsTest, SlotCharactersAndFiscalNamesFollowTheSlotNumber)
{
    EXPECT_EQ(StoredLogoCommandName(1), QStringLiteral("CmdPrtLogo1"));
    EXPECT_EQ(StoredLogoCommandName(3), QStringLiteral("CmdPrtLogo3"));
    EXPECT_EQ(StoredLogoCommandName(10), QStringLiteral("CmdPrtLogo:")) << "character 58";
    EXPECT_EQ(FiscalLogoCommandName(1), QStringLiteral("CmdPrtLogo01"));
    EXPECT_EQ(FiscalSubLogoCommandName(1, 3), QStringLiteral("CmdPrtLogo0103"));
    EXPECT_EQ(FiscalSubLogoCommandName(12, 4), QStringLiteral("CmdPrtLogo1204"));

    EXPECT_EQ(FiscalPrintCommandNames(2, 255), QStringList{QStringLiteral("CmdPrtLogo02")});
    EXPECT_EQ(FiscalPrintCommandNames(2, 0x09),
              (QStringList{QStringLiteral("CmdPrtLogo0201"), QStringLiteral("CmdPrtLogo0204")}));
    EXPECT_EQ(FiscalPrintCommandNames(3, 0x0F),
              (QStringList{QStringLiteral("CmdPrtLogo0301"), QStringLiteral("CmdPrtLogo0302"),
                           QStringLiteral("CmdPrtLogo0303"), QStringLiteral("CmdPrtLogo0304")}));
    EXPECT_TRUE(FiscalPrintCommandNames(3, 0x30).isEmpty()) << "bits above the fourth name no sub-logo";
}

TEST(StoredLogoCommandsTest, CommandsUpTo256BytesAreFetchedWholeLongerOnesAreRefused)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.cfg"));
    QByteArray text = "[Options]\nDotX = 8\n[Commands]\nCmdFlashRAM = 1B 52 00 00\nCmdPrtLogo1 = 1B";
    for (int i = 1; i < 256; ++i)
        text += " 00";
    text += "\nCmdPrtLogo2 = 1B";
    for (int i = 1; i < 257; ++i)
        text += " 00";
    text += "\n";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    CLoadCfgPrnFile cfg;
    ASSERT_TRUE(cfg.LoadPublicCfgFile(path));

    CBufferUC out;
    QString why;
    EXPECT_TRUE(FetchPrinterCommand(cfg, QStringLiteral("CmdPrtLogo1"), out, &why));
    EXPECT_EQ(out.GetSize(), 256);
    EXPECT_FALSE(FetchPrinterCommand(cfg, QStringLiteral("CmdPrtLogo2"), out, &why));
    EXPECT_EQ(why, QStringLiteral("the configured command CmdPrtLogo2 has 257 bytes, more than the 256 a printer "
                                  "takes in one command: not sent"));
    EXPECT_FALSE(FetchPrinterCommand(cfg, QStringLiteral("CmdPrtLogo3"), out, &why));
    EXPECT_EQ(why, QStringLiteral("the printer configuration has no command CmdPrtLogo3"));

    ASSERT_TRUE(FetchFlashToRamCommand(cfg, 7, out, &why));
    EXPECT_EQ(out.Bytes(), (std::vector<BYTE>{0x1B, 0x52, 0x00, 0x07})) << "the slot number replaces the last byte";
}

TEST(StoredLogoCommandsTest, PageEndsByModel)
{
    auto ends = [](const char* model) {
        const CStoredLogoFeeds f = SerialStoredLogoFeeds(QString::fromLatin1(model));
        return std::vector<int>{f.feeds, f.extraFeeds, f.cut ? 1 : 0, f.feedsInsteadOfCut};
    };
    EXPECT_EQ(ends("FRNDR"), (std::vector<int>{6, 0, 1, 0}));
    EXPECT_EQ(ends("GB6853"), (std::vector<int>{6, 12, 1, 0}));
    EXPECT_EQ(ends("FD716"), (std::vector<int>{6, 12, 1, 0}));
    EXPECT_EQ(ends("JMQ9534"), (std::vector<int>{6, 0, 0, 24}));
    EXPECT_EQ(ends("VD8"), (std::vector<int>{6, 0, 0, 24}));
    EXPECT_EQ(ends("BDQGMLW"), (std::vector<int>{6, 0, 0, 0}));
    EXPECT_EQ(ends("GB6853X"), (std::vector<int>{6, 0, 1, 0})) << "exact model codes only";
}
