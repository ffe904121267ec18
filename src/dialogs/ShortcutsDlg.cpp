#include "dialogs/ShortcutsDlg.h"

#include "platform/UiSeam.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

CShortcutsDlg::CShortcutsDlg(const QList<Row>& rows, QWidget* parent)
    : QDialog(parent)
    , m_table(new QTableWidget(static_cast<int>(rows.size()), 2, this))
{
    setWindowTitle(QStringLiteral("Keyboard Shortcuts"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Key"), QStringLiteral("Command")});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setWordWrap(false);
    for (int i = 0; i < rows.size(); ++i) {
        m_table->setItem(i, 0, new QTableWidgetItem(rows.at(i).key));
        m_table->setItem(i, 1, new QTableWidgetItem(rows.at(i).command));
    }
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setStretchLastSection(true);
    // Tall enough for a good part of the list; the rest scrolls.
    m_table->setMinimumSize(m_table->horizontalHeader()->length() + 40,
                            m_table->verticalHeader()->defaultSectionSize() * 16);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
}

int CShortcutsDlg::DoModal()
{
    return RunModal(this);
}

QList<CShortcutsDlg::Row> CShortcutsDlg::ShownRows() const
{
    QList<Row> rows;
    for (int i = 0; i < m_table->rowCount(); ++i)
        rows.append({m_table->item(i, 0)->text(), m_table->item(i, 1)->text()});
    return rows;
}
