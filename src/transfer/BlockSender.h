#pragma once
// The one block-sending loop of every transfer path: the stop test before each
// full block, the write, the progress step and the log lines under the
// caller's name. The serial, parallel and USB transfers differ only in how a
// block is written.
#include "components/BufferUC.h"
#include "transfer/BlockPlan.h"

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
};

// Sends stream as plan cuts it: WM_PROGRESS_START with the plan's steps, every
// full block after a stop test, then the last partial block (with its tail,
// which the stream must hold) without one; WM_PROGRESS_END on every exit.
BlockResult SendBlocks(const CBufferUC& stream, const CBlockPlan& plan, CTransferHost& host,
                       const CBlockSending& sending);
