#pragma once
// A started program with one logo window bound to a printer model on COM1,
// and the virtual printer on COM1 in line-time mode: the real view, the real
// job and its worker, bytes going out no faster than the line allows.
#include "printer/ConnectFixture.h"

#include "app/CliCommands.h"
#include "components/LogFile.h"
#include "frame/MainFrame.h"
#include "resources/StringTable.h"
#include "components/dialogs/MessageDlg.h"
#include "printer/PrinterLink.h"
#include "transfer/SendOptions.h"

#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTest>
#include <QThread>

#include <functional>

namespace transfertest {

class TransferTest : public connecttest::ConnectTest {
protected:
    // The virtual printer of a model in line-time mode, recording what it takes.
    void StartLinePrinter(const QString& model, const QString& fault = QString(), const QString& release = QString())
    {
        CEmuFault parsed;
        if (!fault.isEmpty()) {
            ASSERT_TRUE(ParseEmuFault(fault, &parsed)) << fault.toStdString();
        }
        StartLinePrinterWith(model, [&](CEmuOptions& o) {
            if (!release.isEmpty())
                o.release = release;
            if (!fault.isEmpty())
                o.fault = parsed;
        });
    }

    // The same with any option of the virtual printer changed by tweak (its
    // port kind, forced replies, identification byte ...).
    void StartLinePrinterWith(const QString& model, const std::function<void(CEmuOptions&)>& tweak)
    {
        m_printer.reset();
        CEmuOptions o;
        o.model = model;
        o.baud = 9600;
        o.dataDir = testenv::ProgramDir();
        o.linkPath = LinkPath();
        o.lineTime = true;
        o.outDir = TempPath(QStringLiteral("paper"));
        o.recordInput = true;
        tweak(o);
        m_printer = std::make_unique<CPrinterEmulator>(o);
        QString error;
        ASSERT_TRUE(m_printer->Start(&error)) << error.toStdString();
    }

    // One more printer, on a link of its own, for the tests of several at once.
    std::unique_ptr<CPrinterEmulator> StartPrinterAt(const QString& link, const QString& model, EmuPort port,
                                                     unsigned baud,
                                                     const std::function<void(CEmuOptions&)>& tweak = {})
    {
        CEmuOptions o;
        o.model = model;
        o.baud = baud;
        o.port = port;
        o.dataDir = testenv::ProgramDir();
        o.linkPath = link;
        o.lineTime = true;
        o.outDir = TempPath(QStringLiteral("paper-") + QFileInfo(link).fileName());
        if (tweak)
            tweak(o);
        auto printer = std::make_unique<CPrinterEmulator>(o);
        QString error;
        EXPECT_TRUE(printer->Start(&error)) << error.toStdString();
        return printer;
    }

    // A logo window of width x height with a pattern, bound to model on COM1
    // as Connect leaves it (the printer not identified).
    void OpenLogoFor(const QString& model, int width, int height)
    {
        // A file of its own each time: a test may bind a second logo.
        ++m_logoFiles;
        ASSERT_NE(OpenWhiteLogo(width, height, QStringLiteral("logo%1.bmp").arg(m_logoFiles)), nullptr);
        const QString failure =
            m_doc->Binding().BindPrinter(CPrinterChoice{model, QStringLiteral("CfgFile\\%1.cfg").arg(model)});
        ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
        DWORD slotCount = 0;
        m_doc->Binding().GetPrinterCfg()->GetOptionPrintersToTest(QStringLiteral("NLoghi"), &slotCount);
        m_doc->Binding().SetNumLogos(static_cast<int>(slotCount));
        m_doc->Binding().SetPortName(QStringLiteral("COM1"));
        QImage* image = m_doc->Picture().GetLogoBitmap();
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if ((x * 3 + y * 5) % 7 == 0 || x == 0 || y == height - 1)
                    image->setPixel(x, y, 0xFF000000);
    }

    // Runs a command and waits (the event loop running) until its job ends.
    bool RunJob(UINT id, int boundMs = 120000)
    {
        m_view->OnCommand(id);
        return WaitForJob(boundMs);
    }
    bool WaitForJob(int boundMs)
    {
        QElapsedTimer clock;
        clock.start();
        while (m_view->IsTransferRunning()) {
            if (clock.elapsed() > boundMs)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        QCoreApplication::processEvents(); // the last posted messages
        // The printer reads at line speed: what the job queued last (the cut
        // of a printed page, say) may still be on its way.
        return !m_printer || m_printer->WaitUntilSettled(boundMs);
    }

    // The state the view's update handler gives a command.
    CCmdUI State(UINT id) const
    {
        CCmdUI ui(id);
        m_view->OnUpdateCommand(id, ui);
        return ui;
    }

    // The application log as it is now.
    static QString AppLog()
    {
        QFile file(GetApp()->GetAppLog()->FilePath());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // A "Choose Logo" answer picking slot (1-based).
    static testenv::ScriptedUi::Step ChooseSlot(int slot)
    {
        return [slot](CUiPrompt& p, QDialog* d) {
            auto* list = d ? d->findChild<QListWidget*>(QStringLiteral("1004")) : nullptr;
            ASSERT_NE(list, nullptr);
            list->setCurrentRow(slot - 1);
            p.result = IDOK;
        };
    }

    int m_logoFiles = 0;
};

// Whether the printer's logo shows the document's logo centred on its area:
// every dot of the area compared.
inline ::testing::AssertionResult HoldsCentredLogo(const CEmuLogo& held, const QImage& logo, int dotX, int dotY)
{
    if (held.width != dotX || held.height != dotY)
        return ::testing::AssertionFailure() << "held " << held.width << " x " << held.height;
    const int left = (dotX - logo.width()) / 2 / 8 * 8, top = (dotY - logo.height()) / 2;
    for (int y = 0; y < dotY; ++y)
        for (int x = 0; x < dotX; ++x) {
            const int lx = x - left, ly = y - top;
            const bool black = lx >= 0 && ly >= 0 && lx < logo.width() && ly < logo.height()
                && (logo.pixel(lx, ly) & 0xFFFFFF) == 0;
            if (held.IsBlack(x, y) != black)
                return ::testing::AssertionFailure() << "dot " << x << ", " << y;
        }
    return ::testing::AssertionSuccess();
}

// glyphane-cli with args; *errText = what it wrote to standard error.
inline int RunCli(const QStringList& args, QString* errText, QString* outText = nullptr)
{
    QString outString, err;
    QTextStream out(&outString), errStream(&err);
    const int status = cli::Run(args, out, errStream);
    out.flush();
    errStream.flush();
    *errText = err;
    if (outText)
        *outText = outString;
    return status;
}

// The raster of a logo centred on a printer area, 1 = black dot, as the
// printers' download command wants it: written out dot by dot.
inline std::vector<uint8_t> CentredBlackDots(const QImage& logo, int dotX, int dotY)
{
    const int left = (dotX - logo.width()) / 16 * 8, top = (dotY - logo.height()) / 2;
    std::vector<uint8_t> bytes(static_cast<size_t>(dotX / 8 * dotY), 0);
    for (int y = 0; y < logo.height(); ++y)
        for (int x = 0; x < logo.width(); ++x)
            if ((logo.pixel(x, y) & 0xFFFFFF) == 0)
                bytes[static_cast<size_t>((top + y) * (dotX / 8) + (left + x) / 8)] |= 0x80 >> ((left + x) % 8);
    return bytes;
}

} // namespace transfertest
