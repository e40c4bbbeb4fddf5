#pragma once

#include <QString>

// How the parameter window groups the catalogue: which box sits in which frame, and the captions
// of the tabs and frames. Frames, rows and columns count from 0; captions count from 1.

constexpr int kSnxFrames = 6;       // frame 0: the panel's own channels, 1..5: SNX modules
constexpr int kKltFrames = 4;       // KLT modules 1..4
constexpr int kMajorityBlocks = 15; // logic frames 0..14
constexpr int kNotBlocks = 2;       // logic frames 15..16
constexpr int kLogicFrames = kMajorityBlocks + kNotBlocks;
constexpr int kLogicInputs = 8;
constexpr int kPanelRelays = 9;
constexpr int kSwitchboardRelays = 10;
constexpr int kKltRelays = 8;

constexpr int ChannelIndex(int frame, int column, int row) {
    return 37 + 40 * frame + 8 * column + row;
}
constexpr int PanelRelayIndex(int row) {
    return 277 + row;
}
constexpr int SwitchboardRelayIndex(int row) {
    return 286 + row;
}
constexpr int KltRelayIndex(int frame, int row) {
    return 296 + 8 * frame + row;
}
constexpr int MajorityThresholdIndex(int block) {
    return 336 + 9 * block;
}
constexpr int MajorityInputIndex(int block, int input) {
    return 337 + 9 * block + input;
}
constexpr int NotInputIndex(int block, int input) {
    return 471 + 8 * block + input;
}
// The controller output that input `input` of NOT block `block` drives (81..96).
constexpr int NotOutputNumber(int block, int input) {
    return 81 + 8 * block + input;
}

QString SnxTabCaption(int frame);
QString SnxFrameCaption(int frame);
QString KltTabCaption(int frame);
QString KltFrameCaption(int frame);
QString LogicTabCaption(int frame);
QString LogicFrameCaption(int frame);

QString PanelRelayHeading();       // "Реле ПКВ ", blank included
QString SwitchboardRelayHeading(); // "Реле ГРЩ"
