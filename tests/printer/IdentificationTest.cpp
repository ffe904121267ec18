// Printer detection on a serial port against the virtual printer: every
// model of the printers-to-test list, every starting speed, the sub-model
// question, the silent printer and the operator's answer.
#include "ConnectFixture.h"

#include "components/LoadCfgPrnFile.h"
#include "components/PrinterProtocol.h"
#include "printer/Identification.h"
#include "resources/StringTable.h"

#include <QElapsedTimer>

using namespace connecttest;
using testenv::ScriptedUi;

namespace {

struct ListedPrinter {
    QString model;
    QString cfgFile;
    BYTE id;
};

std::vector<ListedPrinter> PrintersToTest()
{
    CLoadCfgPrnFile list;
    EXPECT_TRUE(list.LoadPublicCfgFile(testenv::ProgramDir() + QStringLiteral("PrnToTest.cfg")));
    std::vector<ListedPrinter> out;
    for (int i = 0; i < list.GetPrintersToTestCount(); ++i) {
        DWORD value = 0;
        QString text;
        list.GetOptionPrintersToTest(i, nullptr, nullptr, &value, &text);
        const QStringList parts = text.split(QLatin1Char('|'));
        out.push_back({parts.value(0), parts.value(1), static_cast<BYTE>(value & 0xFF)});
    }
    return out;
}

} // namespace

class DetectionTest : public ConnectTest {
protected:
    // Runs detection on COM1, accepting what it proposes; the message shown.
    QString Detect(int expectedResult, int answer = IDOK)
    {
        m_doc->Binding().SetPortName(QStringLiteral("COM1"));
        ScriptedUi ui;
        ui.Answer(answer);
        EXPECT_EQ(m_view->AutodetectPrinter(), expectedResult);
        EXPECT_EQ(m_view->Link().Serial(), nullptr);
        const QStringList texts = MessageTexts(ui);
        if (!ui.Prompts().empty()) {
            m_lastCaption = ui.Prompts().back().caption;
            m_lastFlags = ui.Prompts().back().flags;
        }
        return texts.isEmpty() ? QString() : texts.front();
    }

    QString m_lastCaption;
    UINT m_lastFlags = 0;
};

TEST(IdentificationTable, TakesTheLowByteOfEveryEntry)
{
    CLoadCfgPrnFile list;
    ASSERT_TRUE(list.LoadPublicCfgFile(testenv::ProgramDir() + QStringLiteral("PrnToTest.cfg")));
    const std::vector<BYTE> ids = IdentificationTable(list);
    const std::vector<ListedPrinter> printers = PrintersToTest();
    ASSERT_EQ(ids.size(), printers.size());
    for (size_t i = 0; i < ids.size(); ++i)
        EXPECT_EQ(ids[i], printers[i].id) << printers[i].model.toStdString();
    EXPECT_TRUE(IdentificationTable(CLoadCfgPrnFile()).empty());
}

TEST(DetectionMessage, NamesTheEcrVariantOnlyForEntry111AndSubModel2)
{
    EXPECT_EQ(DetectionMessage(QStringLiteral("WQWRFW0"), 111, 2),
              QStringLiteral("It was detected printer WQWRFW 0 ECR BDQG"));
    EXPECT_EQ(DetectionMessage(QStringLiteral("WQWRFW0"), 111, 1), QStringLiteral("It was detected printer WQWRFW0"));
    EXPECT_EQ(DetectionMessage(QStringLiteral("WGJ33"), 51, 2), QStringLiteral("It was detected printer WGJ33"));
    // Only the low byte identifies; the whole value marks the sub-model printer.
    EXPECT_EQ(DetectionMessage(QStringLiteral("X"), 111 + 256, 2), QStringLiteral("It was detected printer X"));
}

TEST_F(DetectionTest, EveryListedModelIsFoundByItsIdentificationByte)
{
    ASSERT_TRUE(OpenWhiteLogo(16, 16));
    const std::vector<ListedPrinter> printers = PrintersToTest();
    ASSERT_GE(printers.size(), 70u);
    for (const ListedPrinter& printer : printers) {
        StartPrinter(printer.model);
        m_view->Link().SetPrinterDetected(false);
        const QString message = Detect(1);
        if (printer.id != kSubModelEntryValue) {
            EXPECT_EQ(message, QStringLiteral("It was detected printer ") + printer.model);
        }
        EXPECT_EQ(m_doc->Binding().GetPrinterModel(), printer.model);
        EXPECT_EQ(m_doc->Binding().GetPrinterCfgFileName(), printer.cfgFile);
        EXPECT_TRUE(m_view->Link().IsPrinterDetected()) << printer.model.toStdString();
    }
}

TEST_F(DetectionTest, PrinterIsFoundAtEverySpeedItStartsAt)
{
    ASSERT_TRUE(OpenWhiteLogo(16, 16));
    for (const DWORD baud : prnproto::kDetectionOrder) {
        for (const char* model : {"WGJ33", "HVCZL98C"}) {
            StartPrinter(QString::fromLatin1(model), baud);
            EXPECT_EQ(Detect(1), QStringLiteral("It was detected printer ") + QString::fromLatin1(model)) << baud;
            EXPECT_EQ(m_doc->Binding().GetPrinterModel(), QString::fromLatin1(model)) << baud;
        }
    }
}

TEST_F(DetectionTest, SubModelTwoNamesTheEcrPrinter)
{
    ASSERT_TRUE(OpenWhiteLogo(16, 16));
    StartPrinter(QStringLiteral("WQWRFW0"), 9600, QString(), 2);
    EXPECT_EQ(Detect(1), QStringLiteral("It was detected printer WQWRFW 0 ECR BDQG"));
    EXPECT_EQ(m_doc->Binding().GetPrinterModel(), QStringLiteral("WQWRFW0"));
    for (const int other : {1, 0, 3}) {
        StartPrinter(QStringLiteral("WQWRFW0"), 19200, QString(), other);
        EXPECT_EQ(Detect(1), QStringLiteral("It was detected printer WQWRFW0")) << other;
    }
}

TEST_F(DetectionTest, TwoByteSubModelAnswerIsNotTheEcrPrinter)
{
    ASSERT_TRUE(OpenWhiteLogo(16, 16));
    // 02 00: only a one-byte answer names the sub-model.
    StartPrinter(QStringLiteral("WQWRFW0"), 9600, QString(), 2, 2);
    EXPECT_EQ(Detect(1), QStringLiteral("It was detected printer WQWRFW0"));
    StartPrinter(QStringLiteral("WQWRFW0"), 9600, QString(), 2, 1);
    EXPECT_EQ(Detect(1), QStringLiteral("It was detected printer WQWRFW 0 ECR BDQG"));
}

TEST_F(DetectionTest, CancelKeepsTheDetectedModelButNotTheFlag)
{
    ASSERT_TRUE(OpenWhiteLogo(16, 16));
    StartPrinter(QStringLiteral("QNND"));
    EXPECT_EQ(Detect(0, IDCANCEL), QStringLiteral("It was detected printer QNND"));
    EXPECT_EQ(m_lastCaption, LoadString(61446));
    EXPECT_EQ(m_lastFlags, UINT(MB_OKCANCEL | MB_ICONINFORMATION));
    EXPECT_EQ(m_doc->Binding().GetPrinterModel(), QStringLiteral("QNND"));
    EXPECT_EQ(m_doc->Binding().GetPrinterCfgFileName(), QStringLiteral("CfgFile\\QNND.cfg"));
    EXPECT_FALSE(m_view->Link().IsPrinterDetected());
}

TEST_F(DetectionTest, SilentPrinterIsReportedAndLeavesNoPortOpen)
{
    ASSERT_TRUE(OpenWhiteLogo(16, 16));
    StartPrinter(QStringLiteral("WGJ33"), 9600, QStringLiteral("silent"));
    m_doc->Binding().SetPortName(QStringLiteral("COM1"));
    ScriptedUi ui;
    ui.Answer(IDOK);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(m_view->AutodetectPrinter(), 0);
    EXPECT_LT(timer.elapsed(), 5000);
    ASSERT_EQ(ui.Prompts().size(), 1u);
    EXPECT_EQ(ui.Prompts()[0].text, QStringLiteral("Printer not ready or wrong com port selected"));
    EXPECT_EQ(ui.Prompts()[0].caption, QStringLiteral("Autodetect printer"));
    EXPECT_EQ(ui.Prompts()[0].icon(), UINT(MB_ICONSTOP));
    EXPECT_EQ(m_view->Link().Serial(), nullptr);
    EXPECT_EQ(m_doc->Binding().GetPrinterModel(), LoadString(61469));
    // The port is free again: another object can open it.
    StartPrinter(QStringLiteral("WGJ33"));
    EXPECT_EQ(Detect(1), QStringLiteral("It was detected printer WGJ33"));
}

TEST_F(DetectionTest, PortThatCannotBeOpenedEndsSilently)
{
    ASSERT_TRUE(OpenWhiteLogo(16, 16));
    m_doc->Binding().SetPortName(QStringLiteral("COM2"));
    ScriptedUi ui;
    EXPECT_EQ(m_view->AutodetectPrinter(), 0);
    EXPECT_TRUE(ui.Prompts().empty());
    EXPECT_EQ(m_doc->Binding().GetPortName(), LoadString(61454));
    EXPECT_EQ(m_view->Link().Serial(), nullptr);
}

TEST_F(DetectionTest, InitialisationHintComesBeforeThePortOpens)
{
    ASSERT_TRUE(OpenWhiteLogo(16, 16));
    StartPrinter(QStringLiteral("WGJ33"));
    for (const int wgj : {0, 1}) {
        m_view->Link().SetShowInitDialog(true);
        m_view->Link().SetWgjPrinter(wgj);
        m_doc->Binding().SetPortName(QStringLiteral("COM1"));
        ScriptedUi ui;
        ui.Answer(IDOK).Answer(IDOK);
        EXPECT_EQ(m_view->AutodetectPrinter(), 1);
        EXPECT_EQ(DialogClasses(ui),
                  QStringList{wgj ? QStringLiteral("CDialogInitDevice") : QStringLiteral("CDialogInitGenericPrn")});
    }
}
