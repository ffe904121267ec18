#pragma once
// The one block-sending loop of every transfer path: the stop test before each
// full block, the write, the progress step and the log lines under the
// caller's name. The serial, parallel and USB transfers differ only in how a
// block is written.
#include "components/BufferUC.h"
#include "transfer/BlockPlan.h"

#include <QElapsedTimer>
#include <QString>
#include <functional>

class CTransferHost;

enum class BlockResult { Sent, Stopped, Failed };

struct CBlockSending {
    // The name the log lines carry, e.g. "CGlyphaneView::SendDataToGeneric()".
    QString caller;
    // Writes one block; false is a send error.
    std::function<bool(const BYTE* bytes, int length)> writeBlock;
    // Shown on a send error before the progress dialog closes.
    std::function<void()> onSendError;
    // The line speed, for the progress dialog's figures (0 where there is none).
    DWORD baud = 0;
    // The block count the "Begin send" line names, where the caller's log has it.
    bool namesBlockCount = false;
    // Runs after the opening log lines, before the first block (may be empty).
    std::function<void()> beforeFirstBlock;
};

// Hands the steps of a fast loop to the host in batches, at most one message
// per kStepBatchMs, so a loop of one-byte blocks does not flood the progress
// dialog and the log; a slow loop still reports every block on its own.
class CStepBatch {
public:
    static constexpr int kStepBatchMs = 40;
    CStepBatch(CTransferHost& host, const QString& caller);
    // Block index has been written with bytes bytes.
    void Add(int index, qint64 bytes);
    // Hands over what is pending (at the end, a stop or an error).
    void Flush();

private:
    CTransferHost& m_host;
    QString m_caller;
    QElapsedTimer m_sinceFlush;
    int m_firstIndex = -1;
    int m_lastIndex = -1;
    int m_steps = 0;
    qint64 m_bytes = 0;
    bool m_bFlushed = false;
};

// Sends stream as plan cuts it: WM_PROGRESS_START with the plan's steps, every
// full block after a stop test, then the last partial block (with its tail,
// which the stream must hold) without one; WM_PROGRESS_END on every exit.
BlockResult SendBlocks(const CBufferUC& stream, const CBlockPlan& plan, CTransferHost& host,
                       const CBlockSending& sending);
