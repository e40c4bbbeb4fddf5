#pragma once

#include <QString>

// The texts of the parameter window that name parameters. Screen readers and the accessible
// descriptions of the boxes use the same texts as the labels the user sees.

// Caption beside a single parameter's box; the three boxes of a multiplier row share their row's
// caption. Empty for parameters shown in a grid or a logic block, and for the hidden 29, 33, 34.
QString ParamCaption(int index);

constexpr int kChannelColumns = 5;
constexpr int kChannelsPerGroup = 8;

// Head of channel column 0..4: "Тип", "Код упр.", "П1", "П2", "Авария".
QString ChannelColumnCaption(int column);

// Name of the panel's own channel in row 0..7 ("Т масла КП" ... "P масла КП").
QString PanelChannelName(int row);
