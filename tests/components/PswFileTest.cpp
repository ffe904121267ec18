// The upgrade-file component against files written by scripts/make-psw.
#include "components/LogFile.h"
#include "components/PswFile.h"
#include "support/PswMaker.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using pswmaker::CSlot;

namespace {

class PswFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(m_log.CreateLogFile(nullptr, m_dir.filePath(QStringLiteral("test.log"))));
    }
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QString LogText() const { return QString::fromUtf8(pswmaker::ReadAll(m_dir.filePath(QStringLiteral("test.log")))); }

    QTemporaryDir m_dir;
    CLogFile m_log;
};

QByteArray Pattern(int size, int seed)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 37 + seed) & 0xFF);
    return bytes;
}

} // namespace

TEST_F(PswFileTest, HeaderAndSlotRecordsAreReadAsWritten)
{
    const QString path = Path(QStringLiteral("a.psw"));
    ASSERT_TRUE(pswmaker::Make(path, QStringLiteral("WGJ33"), {{64, 16, {}}, {16, 8, {}}}, 7, 0x33));
    const QByteArray file = pswmaker::ReadAll(path);
    // The script's header, byte for byte as docs/psw-format.md lays it out:
    // magic, the name padded with blanks, device 7, 2 slots, logo area at
    // 48 + 2 * 16 + 256 = 336 (0x150), key 0x33.
    QByteArray expected("TPSWWGJ33");
    expected += QByteArray(27, ' ');
    expected += QByteArray::fromHex("07 02 00000150 33 0000000000");
    ASSERT_EQ(file.left(48).toHex(), expected.toHex());
    // Slot 2: number 2, 16 x 8 dots, offset 64*16/8+62 + 8 = 198 (0xC6), capacity 16*8/8+62 = 78 (0x4E).
    EXPECT_EQ(file.mid(64, 16).toHex(), QByteArray::fromHex("02 0000 0010 0008 0000C6 00004E 000000").toHex());

    CHeaderPsw header(&m_log);
    ASSERT_TRUE(header.Init(path));
    EXPECT_EQ(header.GetNomestampante().trimmed(), QStringLiteral("WGJ33"));
    EXPECT_EQ(header.GetNomestampante().size(), 32) << "the padding is the reader's to trim";
    EXPECT_EQ(header.GetDeviceCode(), 7);
    EXPECT_EQ(header.GetNumSlots(), 2);
    EXPECT_EQ(header.GetLogoAreaOffset(), 0x150u);
    const _headerLoghi slot2 = header.GetIesimLogoStruct(1);
    EXPECT_EQ(PswSlotWidth(slot2), 16);
    EXPECT_EQ(PswSlotHeight(slot2), 8);
    EXPECT_EQ(PswSlotOffset(slot2), 198u);
    EXPECT_EQ(header.GetSlotCapacity(1), 78u);
    EXPECT_EQ(PswSlotWidth(header.GetIesimLogoStruct(2)), 0) << "no third slot";
}

TEST_F(PswFileTest, DescramblingGivesBackWhatTheScriptStoredAndSlotsDiffer)
{
    const QByteArray logo = Pattern(32 * 8 / 8, 5);
    const QString path = Path(QStringLiteral("b.psw"));
    ASSERT_TRUE(pswmaker::Make(path, QStringLiteral("VD8"), {{32, 8, logo}, {32, 8, logo}}, 1, 0xC4));
    CHeaderPsw header(&m_log);
    ASSERT_TRUE(header.Init(path));
    CCrittoPswFile critto(nullptr, path);
    ASSERT_TRUE(critto.InitCCrittoPswFile(path));
    BYTE key = 0;
    ASSERT_TRUE(critto.GetScrByteFromPswFile(&key));
    EXPECT_EQ(key, 0xC4);

    const QByteArray file = pswmaker::ReadAll(path);
    QByteArray stored[2];
    for (int i = 0; i < 2; ++i) {
        const DWORD offset = PswSlotOffset(header.GetIesimLogoStruct(i));
        stored[i] = file.mid(header.GetLogoAreaOffset() + offset, logo.size());
        QByteArray plain = stored[i];
        ASSERT_TRUE(critto.DeCrittoBufferFromPswFile(reinterpret_cast<BYTE*>(plain.data()), offset,
                                                     static_cast<DWORD>(plain.size()), key));
        EXPECT_EQ(plain.toHex(), logo.toHex()) << "slot " << i + 1;
        // Scrambling again gives the stored bytes back: the two calls are a pair.
        ASSERT_TRUE(critto.CrittoBufferFromPswFile(reinterpret_cast<BYTE*>(plain.data()), offset,
                                                   static_cast<DWORD>(plain.size()), key));
        EXPECT_EQ(plain, stored[i]);
    }
    EXPECT_NE(stored[0], stored[1]) << "the same logo must be stored differently in two slots";
    EXPECT_NE(stored[0], logo);
}

TEST_F(PswFileTest, KeyIsRefusedForAFileThatIsNoUpgradeFile)
{
    const QString path = Path(QStringLiteral("c.psw"));
    ASSERT_TRUE(pswmaker::WriteAll(path, QByteArray(100, 'x')));
    CCrittoPswFile critto(nullptr, path);
    EXPECT_FALSE(critto.InitCCrittoPswFile(path));
    BYTE key = 0;
    EXPECT_FALSE(critto.GetScrByteFromPswFile(&key));
    EXPECT_FALSE(critto.InitCCrittoPswFile(Path(QStringLiteral("missing.psw"))));
}

TEST_F(PswFileTest, EveryCutBeforeTheLastSlotEndsIsRefused)
{
    const QString path = Path(QStringLiteral("d.psw"));
    ASSERT_TRUE(pswmaker::Make(path, QStringLiteral("WGJ33"), {{16, 4, {}}, {8, 2, {}}}));
    const QByteArray whole = pswmaker::ReadAll(path);
    CHeaderPsw full(&m_log);
    ASSERT_TRUE(full.Init(path));
    const qint64 lastEnd = full.GetLogoAreaOffset() + PswSlotOffset(full.GetIesimLogoStruct(1)) + full.GetSlotCapacity(1);
    const QString cut = Path(QStringLiteral("cut.psw"));
    for (qint64 size = 0; size < lastEnd; ++size) {
        ASSERT_TRUE(pswmaker::WriteAll(cut, whole.left(size)));
        CHeaderPsw header(&m_log);
        EXPECT_FALSE(header.Init(cut)) << "cut at " << size;
        EXPECT_EQ(header.GetNumLoghi(), 0);
    }
    ASSERT_TRUE(pswmaker::WriteAll(cut, whole.left(lastEnd)));
    CHeaderPsw header(&m_log);
    EXPECT_TRUE(header.Init(cut)) << "the firmware after the last slot is not needed";
    EXPECT_TRUE(LogText().contains(QStringLiteral("[CHeaderPsw::Init()]")));
}

TEST_F(PswFileTest, HostileFieldsAreRefusedWithAReason)
{
    const QString good = Path(QStringLiteral("good.psw"));
    ASSERT_TRUE(pswmaker::Make(good, QStringLiteral("WGJ33"), {{16, 4, {}}, {8, 2, {}}}));
    const QByteArray whole = pswmaker::ReadAll(good);
    struct Case {
        const char* what;
        int at;
        quint32 value;
        int count;
        const char* logged;
    };
    const int rec1 = 48, rec2 = 64;
    const Case cases[] = {
        {"magic", 0, 'X', 1, "no upgrade-file mark"},
        {"slot count past the logo area", 37, 255, 1, "logo table runs past"},
        {"logo area past the end", 38, 0x00FFFFFF, 4, "past the end of the file"},
        {"logo area inside the table", 38, 60, 4, "logo table runs past"},
        {"width zero", rec1 + 3, 0, 2, "impossible size"},
        {"width not whole bytes", rec1 + 3, 12, 2, "impossible size"},
        {"absurd height", rec1 + 5, 0xFFFF, 2, "impossible size"},
        {"offset past the end", rec2 + 7, 0xFFFFFF, 3, "reaches past the end"},
        {"capacity past the end", rec2 + 10, 0xFFFFFF, 3, "reaches past the end"},
        {"capacity below the logo", rec1 + 10, 7, 3, "smaller than its logo"},
        {"slots overlapping", rec2 + 7, 4, 3, "slots 1 and 2 overlap"},
    };
    const QString path = Path(QStringLiteral("hostile.psw"));
    for (const Case& c : cases) {
        QByteArray bytes = whole;
        pswmaker::PutBigEndian(bytes, c.at, c.value, c.count);
        ASSERT_TRUE(pswmaker::WriteAll(path, bytes));
        CHeaderPsw header(&m_log);
        EXPECT_FALSE(header.Init(path)) << c.what;
        EXPECT_TRUE(LogText().contains(QString::fromLatin1(c.logged))) << c.what;
    }
}
