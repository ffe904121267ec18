#pragma once
// The state of a "Program Next Printer" run (ViewNextPrinter.cpp), shared
// with the transfer role that owns it.
#include "dialogs/NextPrinterDlg.h"
#include "printer/PortScan.h"
#include "transfer/ViewTransferRole.h"

#include <QString>
#include <QTimer>

#include <future>
#include <memory>

struct CViewTransferRole::CNextPrinters {
    // The printer just programmed must go before the next one counts.
    enum class State { WaitForSwap, WaitForPrinter, Programming };
    State state = State::WaitForPrinter;
    QString port;
    QString model;
    int slot = 0;
    int done = 0;
    int failed = 0;
    QString lastFailure;
    CScanCatalogue catalogue;
    std::future<CPortFinding> probe;
    std::unique_ptr<QTimer> timer;
    std::unique_ptr<CNextPrinterDlg> box;
};
