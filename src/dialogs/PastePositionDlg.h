#pragma once
// Where a pasted picture goes: X and Y in dots, each below the limit the
// caller gives (the logo's width and height). The edits take digits only.
#include "platform/WinTypes.h"

#include <QDialog>

class QLineEdit;

class CPastePositionDlg : public QDialog {
    Q_OBJECT
public:
    explicit CPastePositionDlg(QWidget* parent = nullptr);

    // *px and *py hold the X and Y limits; both are set to 0 at once and hold
    // the chosen position after IDOK (they stay 0 after Cancel).
    void SetLimits(int* px, int* py);

    int DoModal();

    QLineEdit* m_editX;
    QLineEdit* m_editY;
    DWORD m_dwX = 0;
    DWORD m_dwY = 0;
    int* m_pX = nullptr;
    int* m_pY = nullptr;
    int m_nLimitX = 0;
    int m_nLimitY = 0;
    QString m_strLastX; // last text of the X edit that was all digits
    QString m_strLastY;

public slots:
    void accept() override;

private:
    void OnInitDialog();
    void OnEditChange(QLineEdit* edit, QString& lastAccepted);
    bool IsInsideLimits() const;
    void ShowLimitsError();
};
