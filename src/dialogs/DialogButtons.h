#pragma once
// The OK / Cancel row shared by the program's own dialogs. The buttons carry
// their control ids as object names ("1" for OK, "2" for Cancel) like every
// other control, and are wired to the dialog's accept() and reject(), so a
// dialog's own checks in accept() run whichever way OK is pressed.
#include <QString>

class QDialog;
class QDialogButtonBox;
class QPushButton;

enum class DialogCancel { Shown, HiddenAndDisabled, None };

QDialogButtonBox* MakeDialogButtons(QDialog* dialog, const QString& okText = QStringLiteral("OK"),
                                    DialogCancel cancel = DialogCancel::Shown);

// The button with control id (1 or 2) of a dialog built with MakeDialogButtons.
QPushButton* DialogButton(const QDialog* dialog, int id);
