#pragma once
// The QZ log file of the client variant: a 48-byte header, the logo raster
// with 1 = black dot and a checksum that brings the file's 16-bit word sum
// to zero, under an old DOS 8.3 name.
#include "components/BufferUC.h"
#include "platform/WinTypes.h"

#include <QString>

struct CDocEnvironment;
class CDocMessages;
class CLogoPicture;
class CLogoRaster;

class CQzLogFile {
public:
    // The parts belong to the document and outlive this object.
    CQzLogFile(const CDocEnvironment& env, const CDocMessages& messages, const CLogoPicture& picture,
               const CLogoRaster& raster);

    // "Save QZ Log File": asks for a name, then saves under its 8.3 form.
    void OnSaveQzLogFile();
    bool SaveQzLogFile(const QString& path, const QString& name);
    bool FillQzHeader(CBufferUC& buffer, const QString& name, int length);
    static bool QzChecksum(const CBufferUC& buffer, WORD* sum);
    // The 8.3 name a chosen name is saved under; *messageId is the string of
    // the message that tells the operator (0 when the name is kept).
    static QString QzDosName(const QString& chosenName, UINT* messageId);

    CBufferUC& QzHeader() { return m_qzHeader; }
    int GetQzHeaderSize() const { return m_nQzHeaderSize; }
    void SetQzHeaderSize(int size) { m_nQzHeaderSize = size; }

private:
    const CDocEnvironment& m_env;
    const CDocMessages& m_messages;
    const CLogoPicture& m_picture;
    const CLogoRaster& m_raster;
    CBufferUC m_qzHeader;
    int m_nQzHeaderSize = 0;
};
