#pragma once
// "Select Sub Logos": print a fiscal printer's whole logo or some of its
// four sub-logos. The result is a mask: 255 for the whole logo, otherwise
// bit 0 for sub-logo 01 up to bit 3 for sub-logo 04.
#include <QDialog>

#include <array>

class QButtonGroup;
class QCheckBox;

class CSubLogosDlg : public QDialog {
    Q_OBJECT
public:
    enum Mode { PrintAll = 0, PrintPart = 1 };
    static constexpr int kAllLogosMask = 255;
    static constexpr int kSubLogoCount = 4;

    explicit CSubLogosDlg(QWidget* parent = nullptr);

    int DoModal();

    int m_bSubLogo01 = 0;
    int m_bSubLogo02 = 0;
    int m_bSubLogo03 = 0;
    int m_bSubLogo04 = 0;
    int m_nMode = -1;
    int m_nMask = 0;

public slots:
    void accept() override;

private:
    void OnInitDialog();
    void OnModeClicked();
    void ReadControls();
    void ShowControls();
    void EnableSubLogoBoxes();
    int TickedMask() const;
    std::array<int*, kSubLogoCount> Ticks();

    QButtonGroup* m_modeGroup;
    std::array<QCheckBox*, kSubLogoCount> m_boxes{};
};
