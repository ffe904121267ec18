#include "view/EditingSurfaces.h"

#include "document/GlyphaneDoc.h"

CSurface& CEditingSurfaces::Screen()
{
    if (!m_bScreenDirty) {
        m_dcScreen.Attach(m_dcImage.image());
        m_bScreenDirty = true;
    }
    return m_dcScreen;
}

bool CEditingSurfaces::DropScreen()
{
    const bool was = m_bScreenDirty;
    m_bScreenDirty = false;
    return was;
}

void CEditingSurfaces::Bind(CGlyphaneDoc& doc)
{
    QImage* bitmap = doc.Picture().GetLogoBitmap();
    if (!bitmap || !m_dcImage.Attach(bitmap))
        return;
    doc.SetDrawingSurface(&m_dcImage);
    m_bSurfacesReady = true;
}

void CEditingSurfaces::Release(CGlyphaneDoc& doc)
{
    if (doc.GetDrawingSurface() == &m_dcImage)
        doc.SetDrawingSurface(nullptr);
    m_dcImage.Release();
    m_dcUndo.Release();
    m_dcScreen.Release();
    m_bScreenDirty = false;
    m_bSurfacesReady = false;
}

void CEditingSurfaces::TakeUndoCopy()
{
    if (m_dcImage.IsNull())
        return;
    if (m_dcUndo.Attach(m_dcImage.image()))
        ++m_nUndoCount;
}

void CEditingSurfaces::ForgetUndo()
{
    m_dcUndo.Release();
    m_nUndoCount = 0;
}
