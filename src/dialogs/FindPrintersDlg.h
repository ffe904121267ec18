#pragma once
// "Find Printers...": the printers a scan finds on the ports, one line a
// port; a port without a printer says why (absent, busy, no answer, not
// permitted) and cannot be chosen. "Scan Again" looks once more.
#include "components/PortFinding.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QListWidget;

class CFindPrintersDlg : public QDialog {
    Q_OBJECT
public:
    using Scan = std::function<std::vector<CPortFinding>()>;
    CFindPrintersDlg(QWidget* parent, Scan scan);

    // Scans, then shows the findings; IDOK with a printer chosen.
    int DoModal();
    const std::optional<CPortFinding>& Chosen() const { return m_chosen; }
    // One row per port, in the order scanned; only found printers are enabled.
    QListWidget* List() const { return m_list; }

public slots:
    void accept() override;
    void Rescan();

private:
    Scan m_scan;
    std::vector<CPortFinding> m_findings;
    std::optional<CPortFinding> m_chosen;
    QListWidget* m_list;
    QLabel* m_status;
};
