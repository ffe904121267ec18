#include "document/LogoPicture.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

} // namespace

void CLogoPicture::SetLogoSize(int width, int height)
{
    m_nLogoWidth = width;
    m_nLogoHeight = height;
}

void CLogoPicture::AttachLogoBitmap(const QImage& image)
{
    m_bitmap = image.convertToFormat(QImage::Format_RGB32);
}

void CLogoPicture::AttachDecodedBitmap(const QImage& image)
{
    if (image.format() == QImage::Format_Mono)
        m_bitmap = image; // kept packed, as asked
    else
        AttachLogoBitmap(image);
}

void CLogoPicture::ReplaceLogoBitmap(const QImage& description)
{
    // A fresh bitmap of the same size; its pixels are the caller's to fill.
    m_bitmap = QImage(description.size(), QImage::Format_RGB32);
    m_bitmap.fill(kWhite);
}

bool CLogoPicture::CreateWhiteBitmap(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return false;
    image.fill(kWhite);
    m_bitmap = image;
    return true;
}
