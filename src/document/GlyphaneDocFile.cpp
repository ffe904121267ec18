// The logo document's life with its BMP file: opening one, Save and Save As.
#include "document/GlyphaneDoc.h"

#include "document/BmpFile.h"
#include "platform/NativePath.h"
#include "platform/UiSeam.h"

#include <QCursor>
#include <QGuiApplication>
#include <QFileInfo>

namespace {

// Shows the wait cursor for the lifetime of the object.
class CWaitCursor {
public:
    CWaitCursor()
    {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~CWaitCursor()
    {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QGuiApplication::restoreOverrideCursor();
    }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

} // namespace

bool CGlyphaneDoc::OnOpenDocument(const QString& path)
{
    m_binding.SetWgj33(1); // a file carries no printer: Connect asks whether it is a WGJ33
    if (path.toUpper().contains(QStringLiteral("GLYPHANEPRN"))) {
        InitNewLogo();
        return false;
    }
    DeleteContents();
    SetModifiedFlag(false);
    m_strOpenFailure.clear();
    const CLogoBmpFile::COpened opened = m_bmpFile.Open(path, m_picture.KeepOneBitPacked(), &m_strOpenFailure);
    if (opened.image.isNull())
        return false;
    m_binding.SetMonochrome((opened.bitCount == 1) ? 1 : 0);
    m_picture.AttachDecodedBitmap(opened.image);
    ResetAfterLoad();
    // The decoded image is upright whatever the row order of the file, so its
    // size is the logo's size (a top-down file stores a negative height).
    m_picture.SetLogoSize(opened.image.width(), opened.image.height());
    return true;
}

bool CGlyphaneDoc::DoSave(const QString& path)
{
    if (!m_picture.GetLogoBitmap())
        return false;
    QString target = path;
    if (target.isEmpty()) {
        const QString folder = !m_strSuggestedFile.isEmpty() ? m_strSuggestedFile
                               : m_env.programFolder.isEmpty() ? QString()
                                                               : NativePath(m_env.programFolder);
        target = GetSaveFileName(WindowOf(m_env.messageOwner), QString(), folder,
                                 QStringLiteral("BMP files (*.bmp)|*.bmp|All Files (*.*)|*.*||"),
                                 QStringLiteral(".bmp"));
        if (target.isEmpty())
            return false;
        target = bmpfile::ShortenAtReservedCharacter(target);
        if (target.isEmpty())
            return false;
    }
    CWaitCursor wait;
    // The file is written beside the target and renamed over it, so a failed
    // save leaves the previous file as it was; nothing needs deleting.
    return WriteBitmapFile(target);
}

bool CGlyphaneDoc::WriteBitmapFile(const QString& path)
{
    if (!m_bmpFile.Write(path))
        return false;
    m_binding.SetMonochrome(1);
    SetPathName(path);
    SetModifiedFlag(false);
    emit fileSaved(path);
    return true;
}
