#pragma once
// The transfer the transfer benchmarks send: "Test Logo" of a 576 x 240
// pattern logo to a WGJ33 on COM1, with the build's printer configuration.
#include "transfer/TransferRequest.h"

#include <QImage>

namespace bench {

constexpr int kTransferLogoWidth = 576;
constexpr int kTransferLogoHeight = 240;

inline QImage PatternLogo()
{
    QImage logo(kTransferLogoWidth, kTransferLogoHeight, QImage::Format_RGB32);
    for (int y = 0; y < kTransferLogoHeight; ++y)
        for (int x = 0; x < kTransferLogoWidth; ++x)
            logo.setPixel(x, y, (x * 3 + y * 5) % 7 == 0 ? 0xFF000000u : 0xFFFFFFFFu);
    return logo;
}

inline CTransferRequest Wgj33TestRequest()
{
    CTransferRequest request;
    request.kind = TransferKind::Test;
    request.logo = PatternLogo();
    request.logoWidth = kTransferLogoWidth;
    request.logoHeight = kTransferLogoHeight;
    request.dotX = kTransferLogoWidth;
    request.dotY = kTransferLogoHeight;
    request.model = QStringLiteral("WGJ33");
    request.portName = QStringLiteral("COM1");
    request.expectedId = 51;
    request.printerCfg.LoadPublicCfgFile(QStringLiteral(GLYPHANE_BENCH_PROGRAM_DIR "CfgFile/WGJ33.cfg"));
    request.flags.wgjPrinter = true;
    return request;
}

} // namespace bench
