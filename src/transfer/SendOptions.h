#pragma once
// How a logo is sent: the three reversals and at most one frame. The
// printer's RAM copy was made with the options of its time, so any change
// clears "logo in RAM" on the printer link.
#include "document/RasterOps.h"
#include "transfer/TransferRequest.h"

#include <optional>

class CPrinterLink;

enum class SendOption { ReverseImage, ReverseRow, ReverseColor, ThinFrame, BoldFrame, DoubleFrame };

class CSendOptions {
public:
    explicit CSendOptions(CPrinterLink& link);

    bool IsOn(SendOption option) const;
    // A reversal flips; a frame switches the other two off, and again switches
    // itself off.
    void Toggle(SendOption option);
    // The frame chosen, if any.
    std::optional<rasterops::FrameKind> Frame() const;
    // All of them, as a transfer job takes them.
    CSendChoices Choices() const;

private:
    CPrinterLink& m_link;
    bool m_bReverseImage = false;
    bool m_bReverseRow = false;
    bool m_bReverseColor = false;
    std::optional<rasterops::FrameKind> m_frame;
};
