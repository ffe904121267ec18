#include "transfer/BlockSender.h"

#include "transfer/TransferHost.h"

namespace {

QString Line(const QString& caller, const QString& text)
{
    return QStringLiteral("[%1] %2").arg(caller, text);
}

} // namespace

BlockResult SendBlocks(const CBufferUC& stream, const CBlockPlan& plan, CTransferHost& host,
                       const CBlockSending& sending)
{
    const auto sendError = [&] {
        if (sending.onSendError)
            sending.onSendError();
        host.ProgressEnd();
        return BlockResult::Failed;
    };
    const qint64 needed = static_cast<qint64>(plan.LastBlockOffset()) + plan.lastBlockLength;
    if (stream.GetSize() < needed || plan.blockSize <= 0)
        return sendError(); // a plan that does not fit its stream would read past it

    host.ProgressStart(plan.steps, needed, sending.baud);
    host.Log(QStringLiteral("--- [%1] Log file for send data operation is initialized ---").arg(sending.caller));
    host.Log(Line(sending.caller, QStringLiteral("Begin send logo to printer")));

    const BYTE* position = stream.GetpBuf();
    for (int i = 0; i < plan.fullBlocks; ++i) {
        if (host.StopRequested()) {
            host.Log(Line(sending.caller, QStringLiteral("Process send data stopped by user at: %1-esimo data packet").arg(i)));
            host.ProgressEnd();
            return BlockResult::Stopped;
        }
        if (!sending.writeBlock(position, plan.blockSize))
            return sendError();
        host.ProgressStep(plan.blockSize);
        host.Log(Line(sending.caller, QStringLiteral("Block data: %1 succesfully send").arg(i)));
        position += plan.blockSize;
    }
    if (plan.HasLastBlock()) {
        if (!sending.writeBlock(position, plan.lastBlockLength))
            return sendError();
        host.ProgressStep(plan.lastBlockLength);
    }
    host.ProgressEnd();
    return BlockResult::Sent;
}
