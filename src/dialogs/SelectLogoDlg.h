#pragma once
// "Select Logo...": one of the logos of an upgrade file, shown as the texts
// the caller prepared ("1) Logo 48 x 24" ...).
#include <QDialog>
#include <QStringList>

class QListWidget;

class CSelectLogoDlg : public QDialog {
    Q_OBJECT
public:
    // The slot count of an upgrade file is one byte, so no more are listed.
    static constexpr int kMaxEntries = 255;

    CSelectLogoDlg(QWidget* parent, const QStringList* texts);

    int DoModal();

    QListWidget* m_listLogos;
    const QStringList* m_pTexts;
    int m_nSelected = -1; // 0-based position of the chosen text; -1 = none

private:
    void OnInitDialog();
    void OnSelChange();
};
