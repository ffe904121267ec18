#pragma once
// PDF pages come from the module glyphane-pdf, the only code that links
// QtPdf (about 25 MB with what it loads); it is loaded the first time a PDF
// is opened, so neither the editor's start nor a session without PDFs pays
// for it. This is the whole of what the module offers.
#include <QByteArray>
#include <QImage>
#include <QSizeF>
#include <QString>

namespace picture {

class IPdfPages {
public:
    virtual ~IPdfPages() = default;
    virtual int PageCount() const = 0;
    // The size of page `index` (from 0) in points, 1/72 inch.
    virtual QSizeF PagePoints(int index) const = 0;
    // Page `index` drawn whole at size (transparent where it draws nothing);
    // null when it cannot be.
    virtual QImage Render(int index, QSize size) = 0;
};

} // namespace picture

// The module's entry point: the PDF in bytes opened, or null with why (a
// password, a damaged file).
extern "C" picture::IPdfPages* GlyphaneOpenPdf(const QByteArray& bytes, QString* why);
