#pragma once
// Logos in printer upgrade files (*.psw): one slot moves between the picture
// and the file. Which slots fit, and whether a slot holds a bare raster or a
// whole BMP, follows the printer the logo is bound to and the printer named
// in the file.
#include "components/BufferUC.h"
#include "platform/WinTypes.h"

#include <QString>
#include <functional>
#include <memory>

class CHeaderPsw;
struct CDocEnvironment;
class CDocMessages;
class CLogoBmpFile;
class CLogoPicture;
class CPrinterBinding;

class CPswLogos {
public:
    // The parts belong to the document and outlive this object; resetAfterLoad
    // is called once a slot is known to fit, before its rows are painted, and
    // picturePainted after every load or save (the views redraw).
    CPswLogos(const CDocEnvironment& env, const CDocMessages& messages, CLogoPicture& picture,
              const CPrinterBinding& binding, CLogoBmpFile& bmpFile, std::function<void()> resetAfterLoad,
              std::function<void()> picturePainted);
    ~CPswLogos();

    // Direction 1 loads, 0 saves; the operator is told when it went through.
    bool TransferLogoPsw(const QString& path, int direction);
    void LoadLogoFromPsw(const QString& path);
    void SaveLogoToPsw(const QString& path);
    // True when the file cannot be used (missing or empty).
    bool CheckPswFile(const QString& path);
    // 1 after the last load or save went through.
    int GetPswOk() const { return m_bPswOk; }
    void SetPswOk(int v) { m_bPswOk = v; }
    // The last upgrade file's header, kept until the next command.
    CHeaderPsw* GetHeaderPsw() const { return m_headerPsw.get(); }
    // "Load Logo from *.psw" and "Save Logo on *.psw" are enabled.
    bool PswCommandsEnabled() const;

    static void SwapBytePairs(BYTE* buffer, int length);
    // The printers whose upgrade-file slots hold a whole BMP.
    static bool IsPswBmpGroup(const QString& model);

private:
    CHeaderPsw* OpenPswHeader(const QString& path);
    int ChoosePswSlot(CHeaderPsw& header, bool alwaysAsk);
    bool PswSlotFits(const QString& group, int slotWidth, int slotHeight) const;
    void PaintPswRows(const BYTE* rows, qint64 size, int width, int height, bool bottomUp, bool bitOneIsWhite);
    CBufferUC PackPswRows(int width, int height, bool bottomUp) const;
    bool ReadPswSlot(const QString& path, qint64 position, CBufferUC& block);
    bool PaintStoredBmp(const CBufferUC& block, int slotWidth, int slotHeight);
    bool WritePswSlot(const QString& path, const CHeaderPsw& header, qint64 position, const CBufferUC& block);
    int PswMessage(const QString& text, const QString& caption, UINT icon) const;
    // The stop box naming an upgrade file whose slot the logo cannot go in or come from.
    void ReportDamagedSlot(const QString& path) const;

    const CDocEnvironment& m_env;
    const CDocMessages& m_messages;
    CLogoPicture& m_picture;
    const CPrinterBinding& m_binding;
    CLogoBmpFile& m_bmpFile;
    std::function<void()> m_resetAfterLoad;
    std::function<void()> m_picturePainted;
    int m_bPswOk = 0;
    std::unique_ptr<CHeaderPsw> m_headerPsw;
};
