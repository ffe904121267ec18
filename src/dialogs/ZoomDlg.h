#pragma once
// The zoom dialog: the magnifier's zoom in percent, typed or picked from the
// four usual steps. The view divides by percent / 100, so anything below 100
// is refused here rather than ever reaching it as a zero factor.
#include <QDialog>

class QLineEdit;

class CZoomDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMinPercent = 100;
    static constexpr int kMaxPercent = 1000;

    CZoomDlg(QWidget* parent, double zoomFactor);

    int DoModal();
    int GetValue() const { return m_nZoom; }

    int m_nZoom; // percent

public slots:
    void accept() override;

private:
    void OnInitDialog();
    void OnZoomTo(int percent);
    QWidget* MakeZoomToGroup();

    QLineEdit* m_edit;
};
