#include "transfer/SendOptions.h"

#include "printer/PrinterLink.h"

namespace {

std::optional<rasterops::FrameKind> FrameOf(SendOption option)
{
    switch (option) {
    case SendOption::ThinFrame:
        return rasterops::FrameKind::Thin;
    case SendOption::BoldFrame:
        return rasterops::FrameKind::Bold;
    case SendOption::DoubleFrame:
        return rasterops::FrameKind::Double;
    default:
        return std::nullopt;
    }
}

} // namespace

CSendOptions::CSendOptions(CPrinterLink& link)
    : m_link(link)
{
}

bool CSendOptions::IsOn(SendOption option) const
{
    switch (option) {
    case SendOption::ReverseImage:
        return m_bReverseImage;
    case SendOption::ReverseRow:
        return m_bReverseRow;
    case SendOption::ReverseColor:
        return m_bReverseColor;
    default:
        return m_frame.has_value() && m_frame == FrameOf(option);
    }
}

void CSendOptions::Toggle(SendOption option)
{
    switch (option) {
    case SendOption::ReverseImage:
        m_bReverseImage = !m_bReverseImage;
        break;
    case SendOption::ReverseRow:
        m_bReverseRow = !m_bReverseRow;
        break;
    case SendOption::ReverseColor:
        m_bReverseColor = !m_bReverseColor;
        break;
    default:
        m_frame = IsOn(option) ? std::nullopt : FrameOf(option);
        break;
    }
    m_link.ClearLogoInRam();
}

std::optional<rasterops::FrameKind> CSendOptions::Frame() const
{
    return m_frame;
}

CSendChoices CSendOptions::Choices() const
{
    return CSendChoices{m_bReverseImage, m_bReverseRow, m_bReverseColor, m_frame};
}
