#pragma once

#include "link/requests.h"
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

// The reads of all 506 parameters.
RequestBatch ReadAllRequests(const ParamCatalogue& catalogue);

// The writes of all 506 parameters from the texts of the boxes, converted at this moment. The
// controller's own address and the external-control switch go last, in this order, so the
// blocks before them still reach the controller under its old address.
RequestBatch WriteAllRequests(const ParamCatalogue& catalogue, const ParamBoxes& boxes);

// The value a write of parameter `index` sends: its box text converted to the range of its size
// and sign; the own address limited to the line's addresses.
std::int32_t WrittenValue(int index, const ParamCatalogue& catalogue, const ParamBoxes& boxes);
// The write of exactly parameter `index`, converted from its box text to the range of its size
// and sign; the own address is limited to the line's addresses and switches the link to it.
Request WriteOneRequest(int index, const ParamCatalogue& catalogue, const ParamBoxes& boxes);
