#pragma once
// How a stream is cut into the blocks of one write each: full blocks, then
// one shorter last block carrying the model's tail bytes. A stream that ends
// on a block boundary has no last block and therefore sends no tail.

struct CBlockPlan {
    int blockSize = 0;
    int fullBlocks = 0;      // written one by one, the stop tested before each
    int lastBlockLength = 0; // the remainder plus the tail; 0 = no last block
    int steps = 0;           // progress steps: one per write

    bool HasLastBlock() const { return lastBlockLength > 0; }
    int LastBlockOffset() const { return fullBlocks * blockSize; }
};

// streamLength >= 0 data bytes in blocks of blockSize > 0; tailBytes are sent
// past the data with the last block only.
CBlockPlan PlanBlocks(int streamLength, int blockSize, int tailBytes);
