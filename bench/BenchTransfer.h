#pragma once
// The transfer the transfer benchmarks send: "Test Logo" of a 576 x 240
// pattern logo to a WGJ33 on COM1, with the build's printer configuration,
// and the host that times its data phase.
#include "PrinterEmulator.h"

#include "components/PrinterProtocol.h"
#include "transfer/TransferHost.h"
#include "transfer/TransferRequest.h"

#include <QImage>

#include <chrono>
#include <thread>

namespace bench {

using Clock = std::chrono::steady_clock;

constexpr int kTransferLogoWidth = 576;
constexpr int kTransferLogoHeight = 240;

inline QImage PatternLogo()
{
    QImage logo(kTransferLogoWidth, kTransferLogoHeight, QImage::Format_RGB32);
    for (int y = 0; y < kTransferLogoHeight; ++y)
        for (int x = 0; x < kTransferLogoWidth; ++x)
            logo.setPixel(x, y, (x * 3 + y * 5) % 7 == 0 ? 0xFF000000u : 0xFFFFFFFFu);
    return logo;
}

inline CTransferRequest Wgj33TestRequest()
{
    CTransferRequest request;
    request.kind = TransferKind::Test;
    request.logo = PatternLogo();
    request.logoWidth = kTransferLogoWidth;
    request.logoHeight = kTransferLogoHeight;
    request.dotX = kTransferLogoWidth;
    request.dotY = kTransferLogoHeight;
    request.model = QStringLiteral("WGJ33");
    request.portName = QStringLiteral("COM1");
    request.expectedId = 51;
    request.printerCfg.LoadPublicCfgFile(QStringLiteral(GLYPHANE_BENCH_PROGRAM_DIR "CfgFile/WGJ33.cfg"));
    request.flags.wgjPrinter = true;
    return request;
}

// Times the data phase: from the start of the block loop until the virtual
// printer has taken every byte the loop wrote (the stream and one status
// request per block). Everything else a transfer asks is answered at once.
class CLineTimingHost : public CTransferHost {
public:
    explicit CLineTimingHost(const CPrinterEmulator& printer)
        : m_printer(printer)
    {
    }

    void ProgressStart(int steps, qint64 totalBytes, DWORD baud) override
    {
        m_steps = steps;
        m_streamBytes = totalBytes;
        m_baud = baud;
        m_takenBefore = m_printer.BytesUnderstood();
        m_start = Clock::now();
    }
    void ProgressStep(qint64, int) override {}
    void PostStopSend() override {}
    void ProgressEnd() override
    {
        // The loop ends when its last write() has returned; the printer is
        // still taking the tail of that block at the line's pace.
        const long long expected = m_takenBefore + m_streamBytes
                                   + static_cast<long long>(m_steps) * prnproto::kStatusRequest.size();
        const auto bound = Clock::now() + std::chrono::seconds(30);
        while (m_printer.BytesUnderstood() < expected && Clock::now() < bound)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        m_bComplete = m_printer.BytesUnderstood() >= expected;
        m_end = Clock::now();
    }
    void PortStatus(bool, const QString&) override {}
    int Message(const QString&, const QString&, UINT) override { return IDOK; }
    void Inform(const QString&, const QString&, UINT) override {}
    int ChooseBaudRate() override { return 0; }
    bool FrameMayCoverLogo() override { return true; }
    bool WaitForPrinterReset(bool, int) override { return true; }
    void Log(const QString&) override {}
    bool StopRequested() const override { return false; }
    bool Sleep(int ms) override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return true;
    }

    bool Complete() const { return m_bComplete; }
    qint64 StreamBytes() const { return m_streamBytes; }
    DWORD Baud() const { return m_baud; }
    Clock::time_point DataStart() const { return m_start; }
    Clock::time_point DataEnd() const { return m_end; }
    double Seconds() const { return std::chrono::duration<double>(m_end - m_start).count(); }
    // Stream bytes over what the line could have carried in the same time.
    double Utilisation() const
    {
        const double capacity = Seconds() * static_cast<double>(m_baud) / 10.0;
        return capacity > 0 ? static_cast<double>(m_streamBytes) / capacity : 0.0;
    }

private:
    const CPrinterEmulator& m_printer;
    int m_steps = 0;
    qint64 m_streamBytes = 0;
    DWORD m_baud = 0;
    long long m_takenBefore = 0;
    bool m_bComplete = false;
    Clock::time_point m_start{};
    Clock::time_point m_end{};
};

} // namespace bench
