#pragma once
// "Image Position...": where the old picture goes when a logo takes a
// printer's size. The dialog has no Cancel button; closed any other way than
// OK it still answers Center, because the caller always needs a placement.
#include <QDialog>

class QButtonGroup;

class CImagePositionDlg : public QDialog {
    Q_OBJECT
public:
    enum Position { Center = 0, Left = 1, Stretch = 2, Tile = 3, Resize = 4 };

    explicit CImagePositionDlg(QWidget* parent = nullptr);

    int DoModal();

    int m_nPosition = Center;      // radio index
    int* m_pResult = nullptr;      // the caller's int, written when the dialog closes

public slots:
    void accept() override;
    void reject() override;

private:
    void OnInitDialog();
    void StoreResult(int position);

    QButtonGroup* m_group;
};
