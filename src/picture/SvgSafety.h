#pragma once
// An SVG made self-contained before it is drawn. A drawing may name files or
// addresses to pull in (an <image> of a file, a nested SVG in a data address
// that names files itself); the SVG renderer would read them. The document is
// parsed and written out again keeping only references inside itself: "#id",
// and data addresses that hold a PNG, JPEG, GIF, BMP or WebP picture. No DTD,
// no processing instruction and no comment is kept.
#include <QByteArray>
#include <QString>

namespace picture {

struct CSvgCheck {
    QByteArray document; // the self-contained document; empty when refused
    bool isSvg = false;  // the root element is <svg> (false for other XML and for non-XML)
    QString why;         // why it was refused
};

CSvgCheck SelfContainedSvg(const QByteArray& svg);

// Whether a reference stays inside the document.
bool IsInsideReference(const QString& value);

} // namespace picture
