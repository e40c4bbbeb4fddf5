#include "params/bulk_transfer.h"

#include "params/param_values.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kMaxBlockParams = 10;
constexpr int kOwnAddressParam = 23;
constexpr int kExternalControlParam = 26;

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

bool ReadAllParameters(RequestQueue& queue, const ParamCatalogue& catalogue) {
    const std::vector<ParamBlock> blocks = ReadBlocks(catalogue);
    if (queue.freeRoom() < static_cast<int>(blocks.size()))
        return false;
    for (const ParamBlock& block : blocks)
        QueueReadRequest(queue, catalogue.param_address[block.first],
                         static_cast<std::uint8_t>(block.bytes));
    return true;
}

namespace {
std::vector<int> WriteBlockStarts(const ParamCatalogue& catalogue) {
    std::vector<int> starts;
    for (int i = 0; i < kParamCount; i += blockLength(catalogue, i, true))
        starts.push_back(i);
    return starts;
}
} // namespace

int WriteAllFrameCount(const ParamCatalogue& catalogue) {
    return static_cast<int>(WriteBlockStarts(catalogue).size()) + 2;
}

bool WriteAllParameters(ExchangeCycle& cycle, const ParamCatalogue& catalogue,
                        const ParamBoxes& boxes) {
    const std::vector<int> starts = WriteBlockStarts(catalogue);
    RequestQueue& queue = cycle.request_queue;
    if (queue.freeRoom() < static_cast<int>(starts.size()) + 2)
        return false;

    for (const int first : starts) {
        const std::uint16_t address = catalogue.param_address[first];
        std::array<std::uint8_t, 4 + 2 * kMaxBlockParams> frame{0x65, ValueByte(address, 1),
                                                                ValueByte(address, 0), 0};
        int bytes = 0;
        for (int p = first; p < first + blockLength(catalogue, first, true); ++p) {
            if (p == kOwnAddressParam || p == kExternalControlParam)
                continue;
            const std::int32_t value = valueOf(boxes, catalogue, p);
            for (int k = catalogue.param_size[p] - 1; k >= 0; --k)
                frame[4 + bytes++] = ValueByte(value, k);
        }
        frame[3] = static_cast<std::uint8_t>(bytes);
        queue.append(frame.data(), 4 + bytes);
    }

    // The address goes through the 0..255 range of its byte, then the line's limit of 127.
    const double ownScale = catalogue.param_scale[kOwnAddressParam];
    const std::int32_t ownAddress =
        std::min(TextToValue(boxes.text(kOwnAddressParam), 0, 255, ownScale), 127);
    cycle.QueueAddressWrite(catalogue.param_address[kOwnAddressParam], ownAddress,
                            catalogue.param_size[kOwnAddressParam]);

    const double controlScale = catalogue.param_scale[kExternalControlParam];
    QueueWriteRequest(queue, catalogue.param_address[kExternalControlParam],
                      TextToValue(boxes.text(kExternalControlParam), 0, 255, controlScale),
                      catalogue.param_size[kExternalControlParam]);
    return true;
}
