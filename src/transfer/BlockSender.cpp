#include "transfer/BlockSender.h"

#include "transfer/TransferHost.h"

namespace {

QString Line(const QString& caller, const QString& text)
{
    return QStringLiteral("[%1] %2").arg(caller, text);
}

} // namespace

CStepBatch::CStepBatch(CTransferHost& host, const QString& caller)
    : m_host(host)
    , m_caller(caller)
{
    m_sinceFlush.start();
}

void CStepBatch::Add(int index, qint64 bytes)
{
    if (m_steps == 0)
        m_firstIndex = index;
    m_lastIndex = index;
    ++m_steps;
    m_bytes += bytes;
    // The first block shows at once that the transfer moves.
    if (!m_bFlushed || m_sinceFlush.elapsed() >= kStepBatchMs)
        Flush();
}

void CStepBatch::Flush()
{
    m_sinceFlush.restart();
    if (m_steps == 0)
        return;
    m_bFlushed = true;
    m_host.ProgressStep(m_bytes, m_steps);
    if (m_firstIndex == m_lastIndex)
        m_host.Log(Line(m_caller, QStringLiteral("Block data: %1 succesfully send").arg(m_firstIndex)));
    else
        m_host.Log(Line(m_caller, QStringLiteral("Block data: %1 to %2 succesfully send").arg(m_firstIndex).arg(m_lastIndex)));
    m_steps = 0;
    m_bytes = 0;
}

BlockResult SendBlocks(const CBufferUC& stream, const CBlockPlan& plan, CTransferHost& host,
                       const CBlockSending& sending)
{
    CStepBatch batch(host, sending.caller);
    const auto sendError = [&] {
        batch.Flush();
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
    host.Log(Line(sending.caller, sending.namesBlockCount
                                      ? QStringLiteral("Begin send logo to printer (%1)").arg(plan.steps)
                                      : QStringLiteral("Begin send logo to printer")));
    if (sending.beforeFirstBlock)
        sending.beforeFirstBlock();

    const BYTE* position = stream.GetpBuf();
    for (int i = 0; i < plan.fullBlocks; ++i) {
        if (host.StopRequested()) {
            batch.Flush();
            host.Log(Line(sending.caller, QStringLiteral("Process send data stopped by user at: %1-esimo data packet").arg(i)));
            host.ProgressEnd();
            return BlockResult::Stopped;
        }
        if (!sending.writeBlock(position, plan.blockSize))
            return sendError();
        batch.Add(i, plan.blockSize);
        position += plan.blockSize;
    }
    if (plan.HasLastBlock()) {
        if (!sending.writeBlock(position, plan.lastBlockLength))
            return sendError();
        batch.Add(plan.fullBlocks, plan.lastBlockLength);
    }
    batch.Flush();
    host.ProgressEnd();
    return BlockResult::Sent;
}
