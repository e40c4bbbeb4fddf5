#include "params/param_requests.h"

#include "params/param_values.h"

namespace {

constexpr int kMaxBlockParams = 10;

bool followsOn(const ParamCatalogue& c, int p) {
    return c.param_address[p + 1] == c.param_address[p] + c.param_size[p];
}

// Number of parameters of the block starting at `first`; a write block also ends at (and leaves
// out) the two parameters that are written on their own.
int blockLength(const ParamCatalogue& c, int first, bool forWrite) {
    for (int k = 0;; ++k) {
        const int p = first + k;
        if (forWrite && (p == kOwnAddressParam || p == kExternalControlParam))
            return k + 1;
        if (k == kMaxBlockParams - 1 || p + 1 == kParamCount || !followsOn(c, p))
            return k + 1;
    }
}

std::int32_t valueOf(const ParamBoxes& boxes, const ParamCatalogue& c, int p) {
    const ValueRange range = RangeFor(c.param_size[p], c.param_scale[p]);
    return TextToValue(boxes.text(p), range.min, range.max, range.factor);
}

} // namespace

std::vector<ParamBlock> ReadBlocks(const ParamCatalogue& catalogue) {
    std::vector<ParamBlock> blocks;
    for (int i = 0; i < kParamCount;) {
        ParamBlock block{i, blockLength(catalogue, i, false), 0};
        for (int p = i; p < i + block.count; ++p)
            block.bytes += catalogue.param_size[p];
        blocks.push_back(block);
        i += block.count;
    }
    return blocks;
}

RequestBatch ReadAllRequests(const ParamCatalogue& catalogue) {
    RequestBatch batch;
    for (const ParamBlock& block : ReadBlocks(catalogue))
        batch.push_back(ParamReadRequest(catalogue.param_address[block.first],
                                         static_cast<std::uint8_t>(block.bytes)));
    return batch;
}

RequestBatch WriteAllRequests(const ParamCatalogue& catalogue, const ParamBoxes& boxes) {
    RequestBatch batch;
    for (int first = 0; first < kParamCount;) {
        const int length = blockLength(catalogue, first, true);
        std::vector<std::uint8_t> bytes;
        for (int p = first; p < first + length; ++p) {
            if (p == kOwnAddressParam || p == kExternalControlParam)
                continue;
            const std::int32_t value = WrittenValue(p, catalogue, boxes);
            for (int k = catalogue.param_size[p] - 1; k >= 0; --k)
                bytes.push_back(ValueByte(value, k));
        }
        batch.push_back(ParamBytesWriteRequest(catalogue.param_address[first], bytes));
        first += length;
    }
    batch.push_back(WriteOneRequest(kOwnAddressParam, catalogue, boxes));
    batch.push_back(WriteOneRequest(kExternalControlParam, catalogue, boxes));
    return batch;
}

std::int32_t WrittenValue(int index, const ParamCatalogue& catalogue, const ParamBoxes& boxes) {
    return index == kOwnAddressParam
               ? OwnAddressFromText(boxes.text(index), catalogue.param_scale[index])
               : valueOf(boxes, catalogue, index);
}

Request WriteOneRequest(int index, const ParamCatalogue& catalogue, const ParamBoxes& boxes) {
    const int address = catalogue.param_address[index];
    const auto size = static_cast<std::uint8_t>(catalogue.param_size[index]);
    const std::int32_t value = WrittenValue(index, catalogue, boxes);
    if (index == kOwnAddressParam)
        return OwnAddressWriteRequest(address, value, size);
    return ParamWriteRequest(address, value, size);
}
