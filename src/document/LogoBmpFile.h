#pragma once
// The logo's BMP file: the header kept for it (read from an opened file or
// taken from the header template), opening any BMP the image reader accepts,
// and writing the 1-bit BMP of the logo's rows. The layout itself is in
// BmpFile.h.
#include "components/BufferUC.h"

#include <QImage>
#include <QString>

struct CDocEnvironment;
class CDocMessages;
class CLogoPicture;

class CLogoBmpFile {
public:
    // A logo file read by Open: the picture upright and the bit count its
    // header gives; a null image when the file was refused.
    struct COpened {
        QImage image;
        int bitCount = 0;
    };

    // env, messages and picture belong to the document and outlive this object.
    CLogoBmpFile(const CDocEnvironment& env, const CDocMessages& messages, const CLogoPicture& picture);

    bool LoadHeaderTemplate(const QString& path);
    // The environment's header template, loaded again.
    bool ReloadHeaderTemplate();
    // The kept header made to describe the picture's size.
    void PatchHeaderForLogo();
    bool ReadBitmapHeader(const QString& path);
    int ReadBitmapInfo(const QString& path, int* width, int* height);
    CBufferUC& HeaderBuffer() { return m_headerBuffer; }

    // Reads the file once: its header is kept and its picture decoded from
    // that one copy, so a file changed meanwhile is seen whole or refused.
    // On refusal the operator is told why, and *failure says the same.
    COpened Open(const QString& path, bool keepPacked, QString* failure);
    // Writes the picture as a 1-bit BMP, atomically; an opened file's header
    // is kept only when it describes such rows, otherwise the template's is
    // used. False (and the operator told) when it could not be written.
    bool Write(const QString& path);
    // The header the printers take: the plain template's, sized for the
    // unpadded raster layout.
    void BuildBitmapHeader(CBufferUC& out);

private:
    // Keeps the header of a whole file (its length is the low byte of the
    // pixel data offset); false when the file is shorter than that.
    bool TakeBitmapHeader(const QByteArray& file);
    void ReportBadTemplate(const QString& path) const;
    void ReportNotABmp(const QString& path, QString* failure) const;
    void ReportTooLarge(const QString& path, const QString& why, QString* failure) const;

    const CDocEnvironment& m_env;
    const CDocMessages& m_messages;
    const CLogoPicture& m_picture;
    CBufferUC m_headerBuffer;
};
