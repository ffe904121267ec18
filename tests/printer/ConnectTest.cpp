// "Connect to the Printer" and "Change Com. Port" on the real view: the
// serial, parallel and USB branches, the common end and the port choice.
#include "ConnectFixture.h"

#include "frame/MainFrame.h"
#include "frame/StatusPanes.h"
#include "printer/ViewPrinterRole.h"
#include "resources/StringTable.h"
#include "printer/ViewPanes.h"

#include <QAbstractButton>
#include <QTest>

using namespace connecttest;
using testenv::ScriptedUi;

namespace {

ScriptedUi::Step PlaceImage(int position)
{
    return [position](CUiPrompt& p, QDialog* d) {
        EXPECT_EQ(p.dialogClass, QStringLiteral("CImagePositionDlg"));
        // Control ids of Center, Left, Stretch, Tile and Resize.
        constexpr int kIds[] = {1025, 1026, 1027, 1028, 1030};
        auto* button = d ? d->findChild<QAbstractButton*>(QString::number(kIds[position])) : nullptr;
        if (button)
            button->setChecked(true);
        p.result = IDOK;
    };
}

} // namespace

TEST_F(ConnectTest, Wgj33AnswerYesBindsItWithoutDetectionAndResizes)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 32));
    m_doc->Binding().SetWgj33(1);
    ScriptedUi ui;
    ui.Then(ChoosePort(QStringLiteral("COM1"))).Answer(IDYES).Then(PlaceImage(0));
    m_view->OnCommand(ID_CONNECT_PRINTER);
    EXPECT_EQ(ui.Pending(), 0u);
    ASSERT_EQ(MessageTexts(ui), QStringList{QStringLiteral("Your printer is a Wgj33 ?")});
    const CUiPrompt& question = ui.Prompts()[1];
    EXPECT_EQ(question.caption, LoadString(61446));
    EXPECT_EQ(question.flags, UINT(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(m_doc->Binding().GetPrinterModel(), QStringLiteral("WGJ33"));
    EXPECT_EQ(m_doc->Binding().GetPrinterCfgFileName(), QStringLiteral("CfgFile\\WGJ33.cfg"));
    EXPECT_EQ(m_doc->Binding().GetPortName(), QStringLiteral("COM1"));
    EXPECT_EQ(m_doc->Binding().GetNumLogos(), 2);
    EXPECT_EQ(m_doc->Binding().GetGsiModel(), 51);
    EXPECT_EQ(m_doc->Picture().GetLogoWidth(), 576);
    EXPECT_EQ(m_doc->Picture().GetLogoHeight(), 240);
    EXPECT_TRUE(m_view->Link().IsPortSelected());
    EXPECT_FALSE(m_view->Link().IsPrinterDetected());
    EXPECT_EQ(viewpanes::LastTexts().printer, QStringLiteral("WGJ33"));
    EXPECT_EQ(viewpanes::LastTexts().port, QStringLiteral("COM1"));
    CMainFrame* frame = GetApp()->GetMainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->PaneText(ID_PANE_PRINTER).contains(QStringLiteral("WGJ33")));
    EXPECT_TRUE(frame->PaneText(ID_PANE_PORT).contains(QStringLiteral("COM1")));
}

TEST_F(ConnectTest, UndoAfterAResizeOnConnectCannotBringBackTheOldSize)
{
    ASSERT_TRUE(OpenWhiteLogo(100, 50));
    ASSERT_TRUE(m_view->OnCommand(ID_TOOL_PEN));
    QWidget* viewport = m_view->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseMove(viewport, QPoint(20, 5));
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(20, 5));
    ASSERT_EQ(m_view->Surfaces().UndoCount(), 1);
    ASSERT_EQ(m_view->Surfaces().Undo().image().size(), QSize(100, 50));

    m_doc->Binding().SetWgj33(1);
    ScriptedUi ui;
    ui.Then(ChoosePort(QStringLiteral("COM1"))).Answer(IDYES).Then(PlaceImage(0));
    m_view->OnCommand(ID_CONNECT_PRINTER);
    ASSERT_EQ(m_doc->Picture().GetLogoWidth(), 576);
    const QImage centred = *m_doc->Picture().GetLogoBitmap();
    ASSERT_EQ(centred.pixel(238 + 10, 95 + 5), 0xFF000000u) << "the stroke, centred";

    EXPECT_EQ(m_view->Surfaces().UndoCount(), 0);
    EXPECT_TRUE(m_view->Surfaces().Undo().IsNull()) << "a fresh undo surface";
    EXPECT_TRUE(m_view->Magnifier().Surface().IsNull()) << "a fresh magnifier surface";
    CCmdUI state(ID_EDIT_UNDO);
    m_view->OnUpdateCommand(ID_EDIT_UNDO, state);
    EXPECT_FALSE(state.enabled()) << "nothing to undo across the resize";
    m_view->OnCommand(ID_EDIT_UNDO);
    EXPECT_EQ(*m_doc->Picture().GetLogoBitmap(), centred) << "the old 100 x 50 copy is never blitted over the logo";
}

TEST_F(ConnectTest, ImageOfThePrinterSizeIsOnlyRedrawn)
{
    ASSERT_TRUE(OpenWhiteLogo(576, 240));
    m_doc->Binding().SetWgj33(1);
    ScriptedUi ui;
    ui.Then(ChoosePort(QStringLiteral("COM1"))).Answer(IDYES);
    m_view->OnCommand(ID_CONNECT_PRINTER);
    EXPECT_EQ(ui.Pending(), 0u);
    EXPECT_EQ(DialogClasses(ui), QStringList{QStringLiteral("CDiaologSelectComPort")});
    EXPECT_EQ(m_doc->Binding().GetPrinterModel(), QStringLiteral("WGJ33"));
}

TEST_F(ConnectTest, DetectionThenASecondConnectFindsTheStoredFile)
{
    StartPrinter(QStringLiteral("WGJ33"));
    ASSERT_TRUE(OpenWhiteLogo(576, 240));
    for (int round = 0; round < 2; ++round) {
        ScriptedUi ui;
        ui.Then(ChoosePort(QStringLiteral("COM1"))).Answer(IDOK);
        m_view->OnCommand(ID_CONNECT_PRINTER);
        EXPECT_EQ(ui.Pending(), 0u) << round;
        EXPECT_EQ(MessageTexts(ui), QStringList{QStringLiteral("It was detected printer WGJ33")}) << round;
        EXPECT_EQ(m_doc->Binding().GetPrinterCfgFileName(), QStringLiteral("CfgFile\\WGJ33.cfg"));
        EXPECT_EQ(m_doc->Binding().GetGsiModel(), 51) << round;
        EXPECT_TRUE(m_view->Link().IsPrinterDetected());
        EXPECT_EQ(m_view->Link().Serial(), nullptr);
        // The model's values show the configuration really was loaded again.
        m_doc->Binding().SetNumLogos(0);
    }
}

TEST_F(ConnectTest, SilentPrinterFallsBackToThePortAndThePrinterList)
{
    StartPrinter(QStringLiteral("WGJ33"), 9600, QStringLiteral("silent"));
    ASSERT_TRUE(OpenWhiteLogo(576, 240));
    m_view->Link().SetPrinterDetected(true);
    ScriptedUi ui;
    ui.Then(ChoosePort(QStringLiteral("COM1")))
        .Answer(IDOK)
        .Then(ChoosePort(QStringLiteral("COM1")))
        .Then(ChoosePrinter(QStringLiteral("QNND")));
    m_view->OnCommand(ID_CONNECT_PRINTER);
    EXPECT_EQ(ui.Pending(), 0u);
    EXPECT_EQ(MessageTexts(ui), QStringList{QStringLiteral("Printer not ready or wrong com port selected")});
    EXPECT_EQ(m_doc->Binding().GetPrinterModel(), QStringLiteral("QNND"));
    EXPECT_EQ(m_doc->Binding().GetPrinterCfgFileName(), QStringLiteral("CfgFile\\QNND.cfg"));
    EXPECT_FALSE(m_view->Link().IsPrinterDetected());
}

TEST_F(ConnectTest, CancelledPortChoiceOrPrinterListEndsConnect)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 32));
    {
        ScriptedUi ui;
        ui.Answer(IDCANCEL);
        m_view->OnCommand(ID_CONNECT_PRINTER);
        EXPECT_FALSE(m_view->Link().IsPortSelected());
    }
    // No printer on COM2's device: detection ends silently, then the list is cancelled.
    ScriptedUi ui;
    ui.Then(ChoosePort(QStringLiteral("COM2"))).Then(ChoosePort(QStringLiteral("COM1"))).Answer(IDCANCEL);
    m_view->OnCommand(ID_CONNECT_PRINTER);
    EXPECT_EQ(ui.Pending(), 0u);
    EXPECT_TRUE(MessageTexts(ui).isEmpty());
    EXPECT_EQ(m_doc->Binding().GetPrinterModel(), LoadString(61469));
    EXPECT_EQ(m_doc->Picture().GetLogoWidth(), 64);
}

TEST_F(ConnectTest, ParallelPortRepeatsThePrinterChoiceUntilOneHasLpt)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 32));
    BindDocumentTo(QStringLiteral("QNND")); // has a parallel interface, so LPT ports are offered
    ScriptedUi ui;
    ui.Then(ChoosePort(QStringLiteral("LPT1")))
        .Then(ChoosePrinter(QStringLiteral("WGJ33")))
        .Answer(IDOK)
        .Then(ChoosePrinter(QStringLiteral("QNND")))
        .Then(PlaceImage(2));
    m_view->OnCommand(ID_CONNECT_PRINTER);
    EXPECT_EQ(ui.Pending(), 0u);
    EXPECT_EQ(MessageTexts(ui), QStringList{QStringLiteral("The printer WGJ33 doesn't support LPT Com Port")});
    EXPECT_EQ(m_doc->Binding().GetPortName(), QStringLiteral("LPT1"));
    EXPECT_EQ(m_doc->Binding().GetPrinterModel(), QStringLiteral("QNND"));
    EXPECT_EQ(m_doc->Picture().GetLogoWidth(), 576);
    EXPECT_EQ(m_doc->Picture().GetLogoHeight(), 240);
}

TEST_F(ConnectTest, UsbModelMissingFromThePrinterListEndsConnect)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 32));
    BindDocumentTo(QStringLiteral("BDQGMLW")); // USB ports are offered
    m_doc->Binding().SetPrinterModel(QStringLiteral("NOTLISTED"));
    viewpanes::SetPrinterPane(GetAppHost(), QStringLiteral("before"));
    ScriptedUi ui;
    ui.Then(ChoosePort(QStringLiteral("USB001")));
    m_view->OnCommand(ID_CONNECT_PRINTER);
    EXPECT_EQ(ui.Pending(), 0u);
    EXPECT_EQ(ui.Prompts().size(), 1u);
    EXPECT_EQ(m_doc->Binding().GetPortName(), QStringLiteral("USB001"));
    EXPECT_EQ(m_doc->Binding().GetPrinterModel(), QStringLiteral("NOTLISTED"));
    EXPECT_EQ(viewpanes::LastTexts().printer, QStringLiteral("before"));
}

TEST_F(ConnectTest, UsbBitmapModelKeepsASmallerImageAndNeverAsksForAPlacement)
{
    for (const int width : {200, 500}) {
        ASSERT_TRUE(OpenWhiteLogo(width, 100));
        BindDocumentTo(QStringLiteral("BDQGMLW"));
        m_doc->Binding().SetPrinterModel(LoadString(61469));
        ScriptedUi ui;
        ui.Then(ChoosePort(QStringLiteral("USB001"))).Then(ChoosePrinter(QStringLiteral("BDQGMLW")));
        m_view->OnCommand(ID_CONNECT_PRINTER);
        EXPECT_EQ(ui.Pending(), 0u);
        EXPECT_EQ(ui.Prompts().size(), 2u) << width;
        EXPECT_EQ(m_doc->Binding().GetPrinterModel(), QStringLiteral("BDQGMLW"));
        EXPECT_EQ(m_doc->Binding().GetDotX(), width < 384 ? width : 384) << width;
        EXPECT_EQ(m_doc->Binding().GetDotY(), 100);
        EXPECT_EQ(m_doc->Picture().GetLogoWidth(), width); // the image itself is left alone
    }
}

TEST_F(ConnectTest, UsbPortForAPrinterWithoutUsbReportsIt)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 32));
    BindDocumentTo(QStringLiteral("BDQGMLW"));
    m_doc->Binding().SetPrinterModel(QStringLiteral("WGJ33"));
    ScriptedUi ui;
    ui.Then(ChoosePort(QStringLiteral("USB001"))).Answer(IDOK);
    m_view->OnCommand(ID_CONNECT_PRINTER);
    EXPECT_EQ(ui.Pending(), 0u);
    EXPECT_EQ(MessageTexts(ui), QStringList{QStringLiteral("The printer WGJ33 doesn't support USB Com Port")});
    EXPECT_EQ(m_doc->Picture().GetLogoWidth(), 64);
}

TEST_F(ConnectTest, Vd8ChangesPortToUsbWithoutAsking)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 32));
    BindDocumentTo(QStringLiteral("VD8"));
    m_doc->SetDrawMode(10);
    m_view->Link().SetLogoInRam(true);
    ScriptedUi ui;
    m_view->OnCommand(ID_CHANGE_COM_PORT);
    EXPECT_TRUE(ui.Prompts().empty());
    EXPECT_EQ(m_doc->Binding().GetPortName(), QStringLiteral("USB"));
    EXPECT_EQ(viewpanes::LastTexts().port, QStringLiteral("USB"));
    EXPECT_TRUE(m_view->Link().IsPortSelected());
    EXPECT_FALSE(m_view->Link().IsLogoInRam());
    EXPECT_EQ(m_doc->GetDrawMode(), 0);
}

TEST_F(ConnectTest, PortChoiceOffersLptAndUsbOnlyWhenThePrinterHasThem)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 32));
    struct Case {
        const char* model;
        bool lpt;
        bool usb;
    };
    for (const Case& c : {Case{"WGJ33", false, false}, Case{"QNND", true, false}, Case{"J4", true, true},
                          Case{"BDQGMLW", false, true}}) {
        BindDocumentTo(QString::fromLatin1(c.model));
        QStringList offered;
        ScriptedUi ui;
        ui.Then([&](CUiPrompt& p, QDialog* d) {
            auto* dlg = qobject_cast<CDiaologSelectComPort*>(d);
            ASSERT_NE(dlg, nullptr);
            for (int i = 0; i < dlg->List()->topLevelItemCount(); ++i)
                offered << dlg->List()->topLevelItem(i)->text(0);
            p.result = IDCANCEL;
        });
        EXPECT_EQ(m_view->SelectPrinterPort(), 0);
        EXPECT_TRUE(offered.contains(QStringLiteral("COM1"))) << c.model;
        EXPECT_EQ(offered.contains(QStringLiteral("LPT1")), c.lpt) << c.model;
        EXPECT_EQ(offered.contains(QStringLiteral("USB001")), c.usb) << c.model;
    }
}
