#pragma once
// "Tool pixel size": the width of the free pen, 2 to 20 dots.
#include "platform/WinTypes.h"

#include <QDialog>

class QLabel;
class QLineEdit;

class CPixelSizeDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr UINT kMinWidth = 2;
    static constexpr UINT kMaxWidth = 20;
    static constexpr int kMaxLabelLength = 30;

    explicit CPixelSizeDlg(QWidget* parent = nullptr, UINT width = kMinWidth);

    int DoModal();
    UINT GetValue() const { return m_nWidth; }

    UINT m_nWidth;
    QString m_strLabel; // shown above the edit; empty unless the caller sets it

public slots:
    void accept() override;

private:
    void OnInitDialog();

    QLabel* m_label;
    QLineEdit* m_edit;
};
