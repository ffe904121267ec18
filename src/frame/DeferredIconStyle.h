#pragma once

#include <QProxyStyle>

// The desktop's own style, except that the two toolbar-extension arrows are
// loaded the first time one is needed. Every menu bar and toolbar builds an
// extension button as it is created and asks the style for its arrow then;
// loading that picture reads the image-format plugins, several milliseconds
// of the way to the first shown window, for a button that shows only when a
// bar runs out of room. The arrow drawn later is the same picture.
class CDeferredIconStyle : public QProxyStyle {
    Q_OBJECT

public:
    // Takes base (null: the desktop's default style).
    explicit CDeferredIconStyle(QStyle* base);

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};
