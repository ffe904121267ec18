#pragma once
// The USB printer choice: every configured USB port whose device exists, with
// the identification byte the printer on it reports, and the printer picked.
// The caller hands over the USB object to bind before showing the dialog.
#include "platform/WinTypes.h"

#include <QDialog>
#include <QString>

class CQvComAm;
class QLabel;
class QListWidget;

class CDialogSelPrn : public QDialog {
    Q_OBJECT
public:
    // identifyMode kAskIdentification asks each present printer for its
    // identification byte while the list is filled; any other value lists the
    // devices only (nothing is written to them).
    static constexpr BYTE kAskIdentification = 0x55;

    CDialogSelPrn(QWidget* parent, BYTE identifyMode);

    int DoModal();
    // The port name ("USB001") of the printer chosen; empty until OK.
    QString Get_m_strPrnSelected() const { return m_strPrnSelected; }

    // Set before DoModal: OK binds this object to the chosen printer. Not owned.
    CQvComAm* m_pUsbPrn = nullptr;

    QListWidget* List() const { return m_list; }

    // "0x33", or "no answer" for a printer that gives none.
    static QString IdentificationText(BYTE id);

public slots:
    void accept() override;

private:
    void Fill();
    QString DescribePrinter(const QString& portName, const QString& device) const;

    QListWidget* m_list;
    QLabel* m_status;
    BYTE m_nIdentifyMode;
    QString m_strPrnSelected;
};
