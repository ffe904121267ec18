#include "transfer/FrameQuestion.h"

#include "platform/UiSeam.h"
#include "resources/StringTable.h"

#include <QPointer>
#include <QWidget>

CGlyphaneDoc::FrameQuestion AskFrameMayCoverLogo(QWidget* owner)
{
    return [window = QPointer<QWidget>(owner)] {
        return MessageBox(window, LoadString(61466), LoadString(61467), MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
    };
}
