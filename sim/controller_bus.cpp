#include "controller_bus.h"

#include "eeprom_defaults.h"
#include "params/param_catalogue.h"

#include <QFileInfo>
#include <cstdio>

bool ControllerBus::build(const SimOptions& options, std::uint32_t seed, std::int64_t nowMs,
                          QString& error) {
    const ParamCatalogue& catalogue = Catalogue();
    std::vector<ControllerSlave::StoreLimit> limits;
    for (const auto& [number, max] : options.clamps)
        limits.push_back({catalogue.param_address[number], catalogue.param_size[number], max});
    for (const int address : options.addresses) {
        const int objectType = options.objectTypeAt(address);
        // Each engine breathes on its own.
        auto controller = std::make_unique<Controller>(
            address, objectType, nowMs, seed + static_cast<std::uint32_t>(controllers.size()));
        controller->eeprom_file = options.eepromFileOf(address);
        StorePlausibleParameters(controller->eeprom, address, objectType);
        if (!controller->eeprom_file.isEmpty() && QFileInfo::exists(controller->eeprom_file) &&
            !controller->eeprom.load(controller->eeprom_file, error))
            return false;
        // The memory always names the address the controller answers to.
        controller->eeprom.storeBigEndian(ControllerSlave::kAddressByte, 1, address);
        controller->slave.limitStored(limits);
        controllers.push_back(std::move(controller));
    }
    return true;
}

QByteArray ControllerBus::handle(const QByteArray& request, std::int64_t nowMs) {
    QByteArray answer;
    for (const auto& controller : controllers) {
        const ControllerSlave::Outcome outcome = controller->slave.handle(request, nowMs);
        QString error;
        if (outcome.eeprom_changed && !controller->eeprom_file.isEmpty() &&
            !controller->eeprom.save(controller->eeprom_file, error))
            std::fprintf(stderr, "zarn-sim: %s\n", qPrintable(error));
        if (answer.isEmpty())
            answer = outcome.answer;
    }
    return answer;
}

void ControllerBus::advance(std::int64_t nowMs) {
    for (const auto& controller : controllers)
        controller->engine.advance(nowMs);
}
