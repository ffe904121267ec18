#include "EmuProtocol.h"

#include "components/LoadCfgPrnFile.h"

#include <QDir>
#include <algorithm>
#include <cstring>

namespace {

// Larger downloads are refused rather than buffered.
constexpr int kMaxLogoSide = 4096;
constexpr int kBmpHeaderSize = 62;

int Le16(const uint8_t* p) { return p[0] | (p[1] << 8); }
int Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (p[3] << 24); }

// The family rule of the serial transfer: the first five characters of the
// code, ignoring case, equal the family's code. A four-character family code
// thus names only itself: BDQGMLW is no flash-area printer.
bool FamilyIs(const QString& code, const char* family)
{
    return code.left(5).compare(QLatin1String(family), Qt::CaseInsensitive) == 0;
}

void PutTag(std::vector<uint8_t>& block, size_t& at, const char* tag)
{
    for (const char* c = tag; *c; ++c)
        block[at++] = static_cast<uint8_t>(*c);
}

void PutWords(std::vector<uint8_t>& block, size_t& at, uint16_t a, uint16_t b)
{
    block[at++] = static_cast<uint8_t>(a >> 8);
    block[at++] = static_cast<uint8_t>(a & 0xFF);
    block[at++] = static_cast<uint8_t>(b >> 8);
    block[at++] = static_cast<uint8_t>(b & 0xFF);
}

void PutText(std::vector<uint8_t>& block, size_t& at, const QString& text)
{
    const QByteArray bytes = text.toLatin1().left(16);
    for (const char c : bytes)
        block[at++] = static_cast<uint8_t>(c);
    block[at++] = 0;
}

} // namespace

bool CEmuModel::Load(const QString& dataDir, const QString& code, CEmuModel* model, QString* error)
{
    CLoadCfgPrnFile cfg;
    const QString path = QDir(dataDir).filePath(QStringLiteral("CfgFile/%1.cfg").arg(code));
    if (!cfg.LoadPublicCfgFile(path)) {
        *error = QStringLiteral("cannot read %1").arg(path);
        return false;
    }
    DWORD dotX = 0, dotY = 0, slotCount = 1, id = 0, baud = 9600;
    if (!cfg.GetOptionPrintersToTest(QStringLiteral("DotX"), &dotX)
        || !cfg.GetOptionPrintersToTest(QStringLiteral("DotY"), &dotY)
        || !cfg.GetOptionPrintersToTest(QStringLiteral("GSImodel"), &id)) {
        *error = QStringLiteral("%1 lacks DotX, DotY or GSImodel").arg(path);
        return false;
    }
    cfg.GetOptionPrintersToTest(QStringLiteral("NLoghi"), &slotCount);
    cfg.GetOptionPrintersToTest(QStringLiteral("BaudRate"), &baud);
    if (dotX == 0 || dotX % 8 || dotX > kMaxLogoSide || dotY == 0 || dotY > kMaxLogoSide) {
        *error = QStringLiteral("%1: unusable logo size").arg(path);
        return false;
    }
    model->code = code;
    model->dotX = static_cast<int>(dotX);
    model->dotY = static_cast<int>(dotY);
    model->slotCount = static_cast<int>(std::clamp<DWORD>(slotCount, 1, 99));
    model->id = static_cast<uint8_t>(id & 0xFF);
    model->baud = baud;
    int length = 0, second = 0;
    if (FamilyIs(code, "BDQG") || FamilyIs(code, "HVCZL") || FamilyIs(code, "FQ054"))
        model->family = Family::Area;
    else if (FamilyIs(code, "LR52-") || FamilyIs(code, "LB36"))
        model->family = Family::Echo;
    else if (cfg.GetNumBytePrintersComando(QStringLiteral("CmdPrtLogo01"), &length, &second))
        model->family = Family::Fiscal;
    else
        model->family = Family::Plain;
    return true;
}

uint16_t CEmuModel::InfoAddress() const
{
    return FamilyIs(code, "FQ054") ? 0x0480 : 0x8000;
}

uint16_t CEmuModel::LogoLast() const
{
    const int bytes = dotX * dotY / 8;
    const int rounded = (bytes + prnproto::kAreaBlockData - 1) / prnproto::kAreaBlockData
                        * prnproto::kAreaBlockData;
    return static_cast<uint16_t>(std::min(0xFFFF, LogoFirst() + rounded - 1));
}

CEmuProtocol::CEmuProtocol(const CEmuModel& model, CEmuPaper* paper, QString release, int subModel)
    : m_model(model), m_pPaper(paper), m_release(std::move(release)), m_subModel(subModel),
      m_baud(model.baud)
{
    if (m_model.family == CEmuModel::Family::Area) {
        m_memory.assign(0x10000, 0);
        const auto info = InfoBlock();
        std::copy(info.begin(), info.end(), m_memory.begin() + m_model.InfoAddress());
    }
}

std::vector<uint8_t> CEmuProtocol::InfoBlock() const
{
    std::vector<uint8_t> block(prnproto::kAreaBlockData, 0);
    size_t at = 0;
    PutTag(block, at, "PARAM:");
    PutWords(block, at, 0x0100, 0x01FF);
    PutTag(block, at, "FONTS:");
    PutWords(block, at, 0x2000, 0x7FFF);
    PutTag(block, at, "LOGOS:");
    PutWords(block, at, m_model.LogoFirst(), m_model.LogoLast());
    PutTag(block, at, "PROGR:");
    PutWords(block, at, 0x0000, 0x00FF);
    PutTag(block, at, "VECT.:");
    PutWords(block, at, 0xFF00, 0xFFFF);
    PutTag(block, at, "PR-ID:");
    block[at++] = m_model.id;
    PutTag(block, at, "PRREL:");
    PutText(block, at, m_release);
    PutTag(block, at, "PRMOD:");
    PutText(block, at, m_model.code.left(10));
    PutTag(block, at, "PRITF:");
    PutText(block, at, QStringLiteral("RS232"));
    PutTag(block, at, "PRFCT:");
    PutText(block, at, QStringLiteral("VIRTUAL"));
    return block;
}

CEmuLogo CEmuProtocol::FlashLogo(int slot) const
{
    const auto it = m_flash.find(slot);
    return it == m_flash.end() ? CEmuLogo() : it->second;
}

void CEmuProtocol::ResetParser()
{
    // A printer waiting for the first byte of a block or of the echoed logo
    // has nothing half-received: it keeps waiting (the parallel flash-area
    // transfer pauses a second after its frame).
    if (m_pending.empty() && m_held.empty())
        return;
    m_pending.clear();
    m_held.clear();
    m_state = State::Idle;
}

uint8_t CEmuProtocol::StatusByte() const
{
    return m_bOffline ? prnproto::kStatusFixedBits | prnproto::kStatusOffline : prnproto::kStatusFixedBits;
}

void CEmuProtocol::Consume(size_t n)
{
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<long>(std::min(n, m_pending.size())));
}

void CEmuProtocol::Feed(uint8_t byte, std::vector<uint8_t>& reply)
{
    if (m_state == State::Echo) {
        EchoByte(byte, reply);
        return;
    }
    if (m_state == State::AreaWrite) {
        m_pending.push_back(byte);
        if (m_pending.size() == static_cast<size_t>(prnproto::kAreaBlockSize))
            AreaBlock(reply);
        return;
    }
    const auto& request = prnproto::kStatusRequest;
    // A byte after a whole held request, or one that breaks the request off,
    // shows the held bytes were raster.
    if (!m_held.empty() && (HoldsStatusRequest() || byte != request[m_held.size()]))
        ReleaseHeld(reply);
    if (InDownload() && byte == request[m_held.size()]) {
        m_held.push_back(byte);
        return;
    }
    Parse(byte, reply);
}

void CEmuProtocol::Parse(uint8_t byte, std::vector<uint8_t>& reply)
{
    m_pending.push_back(byte);
    while (!m_pending.empty() && TryCommand(reply)) {
    }
}

// A logo download (ESC L or ESC B) has begun and waits for more bytes.
bool CEmuProtocol::InDownload() const
{
    return m_state == State::Idle && m_pending.size() >= 2 && m_pending[0] == 0x1B
           && (m_pending[1] == 0x4C || m_pending[1] == 0x42);
}

void CEmuProtocol::ReleaseHeld(std::vector<uint8_t>& reply)
{
    std::vector<uint8_t> held;
    held.swap(m_held);
    for (const uint8_t b : held)
        Parse(b, reply);
}

void CEmuProtocol::LineQuiet(std::vector<uint8_t>& reply)
{
    if (!HoldsStatusRequest())
        return;
    m_held.clear();
    reply.push_back(StatusByte());
}

// Returns true when bytes were consumed and parsing may go on.
bool CEmuProtocol::TryCommand(std::vector<uint8_t>& reply)
{
    const uint8_t first = m_pending[0];
    if (first == prnproto::kLineFeed) {
        ++m_lineFeeds;
        m_pPaper->FeedLine();
        Consume(1);
        return true;
    }
    if (first == prnproto::kStatusRequest[0]) {
        if (m_pending.size() < 3)
            return false;
        if (m_pending[1] == prnproto::kStatusRequest[1])
            reply.push_back(StatusByte());
        Consume(3);
        return true;
    }
    if (first == prnproto::kGs) {
        if (m_pending.size() < 3)
            return false;
        if (m_pending[1] == prnproto::kGsI)
            AnswerIdentification(m_pending[2], reply);
        Consume(3);
        return true;
    }
    if (first == 0x1B)
        return TryEscape(reply);
    Consume(1); // not a command: a printer skips it
    return true;
}

bool CEmuProtocol::TryEscape(std::vector<uint8_t>& reply)
{
    if (m_pending.size() < 2)
        return false;
    const uint8_t second = m_pending[1];
    auto need = [&](size_t n) { return m_pending.size() >= n; };
    switch (second) {
    case 0x7E:  // ESC ~ B n
        if (!need(4))
            return false;
        if (m_pending[2] == prnproto::kBaudSwitchPrefix[2])
            SwitchBaud(m_pending[3], reply);
        Consume(4);
        return true;
    case 0xFF:
        if (m_model.family == CEmuModel::Family::Echo) {
            if (!need(3))
                return false;
            if (m_pending[2] == prnproto::kEchoStart[2]) {
                m_state = State::Echo;
                m_echoBytes.clear();
                const bool trailing = m_model.id == 0x16 || m_model.id == 0x86;
                m_echoExpected = m_model.dotX * m_model.dotY / 8
                                 + (trailing ? prnproto::kEchoTrailingZeros : 0);
                reply.push_back(prnproto::kAck);
            }
            Consume(3);
            return true;
        }
        if (m_model.family == CEmuModel::Family::Area)
            return TryAreaFrame(reply);
        Consume(2);
        return true;
    case 0x4C:
        return TryDownload();
    case 0x42:
        return TryBitmapDownload();
    case 0x50:
        return TryPrint();
    case 0x46:  // ESC F n: RAM into flash slot n
        if (!need(3))
            return false;
        CopyRamToFlash(m_pending[2], reply);
        Consume(3);
        return true;
    case 0x52:  // ESC R n: flash slot n into RAM
        if (!need(3))
            return false;
        if (m_flash.count(m_pending[2]))
            m_ram = m_flash[m_pending[2]];
        Consume(3);
        return true;
    case 0x69:  // ESC i: total cut
        m_pPaper->Cut();
        Consume(2);
        return true;
    default:
        Consume(2);
        return true;
    }
}

bool CEmuProtocol::TryDownload()
{
    // ESC L s wL wH hL hH, then the rows, 1 = black.
    if (m_pending.size() < 7)
        return false;
    const int slot = m_pending[2];
    const int width = Le16(&m_pending[3]);
    const int height = Le16(&m_pending[5]);
    if (width == 0 || width % 8 || width > kMaxLogoSide || height == 0 || height > kMaxLogoSide) {
        Consume(7);
        return true;
    }
    const size_t total = 7 + static_cast<size_t>(width / 8) * height;
    if (m_pending.size() < total)
        return false;
    CEmuLogo logo;
    logo.width = width;
    logo.height = height;
    logo.bits.assign(m_pending.begin() + 7, m_pending.begin() + static_cast<long>(total));
    StoreLogo(slot, logo);
    Consume(total);
    return true;
}

bool CEmuProtocol::TryBitmapDownload()
{
    // ESC B s, a 62-byte BMP header, then rows of width/8 bytes bottom row
    // first; clear bits (palette entry 0) are black.
    const size_t headerEnd = 3 + kBmpHeaderSize;
    if (m_pending.size() < headerEnd)
        return false;
    const uint8_t* header = &m_pending[3];
    const int width = Le32(header + 18);
    const int height = Le32(header + 22);
    if (header[0] != 'B' || header[1] != 'M' || width <= 0 || width % 8 || width > kMaxLogoSide
        || height <= 0 || height > kMaxLogoSide) {
        Consume(headerEnd);
        return true;
    }
    const int rowBytes = width / 8;
    const size_t total = headerEnd + static_cast<size_t>(rowBytes) * height;
    if (m_pending.size() < total)
        return false;
    CEmuLogo logo;
    logo.width = width;
    logo.height = height;
    logo.bits.resize(static_cast<size_t>(rowBytes) * height);
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = &m_pending[headerEnd + static_cast<size_t>(height - 1 - y) * rowBytes];
        for (int i = 0; i < rowBytes; ++i)
            logo.bits[static_cast<size_t>(y) * rowBytes + i] = static_cast<uint8_t>(~src[i]);
    }
    StoreLogo(m_pending[2], logo);
    Consume(total);
    return true;
}

bool CEmuProtocol::TryPrint()
{
    const bool fiscal = m_model.family == CEmuModel::Family::Fiscal;
    const size_t size = fiscal && m_pending.size() >= 3 && m_pending[2] != 0 ? 4 : 3;
    if (m_pending.size() < size)
        return false;
    PrintSlot(m_pending[2], size == 4 ? m_pending[3] : 0xFF);
    Consume(size);
    return true;
}

void CEmuProtocol::StoreLogo(int slot, const CEmuLogo& logo)
{
    m_ram = logo;
    if (slot >= 1 && slot <= m_model.slotCount)
        m_flash[slot] = logo;
}

void CEmuProtocol::CopyRamToFlash(uint8_t slot, std::vector<uint8_t>& reply)
{
    const bool stored = slot >= 1 && slot <= m_model.slotCount && !m_ram.IsEmpty();
    if (stored)
        m_flash[slot] = m_ram;
    // Only this model confirms the copy; it refuses a slot it lacks or an empty RAM.
    if (m_model.code == QLatin1String("MZVZVRXH"))
        reply.push_back(stored ? prnproto::kAck : prnproto::kNak);
}

void CEmuProtocol::PrintSlot(int slot, int part)
{
    const CEmuLogo logo = slot == 0 ? m_ram : FlashLogo(slot);
    if (logo.IsEmpty())
        return;
    if (part >= 1 && part <= 4) {
        const int band = logo.height / 4;
        m_pPaper->PrintLogo(logo.Band((part - 1) * band, band));
        return;
    }
    m_pPaper->PrintLogo(logo);
}

void CEmuProtocol::AnswerIdentification(uint8_t which, std::vector<uint8_t>& reply)
{
    auto text = [&](const QString& t) {
        for (const char c : t.toLatin1())
            reply.push_back(static_cast<uint8_t>(c));
        reply.push_back(0);
    };
    switch (which) {
    case prnproto::kIdModel:
        reply.push_back(m_model.id);
        break;
    case prnproto::kIdSubModel:
        reply.push_back(static_cast<uint8_t>(m_subModel));
        reply.insert(reply.end(), static_cast<size_t>(std::max(0, m_subModelLength - 1)), 0);
        break;
    case prnproto::kIdSoftwareRelease:
    case prnproto::kIdFirmwareRelease:
        text(m_release);
        break;
    default:
        break;
    }
}

void CEmuProtocol::SwitchBaud(uint8_t code, std::vector<uint8_t>& reply)
{
    if (code >= prnproto::kBaudByCode.size()) {
        reply.push_back(prnproto::kNak);
        return;
    }
    reply.push_back(prnproto::kAck);
    m_baud = prnproto::kBaudByCode[code];
}

bool CEmuProtocol::TryAreaFrame(std::vector<uint8_t>& reply)
{
    if (m_pending.size() < static_cast<size_t>(prnproto::kAreaFrameSize))
        return false;
    const uint8_t* f = m_pending.data();
    const uint16_t first = static_cast<uint16_t>(f[2] << 8 | f[3]);
    const uint16_t last = static_cast<uint16_t>(f[4] << 8 | f[5]);
    const uint8_t op = f[6];
    const bool checksumOk = prnproto::Checksum(f, 7) == f[7];
    Consume(prnproto::kAreaFrameSize);
    if (op == prnproto::kAreaRead) {
        // Always 129 bytes, so a reader never waits for a missing rest.
        bool ok = checksumOk && last >= first && last - first + 1 == prnproto::kAreaBlockData;
        if (ok && m_script.infoErrors > 0) {
            --m_script.infoErrors;
            ok = false;
        }
        reply.push_back(ok ? prnproto::kAreaAccepted : prnproto::kAreaChecksumError);
        for (int i = 0; i < prnproto::kAreaBlockData; ++i)
            reply.push_back(ok ? m_memory[first + i] : 0);
        return true;
    }
    auto answer = [&](uint8_t status, uint16_t address) {
        reply.push_back(status);
        reply.push_back(static_cast<uint8_t>(address >> 8));
        reply.push_back(static_cast<uint8_t>(address & 0xFF));
    };
    if (!checksumOk) {
        answer(prnproto::kAreaChecksumError, first);
        return true;
    }
    if (op != prnproto::kAreaWrite || last < first || first < m_model.LogoFirst()
        || last > m_model.LogoLast()) {
        answer(prnproto::kAreaSeriousError, 0);
        return true;
    }
    if (m_script.completeFirst) {
        answer(prnproto::kAreaComplete, 0);
        return true;
    }
    m_areaFirst = first;
    m_areaLast = last;
    m_areaNext = first;
    m_state = State::AreaWrite;
    answer(prnproto::kAreaAccepted, first);
    return true;
}

std::optional<uint8_t> CEmuProtocol::ForcedAreaReply(int index)
{
    if (index == m_script.seriousAt)
        return prnproto::kAreaSeriousError;
    if (index == m_script.unknownAt)
        return uint8_t{0x77};
    if (index >= m_script.checksumFrom && m_script.checksumErrors > 0) {
        --m_script.checksumErrors;
        return prnproto::kAreaChecksumError;
    }
    return std::nullopt;
}

void CEmuProtocol::AreaBlock(std::vector<uint8_t>& reply)
{
    auto answer = [&](uint8_t status, uint16_t address) {
        reply.push_back(status);
        reply.push_back(static_cast<uint8_t>(address >> 8));
        reply.push_back(static_cast<uint8_t>(address & 0xFF));
    };
    const bool checksumOk =
        prnproto::Checksum(m_pending.data(), prnproto::kAreaBlockData) == m_pending[prnproto::kAreaBlockData];
    const int index = m_areaBlockIndex++;
    if (index == m_script.zeroAddressAt || (m_script.askAgainFrom >= 0 && index >= m_script.askAgainFrom)) {
        m_pending.clear();
        if (index == m_script.zeroAddressAt)
            answer(prnproto::kAreaChecksumError, 0);
        else
            answer(prnproto::kAreaAccepted, m_areaNext);
        return;
    }
    const std::optional<uint8_t> forced = ForcedAreaReply(index);
    if (!checksumOk || forced) {
        m_pending.clear();
        const uint8_t status = forced ? *forced : prnproto::kAreaChecksumError;
        // After a serious error or an unknown status the printer waits for a new frame.
        if (status != prnproto::kAreaChecksumError)
            m_state = State::Idle;
        answer(status, m_areaNext);
        return;
    }
    // A block starting near the top of the address space is cut at its end
    // instead of being written past the memory.
    const size_t fits = std::min<size_t>(prnproto::kAreaBlockData, m_memory.size() - m_areaNext);
    std::copy(m_pending.begin(), m_pending.begin() + static_cast<long>(fits), m_memory.begin() + m_areaNext);
    const long bad = static_cast<long>(m_model.LogoFirst()) + m_script.badByteAt;
    if (m_script.badByteAt >= 0 && bad >= m_areaNext && bad < static_cast<long>(m_areaNext + fits))
        m_memory[static_cast<size_t>(bad)] ^= 0xFF;
    m_pending.clear();
    const unsigned next = m_areaNext + static_cast<unsigned>(prnproto::kAreaBlockData);
    if (next > m_areaLast) {
        m_state = State::Idle;
        StoreArea();
        answer(prnproto::kAreaComplete, 0);
        return;
    }
    m_areaNext = static_cast<uint16_t>(next);
    answer(prnproto::kAreaAccepted, m_areaNext);
}

void CEmuProtocol::StoreArea()
{
    CEmuLogo logo;
    logo.width = m_model.dotX;
    logo.height = m_model.dotY;
    const size_t bytes = static_cast<size_t>(m_model.dotX / 8) * m_model.dotY;
    const auto begin = m_memory.begin() + m_model.LogoFirst();
    logo.bits.assign(begin, begin + static_cast<long>(std::min<size_t>(bytes, m_memory.size() - m_model.LogoFirst())));
    logo.bits.resize(bytes, 0);
    StoreLogo(1, logo);
}

void CEmuProtocol::EchoByte(uint8_t byte, std::vector<uint8_t>& reply)
{
    m_echoBytes.push_back(byte);
    reply.push_back(prnproto::kAck);
    if (static_cast<int>(m_echoBytes.size()) < m_echoExpected)
        return;
    m_state = State::Idle;
    CEmuLogo logo;
    logo.width = m_model.dotX;
    logo.height = m_model.dotY;
    logo.bits.assign(m_echoBytes.begin(), m_echoBytes.begin() + m_model.dotX / 8 * m_model.dotY);
    StoreLogo(1, logo);
    m_echoBytes.clear();
}
