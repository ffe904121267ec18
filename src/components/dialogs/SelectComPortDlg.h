#pragma once
// The port choice: every port name with its device and whether the device is
// there; parallel ports only for printers that have a parallel interface, USB
// only when the caller switches it on.
#include <QDialog>

class QTreeWidget;

class CDiaologSelectComPort : public QDialog {
    Q_OBJECT
public:
    CDiaologSelectComPort(QWidget* parent, const QString& currentPort, int lptPermission);

    // IDOK with a port chosen, IDCANCEL, or kFindPrinters: the operator
    // asked to look for the printers instead.
    int DoModal();
    static constexpr int kFindPrinters = 100;
    QString GetComPort() const { return m_strPort; }

    // Set before DoModal to offer the USB printers too.
    bool m_bUsbEnabled = false;

    // One row per port; the columns are the name, the device and "present" or "absent".
    QTreeWidget* List() const { return m_list; }

public slots:
    void accept() override;

private:
    void Fill();

    QTreeWidget* m_list;
    QString m_strCurrent;
    QString m_strPort;
    int m_nLptPermission;
};
