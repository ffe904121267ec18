#include "frame/DeferredIconStyle.h"

#include "frame/DeferredIcon.h"

#include <QPointer>

CDeferredIconStyle::CDeferredIconStyle(QStyle* base)
    : QProxyStyle(base)
{
}

QIcon CDeferredIconStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                       const QWidget* widget) const
{
    if (standardIcon != SP_ToolBarHorizontalExtensionButton && standardIcon != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    // The base style lives as long as this one; the pointer guards an icon
    // that outlives both at the program's end.
    return DeferredIcon([base = QPointer<QStyle>(baseStyle()), standardIcon] {
        return base ? base->standardIcon(standardIcon) : QIcon();
    });
}
