#pragma once

#include "link/rx_buffer.h"
#include "live/engine_quantities.h"

#include <QChar>
#include <QString>
#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <optional>

constexpr int kLedCount = 11;
constexpr int kSignalCount = 256;
constexpr int kFaultCount = 9;

// How the window looks for a known object type: its name and which of the type-dependent
// controls (LEDs 6 to 10, the propeller-shaft speed) are visible.
struct ObjectTypeLook {
    QString caption;
    std::array<bool, kLedCount> led_visible{};
    bool prop_shaft_visible = false;
};

// Everything one poll answer shows, as texts and flags. The view applies it in this order.
struct PollPicture {
    QString pr_ver;
    QString sw_ver;
    bool modbus_blocked = false;
    // Empty for an object type other than 0 and 1: the display keeps its last look.
    std::optional<ObjectTypeLook> object_look;
    QString service;
    QString motomin;
    QString adc_board_d;
    // The ten measured values before scaling, for the history and the recording file, and as
    // the main window shows them; both indexed by `Quantity`.
    QuantityValues quantities{};
    std::array<QString, kQuantityCount> quantity_texts;
    std::bitset<kSignalCount> signal_lit;
    std::bitset<kLedCount> led_lit;
    std::array<QString, kFaultCount> faults;
};

// Turns answers to the poll read (input registers 300..424) into what the main window shows.
// Keeps the object type between answers. As the consumer of the polls' answers it hands each
// picture to `show_poll`.
class PollDecoder : public AnswerConsumer {
public:
    explicit PollDecoder(QChar decimalSeparator) : separator(decimalSeparator) {}

    PollPicture decode(const RxBuffer& rx);
    void DecodeAnswer(const RxBuffer& answer) override { show_poll(decode(answer)); }

    // Filled in by whoever shows the picture (the main window, the parameter window's flag).
    std::function<void(const PollPicture&)> show_poll = [](const PollPicture&) {};

    std::int32_t object_type = 0;

private:
    QChar separator;
};
