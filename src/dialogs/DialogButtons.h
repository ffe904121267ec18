#pragma once
// The OK / Cancel row shared by the program's own dialogs. The buttons carry
// their control ids as object names ("1" for OK, "2" for Cancel) like every
// other control, and are wired to the dialog's accept() and reject(), so a
// dialog's own checks in accept() run whichever way OK is pressed.
#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QString>
#include <QVBoxLayout>

class QDialog;
class QDialogButtonBox;
class QPushButton;

enum class DialogCancel { Shown, HiddenAndDisabled, None };

QDialogButtonBox* MakeDialogButtons(QDialog* dialog, const QString& okText = QStringLiteral("OK"),
                                    DialogCancel cancel = DialogCancel::Shown);

// The button with control id (1 or 2) of a dialog built with MakeDialogButtons.
QPushButton* DialogButton(const QDialog* dialog, int id);

// Fills box with one radio button per choice (each with an id and a text), in
// a column; the buttons carry their ids as object names and are numbered from
// 0 in group, as a radio group's index.
template <class Choices>
void AddRadioColumn(QGroupBox* box, QButtonGroup* group, const Choices& choices)
{
    auto* column = new QVBoxLayout(box);
    int index = 0;
    for (const auto& choice : choices) {
        auto* button = new QRadioButton(QString::fromLatin1(choice.text), box);
        button->setObjectName(QString::number(choice.id));
        group->addButton(button, index++);
        column->addWidget(button);
    }
}
