// The port operations of the printer role against the virtual printer: the
// read time-out change, the sub-model query of a printer that stops
// answering, the USB printer choice, and the enabling rules of the printer
// commands.
#include "ConnectFixture.h"

#include "components/DialogSelPrn.h"
#include "components/SComAm.h"
#include "components/UComAm.h"
#include "printer/ViewPrinterRole.h"
#include "resources/StringTable.h"

#include <QElapsedTimer>

using namespace connecttest;
using testenv::ScriptedUi;

class PortsTest : public ConnectTest {
protected:
    // A serial object on COM1 opened with the model's configuration.
    void OpenSerial(const QString& model)
    {
        m_doc->SetPortName(QStringLiteral("COM1"));
        m_cfg.LoadPublicCfgFile(testenv::ProgramDir() + QStringLiteral("CfgFile/%1.cfg").arg(model));
        m_view->m_pSerialPrn = new CsComAm();
        ASSERT_EQ(m_view->OpenSerialPort(&m_cfg), 1);
        ASSERT_NE(m_view->m_pSerialPrn, nullptr);
    }
    void CloseSerial()
    {
        EXPECT_EQ(m_view->CloseSerialPort(), 1);
        delete m_view->m_pSerialPrn;
        m_view->m_pSerialPrn = nullptr;
    }
    _CalcTimeout Timeouts() const
    {
        _CalcTimeout t;
        EXPECT_TRUE(m_view->m_pSerialPrn->GetCurrentTimeoutSystem(&t));
        return t;
    }

    CLoadCfgPrnFile m_cfg;
};

TEST_F(PortsTest, ReadTimeoutIsChangedAndRestored)
{
    ASSERT_TRUE(OpenWhiteLogo(16, 16));
    EXPECT_EQ(m_view->SetReadTimeout(500), 0); // no port object
    EXPECT_EQ(m_view->RestoreTimeouts(), 0);
    StartPrinter(QStringLiteral("WGJ33"));
    OpenSerial(QStringLiteral("WGJ33"));
    const _CalcTimeout before = Timeouts();
    ASSERT_EQ(m_view->SetReadTimeout(1234), 1);
    const _CalcTimeout changed = Timeouts();
    EXPECT_EQ(changed.ReadIntervalTimeout, before.ReadIntervalTimeout);
    EXPECT_EQ(changed.ReadTotalTimeoutMultiplier, before.ReadTotalTimeoutMultiplier);
    EXPECT_EQ(changed.ReadTotalTimeoutConstant, 1234u);
    EXPECT_EQ(changed.WriteTotalTimeoutMultiplier, 1u);
    EXPECT_EQ(changed.WriteTotalTimeoutConstant, before.WriteTotalTimeoutConstant);
    ASSERT_EQ(m_view->RestoreTimeouts(), 1);
    const _CalcTimeout after = Timeouts();
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(const_cast<_CalcTimeout&>(after).Value(i), const_cast<_CalcTimeout&>(before).Value(i)) << i;
    CloseSerial();
}

TEST_F(PortsTest, SubModelOfAnAnsweringPrinter)
{
    ASSERT_TRUE(OpenWhiteLogo(16, 16));
    StartPrinter(QStringLiteral("WQWRFW0"), 9600, QString(), 2);
    OpenSerial(QStringLiteral("WQWRFW0"));
    EXPECT_EQ(m_view->QuerySubModel(), 2);
    CloseSerial();
    // A configuration without "Csubmodel" sends nothing and gives 1.
    StartPrinter(QStringLiteral("WQWRFW0"), 9600, QString(), 2);
    OpenSerial(QStringLiteral("WGJ33"));
    EXPECT_EQ(m_view->QuerySubModel(), 1);
    CloseSerial();
}

TEST_F(PortsTest, PrinterSilentMidCallFailsWithinItsTimeout)
{
    ASSERT_TRUE(OpenWhiteLogo(16, 16));
    CLoadCfgPrnFile list;
    ASSERT_TRUE(list.LoadPublicCfgFile(testenv::ProgramDir() + QStringLiteral("PrnToTest.cfg")));
    for (const char* fault : {"silent", "disconnect-after=2"}) {
        StartPrinter(QStringLiteral("WQWRFW0"), 9600, QString::fromLatin1(fault), 2);
        m_doc->SetPortName(QStringLiteral("COM1"));
        m_view->m_pSerialPrn = new CsComAm();
        ASSERT_EQ(m_view->OpenSerialPort(&list), 1);
        QElapsedTimer timer;
        timer.start();
        EXPECT_EQ(m_view->QuerySubModel(), 1) << fault;
        // The query's own read time-out is one second.
        EXPECT_LT(timer.elapsed(), 1600) << fault;
        EXPECT_EQ(Timeouts().ReadTotalTimeoutConstant, _CalcTimeout().ReadTotalTimeoutConstant);
        CloseSerial();
    }
}

TEST_F(PortsTest, SerialPortThatCannotBeOpenedIsMarkedNotInit)
{
    ASSERT_TRUE(OpenWhiteLogo(16, 16));
    EXPECT_EQ(m_view->OpenSerialPort(nullptr), 0); // no object
    m_doc->SetPortName(QStringLiteral("COM2"));
    m_view->m_pSerialPrn = new CsComAm();
    EXPECT_EQ(m_view->OpenSerialPort(m_doc->GetPrinterCfg()), 0);
    EXPECT_EQ(m_doc->GetPortName(), LoadString(61454));
    EXPECT_NE(m_view->m_pSerialPrn, nullptr); // the caller deletes it
    delete m_view->m_pSerialPrn;
    m_view->m_pSerialPrn = nullptr;
    EXPECT_EQ(m_view->CloseSerialPort(), 0);
    EXPECT_EQ(m_view->OpenParallelPort(), 0);
    EXPECT_EQ(m_view->CloseParallelPort(), 0);
}

TEST_F(PortsTest, UsbPrinterListShowsPresentDevicesWithTheirIdentification)
{
    ASSERT_TRUE(OpenWhiteLogo(16, 16));
    StartPrinter(QStringLiteral("BDQGMLW"));
    QStringList rows;
    ScriptedUi ui;
    ui.Then([&](CUiPrompt& p, QDialog* d) {
        auto* dlg = qobject_cast<CDialogSelPrn*>(d);
        ASSERT_NE(dlg, nullptr);
        for (int i = 0; i < dlg->List()->count(); ++i)
            rows << dlg->List()->item(i)->text();
        p.result = IDOK;
    });
    ASSERT_EQ(m_view->OpenUsbPrinter(), 1);
    ASSERT_EQ(rows.size(), 1); // USB002.. have no device here
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("USB001\t")));
    EXPECT_TRUE(rows[0].endsWith(QStringLiteral("0x7e"))) << rows[0].toStdString();
    EXPECT_EQ(m_view->m_strUsbPrinter, QStringLiteral("USB001"));
    ASSERT_NE(m_view->m_pUsbPrn, nullptr);
    m_view->m_pUsbPrn->SetTimeouts(500, 300);
    EXPECT_EQ(m_view->m_pUsbPrn->GetPrinterGSI(), 0x7E); // bound to the chosen printer
    EXPECT_EQ(m_view->CloseUsbPrinter(), 1);
    EXPECT_EQ(m_view->m_pUsbPrn, nullptr);

    ScriptedUi cancel;
    cancel.Answer(IDCANCEL);
    EXPECT_EQ(m_view->OpenUsbPrinter(), 0);
    EXPECT_EQ(m_view->m_pUsbPrn, nullptr);
}

TEST_F(PortsTest, UsbPrinterListWithoutPrintersCannotBeConfirmed)
{
    ASSERT_TRUE(OpenWhiteLogo(16, 16));
    // No printer behind the USB001 link.
    ScriptedUi ui;
    ui.Answer(IDOK);
    EXPECT_EQ(m_view->OpenUsbPrinter(), 0);
    EXPECT_EQ(m_view->m_pUsbPrn, nullptr);
    CDialogSelPrn dialog(nullptr, 0);
    EXPECT_TRUE(dialog.Get_m_strPrnSelected().isEmpty());
    EXPECT_EQ(CDialogSelPrn::IdentificationText(0xFF), QStringLiteral("no answer"));
    EXPECT_EQ(CDialogSelPrn::IdentificationText(0x33), QStringLiteral("0x33"));
}

// --- enabling rules ------------------------------------------------------------

TEST_F(PortsTest, PortCommandsNeedAUsablePort)
{
    ASSERT_TRUE(OpenWhiteLogo(16, 16));
    auto enabled = [&](UINT id) {
        CCmdUI ui(id);
        EXPECT_TRUE(m_view->OnUpdateCommand(id, ui)) << id;
        return ui.enabled();
    };
    EXPECT_TRUE(enabled(ID_CONNECT_PRINTER));
    EXPECT_FALSE(enabled(ID_CHANGE_COM_PORT));
    m_view->m_bPortSelected = 1;
    EXPECT_TRUE(enabled(ID_CHANGE_COM_PORT));

    for (const UINT id : {ID_PROGRAM_LOGO, ID_TEST_LOGO, ID_PRINT_LOGO}) {
        m_doc->SetPrinterModel(QStringLiteral("WGJ33"));
        m_doc->SetPortName(LoadString(61454));
        EXPECT_FALSE(enabled(id)) << id;
        m_doc->SetPortName(QStringLiteral("COM1"));
        EXPECT_TRUE(enabled(id)) << id;
        m_view->m_bRxhPrinter = 1;
        EXPECT_EQ(enabled(id), id == ID_PROGRAM_LOGO) << id;
        m_view->m_bRxhPrinter = 0;
    }
}

TEST_F(PortsTest, TestLogoIsOffForFiscalAndNoTestModels)
{
    ASSERT_TRUE(OpenWhiteLogo(16, 16));
    m_doc->SetPortName(QStringLiteral("COM1"));
    auto testEnabled = [&](const char* model) {
        m_doc->SetPrinterModel(QString::fromLatin1(model));
        CCmdUI ui(ID_TEST_LOGO);
        m_view->OnUpdateCommand(ID_TEST_LOGO, ui);
        CCmdUI print(ID_PRINT_LOGO);
        m_view->OnUpdateCommand(ID_PRINT_LOGO, print);
        EXPECT_TRUE(print.enabled()) << model;
        return ui.enabled();
    };
    for (const char* off : {"MLQDGGQF", "WQWRFW0", "GVF", "GVF-Z", "VV121", "DN60-HNLN", "GVGVFQVC", "XNZ11",
                            "BDQGMLW", "GB6853RJ", "HVCZL98C", "jmq9534", "J4", "VD8", "FQ054-07", "JMQ9534"})
        EXPECT_FALSE(testEnabled(off)) << off;
    for (const char* on : {"WGJ33", "QNND", "BDQGX", "J45", "MZVZV", "CV292", "Printer not selected"})
        EXPECT_TRUE(testEnabled(on)) << on;
}

class ClientVariantPortsTest : public PortsTest {
protected:
    QByteArray Registry() const override
    {
        QByteArray registry = testenv::DefaultRegistrySection();
        registry.replace("Customer=0", "Customer=1");
        return registry;
    }
};

TEST_F(ClientVariantPortsTest, EveryPrinterCommandIsOff)
{
    ASSERT_EQ(GetApp()->GetClientVariant(), 1u);
    ASSERT_TRUE(OpenWhiteLogo(16, 16));
    m_doc->SetPortName(QStringLiteral("COM1"));
    m_doc->SetPrinterModel(QStringLiteral("WGJ33"));
    m_view->m_bPortSelected = 1;
    for (const UINT id : {ID_CONNECT_PRINTER, ID_CHANGE_COM_PORT, ID_PROGRAM_LOGO, ID_TEST_LOGO, ID_PRINT_LOGO}) {
        CCmdUI ui(id);
        EXPECT_TRUE(m_view->OnUpdateCommand(id, ui));
        EXPECT_FALSE(ui.enabled()) << id;
    }
}

TEST_F(PortsTest, ConnectNeedsALogoBitmap)
{
    CGlyphaneDoc doc;
    CGlyphaneView view(&doc);
    ASSERT_EQ(doc.GetLogoBitmap(), nullptr);
    CCmdUI ui(ID_CONNECT_PRINTER);
    EXPECT_TRUE(view.OnUpdateCommand(ID_CONNECT_PRINTER, ui));
    EXPECT_FALSE(ui.enabled());
}
