#include "params/param_catalogue.h"

namespace {

struct SingleEntry {
    std::uint16_t address;
    std::uint8_t size;
    double scale;
};

// The general settings 0..36 are scattered over 256..384: each one is placed by hand.
constexpr std::array<SingleEntry, 37> kGeneral{{
    {256, 1, 1}, {257, 1, 1},  {258, 1, 10}, {259, 1, 10}, {260, 1, 10}, {261, 1, 10},  {262, 1, 1},
    {263, 1, 1}, {264, 1, 1},  {265, 1, 1},  {266, 2, 1},  {283, 1, 1},  {268, 1, 0.1}, {269, 1, 1},
    {270, 1, 1}, {271, 1, 1},  {272, 1, 6},  {273, 1, 1},  {274, 1, 1},  {275, 1, 1},   {276, 1, 1},
    {277, 1, 1}, {278, 1, 10}, {279, 1, 1},  {285, 1, 1},  {286, 1, 1},  {287, 1, 1},   {320, 1, 1},
    {321, 1, 1}, {353, 1, 10}, {372, 1, 10}, {373, 1, 10}, {374, 1, 6},  {375, 1, 0.1}, {376, 1, 1},
    {377, 1, 1}, {384, 1, 1},
}};

// Sizes and factors of 487..505, which follow each other from 576 on.
constexpr std::array<std::uint8_t, 19> kFurtherSize{1, 1, 2, 1, 1, 1, 1, 2, 1, 1,
                                                    1, 1, 1, 1, 1, 1, 1, 1, 1};
constexpr std::array<double, 19> kFurtherScale{1, 1, -0.01, 1, 1, 10,  0.1, 1,   0.1, 0.1,
                                               1, 1, 1,     1, 1, 0.1, 0.1, 0.1, 1};

// Lays the parameters out in the order the controller's documentation gives them.
ParamCatalogue BuildParamCatalogue() {
    ParamCatalogue c;
    int k = 0;
    auto put = [&](int& next, std::uint8_t size, double scale) {
        c.param_address[k] = static_cast<std::uint16_t>(next);
        c.param_size[k] = size;
        c.param_scale[k] = scale;
        next += size;
        ++k;
    };

    for (const SingleEntry& e : kGeneral) {
        int at = e.address;
        put(at, e.size, e.scale);
    }

    int next = 0x700;
    for (int g = 0; g < 6; ++g)
        for (int r = 0; r < 40; ++r) {
            if (r < 16)
                put(next, 1, 1);
            else
                put(next, 2, -0.1);
        }

    next = 385;
    while (k <= 327)
        put(next, 1, 1);

    next = 512;
    put(next, 1, -1);
    put(next, 1, -1);
    for (int m = 0; m < 3; ++m) {
        put(next, 1, 0.1);
        put(next, 1, 1);
    }

    next = 0xA00;
    while (k <= 486)
        put(next, 1, 1);

    next = 576;
    for (int m = 0; m < 19; ++m)
        put(next, kFurtherSize[m], kFurtherScale[m]);
    return c;
}
} // namespace

const ParamCatalogue& Catalogue() {
    static const ParamCatalogue catalogue = BuildParamCatalogue();
    return catalogue;
}
