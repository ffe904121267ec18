#pragma once
// A virtual printer on a pseudo-terminal, mapped as COM1 in a scoped settings
// file, with a serial component opened on it using short time-outs.
#include "PrinterEmulator.h"
#include "components/SComAm.h"
#include "support/TestEnv.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace serialtest {

inline CLoadCfgPrnFile LoadModelCfg(const QString& code)
{
    CLoadCfgPrnFile cfg;
    EXPECT_TRUE(cfg.LoadPublicCfgFile(testenv::ProgramDir() + QStringLiteral("CfgFile/%1.cfg").arg(code)));
    return cfg;
}

// Time-outs of tens of milliseconds keep failing cases fast.
inline _CalcTimeout FastTimeouts()
{
    _CalcTimeout t;
    t.ReadIntervalTimeout = 20;
    t.ReadTotalTimeoutMultiplier = 0;
    t.ReadTotalTimeoutConstant = 40;
    t.WriteTotalTimeoutMultiplier = 1;
    t.WriteTotalTimeoutConstant = 200;
    return t;
}

// Waits up to timeoutMs (2 s unless told) for a condition the emulator thread makes true.
template <class F>
bool WaitFor(F condition, int timeoutMs = 2000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

class PrinterFixture : public ::testing::Test {
protected:
    CEmuOptions Options(const QString& model, unsigned baud = 9600)
    {
        CEmuOptions o;
        o.model = model;
        o.baud = baud;
        o.dataDir = testenv::ProgramDir();
        o.linkPath = m_dir.filePath(QStringLiteral("ttyPRINTER"));
        o.outDir = m_dir.filePath(QStringLiteral("paper"));
        return o;
    }

    void StartPrinter(const CEmuOptions& options)
    {
        // Settings files restore the previous one when they go, so the old one goes first.
        m_settings.reset();
        m_printer.reset();
        m_printer = std::make_unique<CPrinterEmulator>(options);
        QString error;
        ASSERT_TRUE(m_printer->Start(&error)) << error.toStdString();
        m_settings = std::make_unique<testenv::ScopedSettingsFile>(
            testenv::DefaultRegistrySection() + "\n[Ports]\nCOM1=" + options.linkPath.toUtf8() + "\n");
    }

    // Opens COM1 with the model's configuration and the fast time-outs.
    void OpenPort(CsComAm& port, const QString& cfgModel, QObject* window = nullptr)
    {
        const CLoadCfgPrnFile cfg = LoadModelCfg(cfgModel);
        ASSERT_TRUE(port.InitThisObject(window, QStringLiteral("COM1"), 1, LogPath(), &cfg))
            << port.LastErrorText().toStdString();
        ASSERT_TRUE(port.SetNewTimeoutSystem(FastTimeouts()));
    }

    QString LogPath() const { return m_dir.filePath(QStringLiteral("transfer.log")); }

    QTemporaryDir m_dir;
    std::unique_ptr<CPrinterEmulator> m_printer;
    std::unique_ptr<testenv::ScopedSettingsFile> m_settings;
};

} // namespace serialtest
