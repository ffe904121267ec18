#pragma once
// "Keyboard Shortcuts" (Help menu): every key of the accelerator table and
// what it does, as the caller lists them.
#include <QDialog>
#include <QList>

class QTableWidget;

class CShortcutsDlg : public QDialog {
    Q_OBJECT
public:
    struct Row {
        QString key;     // as the keyboard names it, "Ctrl+N"
        QString command; // as the menus name it, "New"
        bool operator==(const Row&) const = default;
    };

    explicit CShortcutsDlg(const QList<Row>& rows, QWidget* parent = nullptr);
    int DoModal();

    // The rows as the table shows them.
    QList<Row> ShownRows() const;

private:
    QTableWidget* m_table;
};
