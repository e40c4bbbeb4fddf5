#include "eeprom_defaults.h"

#include "params/param_catalogue.h"

#include <map>

namespace {
// Stored integers (not shown values) of the single parameters, by parameter number; the
// scale of each is applied by the tool.
const std::map<int, int> kSingleParameters = {
    {0, 80},   {2, 30},    {3, 70},   {4, 150},  {5, 180},  {6, 132},   {7, 60},    {8, 1},
    {9, 2},    {10, 2000}, {11, 0},   {12, 220}, {13, 20},  {14, 10},   {15, 40},   {16, 10},
    {17, 15},  {18, 20},   {19, 10},  {20, 3},   {21, 15},  {22, 25},   {24, 5},    {25, 50},
    {26, 1},   {27, 10},   {28, 0},   {29, 0},   {30, 80},  {31, 30},   {32, 10},   {33, 0},
    {34, 0},   {35, 0},    {36, 2},   {328, 10}, {329, 30}, {330, 15},  {331, 30},  {332, 20},
    {333, 30}, {334, 25},  {335, 30}, {487, 0},  {488, 0},  {489, 150}, {490, 20},  {491, 0},
    {492, 80}, {493, 10},  {494, 0},  {495, 12}, {496, 14}, {497, 0},   {498, 120}, {499, 0},
    {500, 0},  {501, 5},   {502, 10}, {503, 12}, {504, 14}, {505, 10},
};
constexpr int kObjectParameter = 1;

constexpr int kFirstChannel = 37;
constexpr int kChannelsPerGroup = 40;
constexpr int kLastChannel = 276;
constexpr int kFirstRelay = 277;
constexpr int kLastRelay = 327;

// Channel groups: the panel's own eight sensors and the first SNX module are fitted.
int channelValue(int index) {
    const int group = (index - kFirstChannel) / kChannelsPerGroup;
    const int row = (index - kFirstChannel) % kChannelsPerGroup;
    const int column = row / 8;
    const int channel = row % 8;
    if (group > 1)
        return 0;
    switch (column) {
    case 0: // sensor type code
        return 1 + channel % 4;
    case 1: // control code
        return 11;
    case 2: // warning set point 1, tenths
        return 800 + 10 * channel;
    case 3: // warning set point 2
        return 900 + 10 * channel;
    default: // alarm set point
        return 1000 + 10 * channel;
    }
}

int relayValue(int index) {
    const int relay = index - kFirstRelay;
    return relay < 9 ? relay + 1 : 0;
}
} // namespace

void StorePlausibleParameters(EepromImage& image, int slaveAddress, int objectType) {
    const ParamCatalogue& catalogue = Catalogue();
    for (int i = 0; i < kParamCount; ++i) {
        int value = 0;
        if (i == kOwnAddressParam)
            value = slaveAddress;
        else if (i == kObjectParameter)
            value = objectType;
        else if (const auto single = kSingleParameters.find(i); single != kSingleParameters.end())
            value = single->second;
        else if (i >= kFirstChannel && i <= kLastChannel)
            value = channelValue(i);
        else if (i >= kFirstRelay && i <= kLastRelay)
            value = relayValue(i);
        image.storeBigEndian(catalogue.param_address[i], catalogue.param_size[i], value);
    }
}
