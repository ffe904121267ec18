#include "transfer/BlockPlan.h"

CBlockPlan PlanBlocks(int streamLength, int blockSize, int tailBytes)
{
    CBlockPlan plan;
    if (streamLength <= 0 || blockSize <= 0)
        return plan;
    plan.blockSize = blockSize;
    plan.fullBlocks = streamLength / blockSize;
    const int remainder = streamLength - plan.fullBlocks * blockSize;
    plan.lastBlockLength = remainder != 0 ? remainder + tailBytes : 0;
    plan.steps = plan.fullBlocks + (remainder != 0 ? 1 : 0);
    return plan;
}
