// The port operations of the printer role against the virtual printer: the
// read time-out change, the sub-model query of a printer that stops
// answering, the USB printer choice, and the enabling rules of the printer
// commands.
#include "ConnectFixture.h"

#include "components/dialogs/DialogSelPrn.h"
#include "components/SComAm.h"
#include "components/UComAm.h"
#include "frame/MainFrame.h"
#include "frame/StatusPanes.h"
#include "platform/PostedMessage.h"
#include "printer/ViewPrinterRole.h"
#include "resources/StringTable.h"

#include "printer/ViewPanes.h"

#include <QElapsedTimer>
#include <QFocusEvent>

using namespace connecttest;
using testenv::ScriptedUi;

class PortsTest : public ConnectTest {
protected:
    // A serial object on COM1 opened with the model's configuration.
    void OpenSerial(const QString& model)
    {
        m_doc->Binding().SetPortName(QStringLiteral("COM1"));
        m_cfg.LoadPublicCfgFile(testenv::ProgramDir() + QStringLiteral("CfgFile/%1.cfg").arg(model));
        m_view->Link().MakeSerial();
        ASSERT_EQ(m_view->Link().OpenSerialPort(&m_cfg), 1);
        ASSERT_NE(m_view->Link().Serial(), nullptr);
    }
    void CloseSerial()
    {
        EXPECT_EQ(m_view->Link().CloseSerialPort(), 1);
        m_view->Link().DropSerial();
    }
    _CalcTimeout Timeouts() const
    {
        _CalcTimeout t;
        EXPECT_TRUE(m_view->Link().Serial()->GetCurrentTimeoutSystem(&t));
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
        m_doc->Binding().SetPortName(QStringLiteral("COM1"));
        m_view->Link().MakeSerial();
        ASSERT_EQ(m_view->Link().OpenSerialPort(&list), 1);
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
    EXPECT_EQ(m_view->Link().OpenSerialPort(nullptr), 0); // no object
    m_doc->Binding().SetPortName(QStringLiteral("COM2"));
    m_view->Link().MakeSerial();
    EXPECT_EQ(m_view->Link().OpenSerialPort(m_doc->Binding().GetPrinterCfg()), 0);
    EXPECT_EQ(m_doc->Binding().GetPortName(), LoadString(61454));
    EXPECT_NE(m_view->Link().Serial(), nullptr); // the caller deletes it
    m_view->Link().DropSerial();
    EXPECT_EQ(m_view->Link().CloseSerialPort(), 0);
    EXPECT_EQ(m_view->Link().OpenParallelPort(), 0);
    EXPECT_EQ(m_view->Link().CloseParallelPort(), 0);
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
    ASSERT_EQ(m_view->Link().OpenUsbPrinter(), 1);
    ASSERT_EQ(rows.size(), 1); // USB002.. have no device here
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("USB001\t")));
    EXPECT_TRUE(rows[0].endsWith(QStringLiteral("0x7e"))) << rows[0].toStdString();
    EXPECT_EQ(m_view->Link().UsbPrinterName(), QStringLiteral("USB001"));
    ASSERT_NE(m_view->Link().Usb(), nullptr);
    m_view->Link().Usb()->SetTimeouts(500, 300);
    EXPECT_EQ(m_view->Link().Usb()->GetPrinterGSI(), 0x7E); // bound to the chosen printer
    EXPECT_EQ(m_view->Link().CloseUsbPrinter(), 1);
    EXPECT_EQ(m_view->Link().Usb(), nullptr);

    ScriptedUi cancel;
    cancel.Answer(IDCANCEL);
    EXPECT_EQ(m_view->Link().OpenUsbPrinter(), 0);
    EXPECT_EQ(m_view->Link().Usb(), nullptr);
}

TEST_F(PortsTest, UsbPrinterListWithoutPrintersCannotBeConfirmed)
{
    ASSERT_TRUE(OpenWhiteLogo(16, 16));
    // No printer behind the USB001 link.
    ScriptedUi ui;
    ui.Answer(IDOK);
    EXPECT_EQ(m_view->Link().OpenUsbPrinter(), 0);
    EXPECT_EQ(m_view->Link().Usb(), nullptr);
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
    m_view->Link().SetPortSelected(true);
    EXPECT_TRUE(enabled(ID_CHANGE_COM_PORT));

    for (const UINT id : {ID_PROGRAM_LOGO, ID_TEST_LOGO, ID_PRINT_LOGO}) {
        m_doc->Binding().SetPrinterModel(QStringLiteral("WGJ33"));
        m_doc->Binding().SetPortName(LoadString(61454));
        EXPECT_FALSE(enabled(id)) << id;
        m_doc->Binding().SetPortName(QStringLiteral("COM1"));
        EXPECT_TRUE(enabled(id)) << id;
        m_view->Link().SetRxhPrinter(true);
        EXPECT_EQ(enabled(id), id == ID_PROGRAM_LOGO) << id;
        m_view->Link().SetRxhPrinter(false);
    }
}

TEST_F(PortsTest, TestLogoIsOffForFiscalAndNoTestModels)
{
    ASSERT_TRUE(OpenWhiteLogo(16, 16));
    m_doc->Binding().SetPortName(QStringLiteral("COM1"));
    auto testEnabled = [&](const char* model) {
        m_doc->Binding().SetPrinterModel(QString::fromLatin1(model));
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
    QByteArray Registry() const override { return testenv::ClientRegistrySection(); }
};

TEST_F(ClientVariantPortsTest, EveryPrinterCommandIsOff)
{
    ASSERT_EQ(GetApp()->GetClientVariant(), 1u);
    ASSERT_TRUE(OpenWhiteLogo(16, 16));
    m_doc->Binding().SetPortName(QStringLiteral("COM1"));
    m_doc->Binding().SetPrinterModel(QStringLiteral("WGJ33"));
    m_view->Link().SetPortSelected(true);
    for (const UINT id : {ID_CONNECT_PRINTER, ID_CHANGE_COM_PORT, ID_PROGRAM_LOGO, ID_TEST_LOGO, ID_PRINT_LOGO}) {
        CCmdUI ui(id);
        EXPECT_TRUE(m_view->OnUpdateCommand(id, ui));
        EXPECT_FALSE(ui.enabled()) << id;
    }
}

TEST_F(PortsTest, ConnectNeedsALogoBitmap)
{
    CGlyphaneDoc doc{testenv::DocEnvironment()};
    CGlyphaneView view(&doc, GetAppHost());
    ASSERT_EQ(doc.Picture().GetLogoBitmap(), nullptr);
    CCmdUI ui(ID_CONNECT_PRINTER);
    EXPECT_TRUE(view.OnUpdateCommand(ID_CONNECT_PRINTER, ui));
    EXPECT_FALSE(ui.enabled());
}

TEST_F(PortsTest, PortStatusMessagesSetThePortPane)
{
    const auto portPane = [] { return GetApp()->GetMainFrame()->PaneText(ID_PANE_PORT); };
    ASSERT_TRUE(OpenWhiteLogo(16, 16));
    StartPrinter(QStringLiteral("WGJ33"));
    OpenSerial(QStringLiteral("WGJ33"));
    QCoreApplication::processEvents(); // the posted WM_PORT_STATUS 1
    const QString settings = m_view->Link().Serial()->Get_m_strSerConfig();
    EXPECT_TRUE(settings.startsWith(QStringLiteral("COM1 "))) << settings.toStdString();
    EXPECT_EQ(portPane(), settings) << "an open serial port shows its settings";

    EXPECT_EQ(m_view->Link().CloseSerialPort(), 1);
    QCoreApplication::processEvents(); // WM_PORT_STATUS 0
    EXPECT_EQ(portPane(), QStringLiteral("COM1")) << "a closed port shows the document's port name";

    // An open message without a serial object names the port too.
    m_view->Link().DropSerial();
    PostMessage(m_view, WM_PORT_STATUS, 0, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(portPane(), QStringLiteral("COM1"));
}

TEST_F(PortsTest, FocusShowsTheSerialSettingsWhileASerialPortIsOpen)
{
    const auto portPane = [] { return GetApp()->GetMainFrame()->PaneText(ID_PANE_PORT); };
    ASSERT_TRUE(OpenWhiteLogo(16, 16));
    StartPrinter(QStringLiteral("WGJ33"));
    OpenSerial(QStringLiteral("WGJ33"));
    QCoreApplication::processEvents();
    const QString settings = m_view->Link().Serial()->Get_m_strSerConfig();
    ASSERT_EQ(portPane(), settings);

    // Something else set the pane meanwhile (another logo window had focus).
    viewpanes::SetPortPane(GetAppHost(), QStringLiteral("LPT1"));
    QFocusEvent focusIn(QEvent::FocusIn, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(m_view, &focusIn);
    EXPECT_EQ(portPane(), settings) << "focus keeps the rule of the port status message";

    CloseSerial();
    QCoreApplication::processEvents();
    viewpanes::SetPortPane(GetAppHost(), QStringLiteral("LPT1"));
    QCoreApplication::sendEvent(m_view, &focusIn);
    EXPECT_EQ(portPane(), QStringLiteral("COM1")) << "without a serial port, the document's port name";
}
