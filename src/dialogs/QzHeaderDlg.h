#pragma once
// The release and version numbers written into a QZ log file's header,
// each 0 to 99. Its Cancel button is hidden and disabled; Escape still
// leaves without a header (IDCANCEL).
#include "platform/WinTypes.h"

#include <QDialog>

class QLineEdit;

class CQzHeaderDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr UINT kMaxNumber = 99;

    explicit CQzHeaderDlg(QWidget* parent = nullptr);

    int DoModal();

    UINT m_nVersion = 0;
    UINT m_nRelease = 0;

public slots:
    void accept() override;

private:
    void OnInitDialog();
    void CenterOverOwner();

    QLineEdit* m_editRelease;
    QLineEdit* m_editVersion;
};
