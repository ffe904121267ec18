#pragma once
// A picture opened for conversion: PNG, JPEG, GIF (its first frame), TIFF,
// WebP, BMP and whatever else Qt's image readers take here, SVG and PDF.
// Its size is checked from its header before any pixel is read; a vector
// picture is drawn straight at the size it is asked for.
#include "picture/PictureFit.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <memory>
#include <optional>

namespace picture {

class CPictureDrawing;

class CPicture {
public:
    // A picture already in memory (an open logo's pixels).
    static CPicture FromImage(const QImage& image, const QString& name);

    // The file's name without its folder, for titles.
    QString Name() const { return m_name; }
    // The file as it was named when opened (the name for a picture from
    // memory), for messages.
    QString Source() const { return m_source.isEmpty() ? m_name : m_source; }
    // "PNG", "JPEG", "SVG", "PDF" ...
    QString FormatName() const;
    bool IsVector() const;
    // Pages of a PDF; 1 for every other picture.
    int PageCount() const;
    // The size of a page (from 1): pixels, SVG user units, PDF points.
    QSize NaturalSize(int page = 1) const;
    // The part plan.visible of the page drawn whole at plan.drawn (colour,
    // transparency kept); a null image and why when it cannot be.
    QImage Draw(int page, const CFitPlan& plan, QString* why) const;

private:
    friend std::optional<CPicture> OpenPicture(const QString& path, QString* message);
    CPicture(std::shared_ptr<CPictureDrawing> drawing, const QString& name, const QString& source = QString());

    std::shared_ptr<CPictureDrawing> m_drawing;
    QString m_name;
    QString m_source;
};

// Opens a picture file; nothing and *message, one sentence naming the file
// and the reason, when it cannot be used.
std::optional<CPicture> OpenPicture(const QString& path, QString* message);

// The message for a picture that cannot be used: "PATH cannot be opened: WHY".
QString PictureFailure(const QString& path, const QString& why);

// True when the file starts as a BMP does: the editor opens those as logos.
bool LooksLikeBmp(const QString& path);

// The file dialog's filter of the pictures that can be opened, in the UI
// seam's form ("Pictures (*.png;*.jpg;...)|*.png;*.jpg;...|").
QString PictureFileFilter();

} // namespace picture
