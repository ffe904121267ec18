// The ready-made dialogs: the port choice, the initialisation hints and the
// two modeless waiting boxes.
#include "components/dialogs/InitDeviceDlg.h"
#include "components/dialogs/MessageDlg.h"
#include "components/PortNames.h"
#include "components/dialogs/SelectComPortDlg.h"
#include "platform/PostedMessage.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QTreeWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryFile>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A settings file with a port map: COM1 on an existing file, the rest absent.
QByteArray PortsSection(const QString& presentDevice)
{
    return QByteArray("[Ports]\nCOM10=/dev/nonexistent-10\nCOM2=/dev/nonexistent-2\nCOM1=") + presentDevice.toUtf8()
           + "\nLPT1=/dev/nonexistent-lp0\nUSB001=/dev/nonexistent-usb0\n";
}

// Each row as its three cells joined by " | ".
QStringList Rows(const QTreeWidget* list)
{
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QStringList cells;
        for (int column = 0; column < list->columnCount(); ++column)
            cells << list->topLevelItem(i)->text(column);
        rows.append(cells.join(QStringLiteral(" | ")));
    }
    return rows;
}

} // namespace

TEST(PortNames, KindsAndOrder)
{
    EXPECT_EQ(PortKindOf("COM3"), PortKind::Serial);
    EXPECT_EQ(PortKindOf("LPT1"), PortKind::Parallel);
    EXPECT_EQ(PortKindOf("USB001"), PortKind::Usb);
    EXPECT_EQ(PortKindOf("Comunication port not init"), PortKind::Usb) << "only the upper-case names count";

    testenv::ScopedSettingsFile settings(PortsSection("/dev/null"));
    EXPECT_EQ(ConfiguredPortNames(), (QStringList{"COM1", "COM2", "COM10", "LPT1", "USB001"}));
    EXPECT_EQ(PortDevice("COM1"), "/dev/null");
    EXPECT_EQ(PortDevice("COM99"), "");
}

TEST(SelectComPort, OffersParallelAndUsbOnlyWhenAllowedAndReturnsTheName)
{
    testenv::ScopedSettingsFile settings(PortsSection("/dev/null"));
    QStringList shown;
    testenv::ScriptedUi ui;
    ui.Then([&](CUiPrompt& p, QDialog* d) {
        auto* list = d->findChild<QTreeWidget*>("ports");
        ASSERT_NE(list, nullptr);
        shown = Rows(list);
        EXPECT_EQ(list->indexOfTopLevelItem(list->currentItem()), 1) << "the current port is preselected";
        // Three real columns under their headings, each wide enough for its cells.
        EXPECT_EQ(list->headerItem()->text(0), "Port");
        EXPECT_EQ(list->headerItem()->text(1), "Device");
        EXPECT_EQ(list->headerItem()->text(2), "Present");
        EXPECT_FALSE(list->isHeaderHidden());
        const QFontMetrics metrics(list->font());
        for (int column = 0; column < 2; ++column)
            EXPECT_GT(list->columnWidth(column), metrics.horizontalAdvance(list->topLevelItem(1)->text(column)))
                << column;
        list->setCurrentItem(list->topLevelItem(0));
        p.result = IDOK;
    });
    CDiaologSelectComPort serialOnly(nullptr, "COM2", 0);
    ASSERT_EQ(serialOnly.DoModal(), IDOK);
    EXPECT_EQ(serialOnly.GetComPort(), "COM1");
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[0], "COM1 | /dev/null | present");
    EXPECT_EQ(shown[1], "COM2 | /dev/nonexistent-2 | absent");
    EXPECT_EQ(shown[2], "COM10 | /dev/nonexistent-10 | absent");

    ui.Then([&](CUiPrompt& p, QDialog* d) {
        shown = Rows(d->findChild<QTreeWidget*>("ports"));
        p.result = IDCANCEL;
    });
    CDiaologSelectComPort all(nullptr, "COM1", 1);
    all.m_bUsbEnabled = true;
    EXPECT_EQ(all.DoModal(), IDCANCEL);
    EXPECT_EQ(shown.size(), 5);
    EXPECT_EQ(shown[3], "LPT1 | /dev/nonexistent-lp0 | absent");
    EXPECT_EQ(shown.last(), "USB001 | /dev/nonexistent-usb0 | absent");
    EXPECT_TRUE(all.GetComPort().isEmpty());
}

TEST(InitHints, DoNotShowAgainClearsTheFlag)
{
    int flag = 1;
    testenv::ScriptedUi ui;
    ui.Then([](CUiPrompt& p, QDialog* d) { p.result = IDOK; (void)d; });
    CDialogInitGenericPrn keep(nullptr, &flag);
    keep.DoModal();
    EXPECT_EQ(flag, 1);

    ui.Then([](CUiPrompt& p, QDialog* d) {
        d->findChild<QCheckBox*>()->setChecked(true);
        p.result = IDOK;
    });
    CDialogInitDevice clear(nullptr, &flag);
    clear.DoModal();
    EXPECT_EQ(flag, 0);
}

namespace {
class ParentWidget : public CMessageReceiver<QWidget> {
public:
    LPARAM OnPostedMessage(UINT msg, WPARAM, LPARAM) override
    {
        received.append(msg);
        return 0;
    }
    QList<UINT> received;
};
} // namespace

TEST(ThreadStatus, StepsAndStopPostsItsMessage)
{
    ParentWidget parent;
    CDialogThreadStatus box(&parent, "Please wait: sending operation in progress...", "Send logo to printer", 3028);
    box.Create();
    box.InitPcThread(0, 3, 1, 0);
    box.StepIt();
    box.StepIt();
    EXPECT_EQ(box.Progress()->value(), 2);
    EXPECT_EQ(box.Progress()->maximum(), 3);
    QTest::mouseClick(box.findChild<QPushButton*>("stop"), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(parent.received, QList<UINT>{3028});
    EXPECT_TRUE(box.isVisible()) << "the caller closes the box when the worker has stopped";
}

TEST(MessageBox, ModelessBoxShowsWithoutWaiting)
{
    CDialogMessage box(nullptr, "Autodetect printer", "Please wait...");
    box.Create();
    EXPECT_TRUE(box.isVisible());
    EXPECT_FALSE(box.isModal());
    EXPECT_EQ(box.windowTitle(), "Please wait...");
}
