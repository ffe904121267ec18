// Whole logo streams, built the way the transfer builds them for each printer
// family and sent the way it sends them (a status request before every
// block), arrive in the virtual printer's RAM and slots dot for dot; and the
// printer's answers to the requests around a transfer.
#include "SerialFixture.h"

#include <QImage>
#include <vector>

using serialtest::PrinterFixture;
using serialtest::WaitFor;

namespace {

const std::vector<BYTE> kStatusRequest{0x10, 0x04, 0x01};
const std::vector<BYTE> kPrintRam{0x1B, 0x50, 0x00};
const std::vector<BYTE> kTotalCut{0x1B, 0x69};

// A logo (1 = black, top row first) whose raster holds every byte value and,
// inside blocks, the bytes of a status request, a download, an
// identification request and a line feed: raster must never be read as
// commands.
CEmuLogo PatternLogo(int width, int height)
{
    CEmuLogo logo;
    logo.width = width;
    logo.height = height;
    const int size = width / 8 * height;
    logo.bits.resize(static_cast<size_t>(size));
    for (int i = 0; i < size; ++i)
        logo.bits[static_cast<size_t>(i)] = static_cast<BYTE>(i * 37 + (i / 72) * 11);
    const std::vector<BYTE> lookalikes{0x10, 0x04, 0x01, 0x1B, 0x4C, 0x00, 0x0A, 0x1D, 0x49, 0x31, 0x10, 0x04, 0x01};
    for (const int at : {size / 5, size / 2, size / 10 * 9})
        if (at + static_cast<int>(lookalikes.size()) <= size)
            std::copy(lookalikes.begin(), lookalikes.end(), logo.bits.begin() + at);
    return logo;
}

void PutLe(std::vector<BYTE>& bytes, uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        bytes.push_back(static_cast<BYTE>(value >> (8 * i)));
}

// The 62-byte header of a 1-bit BMP: file header, 40-byte info header,
// palette entry 0 black and entry 1 white.
std::vector<BYTE> BmpHeader(int width, int height)
{
    const uint32_t image = static_cast<uint32_t>(width / 8 * height);
    std::vector<BYTE> h{'B', 'M'};
    PutLe(h, image + 62, 4);
    PutLe(h, 0, 4);
    PutLe(h, 62, 4);
    PutLe(h, 40, 4);
    PutLe(h, static_cast<uint32_t>(width), 4);
    PutLe(h, static_cast<uint32_t>(height), 4);
    PutLe(h, 1, 2);
    PutLe(h, 1, 2);
    PutLe(h, 0, 4);
    PutLe(h, image, 4);
    PutLe(h, 8000, 4);
    PutLe(h, 8000, 4);
    PutLe(h, 2, 4);
    PutLe(h, 2, 4);
    PutLe(h, 0x00000000, 4);
    PutLe(h, 0x00FFFFFF, 4);
    return h;
}

// The rows of a BMP-family download: bottom row first, uncomplemented
// (clear bits are the dots).
std::vector<BYTE> BottomUpClearIsBlack(const CEmuLogo& logo)
{
    std::vector<BYTE> rows;
    const int rowBytes = logo.RowBytes();
    for (int y = logo.height - 1; y >= 0; --y)
        for (int i = 0; i < rowBytes; ++i)
            rows.push_back(static_cast<BYTE>(~logo.bits[static_cast<size_t>(y) * rowBytes + i]));
    return rows;
}

// Sends stream as the transfer does: blocks of blockSize, each after a status
// request answered "on line"; the last, partial block goes tail bytes longer
// (zeros past the end of the stream). Returns what the printer should have
// received, in order.
std::vector<BYTE> SendLikeTheTransfer(CsComAm& port, const std::vector<BYTE>& stream, int blockSize, int tail)
{
    std::vector<BYTE> padded = stream;
    padded.resize(stream.size() + static_cast<size_t>(tail), 0);
    std::vector<BYTE> sent;
    for (size_t at = 0; at < stream.size(); at += static_cast<size_t>(blockSize)) {
        const size_t rest = stream.size() - at;
        const size_t length = rest >= static_cast<size_t>(blockSize) ? blockSize : rest + tail;
        EXPECT_TRUE(port.IsPrinterOn(0)) << "before the block at " << at << ": "
                                         << port.LastErrorText().toStdString();
        EXPECT_TRUE(port.SendCommandToComm(padded.data() + at, static_cast<DWORD>(length)));
        sent.insert(sent.end(), kStatusRequest.begin(), kStatusRequest.end());
        sent.insert(sent.end(), padded.begin() + static_cast<long>(at), padded.begin() + static_cast<long>(at + length));
    }
    return sent;
}

void ExpectPageStartsWith(const QString& path, const CEmuLogo& logo)
{
    const QImage page(path);
    ASSERT_FALSE(page.isNull()) << path.toStdString();
    ASSERT_GE(page.height(), logo.height);
    ASSERT_EQ(page.width(), logo.width);
    for (int y = 0; y < logo.height; ++y)
        for (int x = 0; x < logo.width; ++x)
            ASSERT_EQ(qGray(page.pixel(x, y)) < 128, logo.IsBlack(x, y)) << x << "," << y;
}

struct StreamCase {
    const char* model;
    const char* release;
    const char* speedSwitch;    // the host's speed change, or none
    unsigned baud;              // the speed the stream goes at
    std::vector<BYTE> command;  // the transfer command of the configuration file
    int width;
    int height;
    bool bmp;                   // BMP header and bottom-up uncomplemented rows follow
    int blockSize;
    int tail;                   // zero bytes sent past the stream's end
    int slot;                   // the slot the command stores into; 0: RAM only
};

std::vector<BYTE> BuildStream(const StreamCase& c, const CEmuLogo& logo)
{
    std::vector<BYTE> stream = c.command;
    if (c.bmp) {
        const std::vector<BYTE> header = BmpHeader(c.width, c.height);
        const std::vector<BYTE> rows = BottomUpClearIsBlack(logo);
        stream.insert(stream.end(), header.begin(), header.end());
        stream.insert(stream.end(), rows.begin(), rows.end());
    } else {
        stream.insert(stream.end(), logo.bits.begin(), logo.bits.end());
    }
    return stream;
}

} // namespace

// Each family of the generic serial transfer, from the release check and the
// speed change to the printed test page or the copy into flash.
TEST_F(PrinterFixture, GenericStreamsOfEachFamilyLandInRamAndSlots)
{
    const std::vector<StreamCase> cases{
        {"WGJ33", "1.80", "C0384XXnoP8bt", 38400, {0x1B, 0x4C, 0x00, 0x40, 0x02, 0xF0, 0x00}, 576, 240, false, 2048, 0, 0},
        {"VXCC5007", "1.00", "C1152XXnoP8bt", 115200, {0x1B, 0x4C, 0x03, 0x40, 0x02, 0xF0, 0x00}, 576, 240, false, 2048, 0, 3},
        {"XNZ11", "0.40", "C1152XXnoP8bt", 115200, {0x1B, 0x4C, 0x05, 0x40, 0x02, 0xF0, 0x00}, 576, 240, false, 2048, 0, 5},
        {"BDQGMLW", "1.00", "C1152XXnoP8bt", 115200, {0x1B, 0x42, 0x02}, 384, 240, true, 1536, 0, 2},
        {"DVW85", "1.00", nullptr, 9600, {0x1B, 0x4C, 0x00, 0x80, 0x02, 0x80, 0x00}, 640, 128, false, 2048, 32, 0},
        {"MLQDGGQF", "1.00", "C38400XXnoP8bt", 38400, {0x1B, 0x4C, 0x01, 0x80, 0x01, 0xF0, 0x00}, 384, 240, false, 2048, 0, 1},
    };
    for (const StreamCase& c : cases) {
        SCOPED_TRACE(c.model);
        CEmuOptions options = Options(QString::fromLatin1(c.model));
        options.release = QString::fromLatin1(c.release);
        options.recordInput = true;
        StartPrinter(options);
        CsComAm port;
        OpenPort(port, QString::fromLatin1(c.model));
        EXPECT_EQ(port.GetReleaseSwStampante(), options.release);
        EXPECT_EQ(port.GetReleaseFirmwareWgj33(), options.release);
        if (c.speedSwitch) {
            ASSERT_TRUE(port.SetAutomaticComPort(QString::fromLatin1(c.speedSwitch)))
                << port.LastErrorText().toStdString();
        }
        ASSERT_EQ(m_printer->CurrentBaud(), c.baud);
        m_printer->TakeReceivedBytes();

        const CEmuLogo logo = PatternLogo(c.width, c.height);
        const std::vector<BYTE> sent = SendLikeTheTransfer(port, BuildStream(c, logo), c.blockSize, c.tail);
        ASSERT_TRUE(port.IsPrinterOn(0)) << "the parser is free again after the stream";
        ASSERT_TRUE(WaitFor([&] { return m_printer->RamLogo().height == c.height; }));
        const CEmuLogo ram = m_printer->RamLogo();
        EXPECT_EQ(ram.width, c.width);
        EXPECT_TRUE(ram.bits == logo.bits) << "RAM differs from the logo sent";
        std::vector<BYTE> received = m_printer->TakeReceivedBytes();
        ASSERT_EQ(received.size(), sent.size() + kStatusRequest.size());
        EXPECT_TRUE(std::equal(sent.begin(), sent.end(), received.begin()));
        // Padding and raster were neither fed, cut nor printed.
        EXPECT_EQ(m_printer->LineFeeds(), 0);
        EXPECT_EQ(m_printer->Cuts(), 0);

        // The slot the command names, or a copy of RAM into slot 2 by its number.
        const int slot = c.slot ? c.slot : 2;
        if (!c.slot) {
            const BYTE ramToFlash[] = {0x1B, 0x46, 0x02};
            ASSERT_TRUE(port.SendCommandToComm(ramToFlash, 3));
        }
        ASSERT_TRUE(WaitFor([&] { return !m_printer->FlashLogo(slot).IsEmpty(); }));
        EXPECT_TRUE(m_printer->FlashLogo(slot).bits == logo.bits);

        // A test ends with print RAM, six line feeds and a cut: one page.
        ASSERT_TRUE(port.SendCommandToComm(kPrintRam.data(), 3));
        ASSERT_TRUE(port.NLfOutput(6));
        ASSERT_TRUE(port.SendCommandToComm(kTotalCut.data(), 2));
        ASSERT_TRUE(WaitFor([&] { return m_printer->Pages().size() == 1; }));
        ExpectPageStartsWith(m_printer->Pages().first(), logo);
        EXPECT_EQ(QImage(m_printer->Pages().first()).height(), c.height + 6 * CEmuPaper::kLineHeight);
        EXPECT_EQ(m_printer->BytesIgnored(), 0);
        port.DeInitializePort();
    }
}

// MZVZVRXH confirms a copy of RAM into flash with AA, and refuses one it
// cannot make, so the host can tell success from failure.
TEST_F(PrinterFixture, RamToFlashConfirmationOfMzvzvrxh)
{
    CEmuOptions options = Options(QStringLiteral("MZVZVRXH"));
    StartPrinter(options);
    CsComAm port;
    OpenPort(port, QStringLiteral("MZVZVRXH"));
    ASSERT_TRUE(port.SetAutomaticComPort(QStringLiteral("C38400XXnoP8bt")));
    auto ramToFlash = [&](BYTE slot) {
        const BYTE command[] = {0x1B, 0x46, slot};
        BYTE answer = 0;
        DWORD length = 1;
        EXPECT_TRUE(port.SendCommandToComm(command, 3, &answer, &length, nullptr));
        return answer;
    };
    EXPECT_EQ(ramToFlash(1), 0x99) << "nothing in RAM yet";
    const CEmuLogo logo = PatternLogo(832, 240);
    std::vector<BYTE> stream{0x1B, 0x4C, 0x00, 0x40, 0x03, 0xF0, 0x00};
    stream.insert(stream.end(), logo.bits.begin(), logo.bits.end());
    SendLikeTheTransfer(port, stream, 2048, 0);
    EXPECT_EQ(ramToFlash(2), 0xAA);
    EXPECT_TRUE(m_printer->FlashLogo(2).bits == logo.bits);
    EXPECT_EQ(ramToFlash(3), 0x99) << "the model has two slots";
    ASSERT_TRUE(port.SetAutomaticComPort(QStringLiteral("C9600XXnoP8bt")));
}

// The release the host checks before choosing a speed: GS I 3 and GS I A
// both report the configured text, on either side of each model's limit.
TEST_F(PrinterFixture, ReleasesAroundTheFirmwareLimits)
{
    for (const auto& [model, release] : std::vector<std::pair<QString, QString>>{
             {"XNZ11", "0.39"}, {"XNZ11", "0.40"}, {"WGJ33", "1.79"}, {"WGJ33", "1.80"}}) {
        SCOPED_TRACE((model + " " + release).toStdString());
        CEmuOptions options = Options(model);
        options.release = release;
        StartPrinter(options);
        CsComAm port;
        OpenPort(port, model);
        EXPECT_EQ(port.GetReleaseSwStampante(), release);
        EXPECT_EQ(port.GetReleaseFirmwareWgj33(), release);
        port.DeInitializePort();
    }
}

// silent-after=N: the printer goes on taking and storing bytes but answers
// nothing past the Nth, so a host waiting for a status answer times out while
// the line stays up; disconnect-after closes the line instead.
TEST_F(PrinterFixture, SilentAfterTakesBytesButAnswersNothing)
{
    CEmuOptions options = Options(QStringLiteral("WGJ33"));
    options.recordInput = true;
    ASSERT_TRUE(ParseEmuFault(QStringLiteral("silent-after=6"), &options.fault));
    StartPrinter(options);
    CsComAm port;
    OpenPort(port, QStringLiteral("WGJ33"));
    EXPECT_TRUE(port.GetStatusPrinter(0));
    EXPECT_TRUE(port.GetStatusPrinter(0)) << "bytes 4 to 6 are still answered";
    EXPECT_FALSE(port.IsPrinterOn(0));
    const CEmuLogo logo = PatternLogo(64, 8);
    std::vector<BYTE> stream{0x1B, 0x4C, 0x00, 64, 0, 8, 0};
    stream.insert(stream.end(), logo.bits.begin(), logo.bits.end());
    ASSERT_TRUE(port.SendCommandToComm(stream.data(), static_cast<DWORD>(stream.size())));
    ASSERT_TRUE(WaitFor([&] { return m_printer->RamLogo().bits == logo.bits; }));
    EXPECT_FALSE(port.GetStatusPrinter(0));
    BYTE id = 0xFF;
    EXPECT_FALSE(port.GetModelToThePrinter(&id));
    EXPECT_FALSE(m_printer->IsDisconnected());
    ASSERT_TRUE(WaitFor([&] { return m_printer->BytesUnderstood() == 9 + 7 + 64 + 3 + 3; }));
    EXPECT_EQ(m_printer->TakeReceivedBytes().size(), 9u + stream.size() + 6u);
}

// The parser on its own: a status request in a download's raster is held
// until the next byte shows it was raster, or the line falls quiet.
TEST(EmulatorDownload, StatusRequestInsideTheRasterIsHeldUntilTheLineIsQuiet)
{
    CEmuModel model;
    model.code = QStringLiteral("WGJ33");
    model.dotX = 16;
    model.dotY = 3;
    CEmuPaper paper(model.dotX, QString());
    CEmuProtocol protocol(model, &paper, QStringLiteral("1.80"), 1);
    std::vector<uint8_t> reply;
    auto feed = [&](const std::vector<uint8_t>& bytes) {
        for (const uint8_t b : bytes)
            protocol.Feed(b, reply);
    };
    // Raster 10 10 04 01 then more raster: all of it is dots.
    feed({0x1B, 0x4C, 0x00, 16, 0, 3, 0, 0x10, 0x10, 0x04, 0x01});
    EXPECT_TRUE(protocol.HoldsStatusRequest());
    feed({0x0A});
    EXPECT_TRUE(reply.empty());
    EXPECT_TRUE(protocol.RamLogo().IsEmpty());
    // The last raster byte is still missing when a real request comes: the
    // quiet line makes it a request, and the byte after it ends the download.
    feed({0x10, 0x04, 0x01});
    EXPECT_TRUE(reply.empty());
    protocol.LineQuiet(reply);
    EXPECT_EQ(reply, (std::vector<uint8_t>{0x12}));
    EXPECT_FALSE(protocol.HoldsStatusRequest());
    reply.clear();
    feed({0x77});
    EXPECT_EQ(protocol.RamLogo().bits, (std::vector<unsigned char>{0x10, 0x10, 0x04, 0x01, 0x0A, 0x77}));
    EXPECT_TRUE(reply.empty());
    // Outside a download the request is answered at once, quiet or not.
    feed({0x10, 0x04, 0x01});
    EXPECT_EQ(reply, (std::vector<uint8_t>{0x12}));
}
