#pragma once

#include "link/exchange_cycle.h"
#include "params/param_boxes.h"
#include "params/param_catalogue.h"

#include <vector>

// Parameters whose bytes form one gapless run, sent as one frame of function 100 or 101.
struct ParamBlock {
    int first = 0; // parameter number of the first parameter
    int count = 0; // parameters the block spans (at most 10)
    int bytes = 0; // bytes of the parameters it carries
};

// The blocks of the read-all: at most 10 parameters, broken wherever an address does not follow
// on from its predecessor.
std::vector<ParamBlock> ReadBlocks(const ParamCatalogue& catalogue);

// Queue the reads of all 506 parameters. The whole transfer is refused (false, nothing queued)
// when it does not fit into the free room of the ring: half a transfer would leave the user
// with boxes that silently never fill.
bool ReadAllParameters(RequestQueue& queue, const ParamCatalogue& catalogue);

// Frames of the write-all: its blocks, then the own address and the external-control switch.
int WriteAllFrameCount(const ParamCatalogue& catalogue);

// Queue the writes of all 506 parameters from the texts of the boxes, converted at this moment.
// The controller's own address (23) and the external-control switch (26) go last, in this
// order, so the blocks before them still reach the controller under its old address. Refused
// whole (false) when the 61 frames do not fit into the ring.
bool WriteAllParameters(ExchangeCycle& cycle, const ParamCatalogue& catalogue,
                        const ParamBoxes& boxes);
