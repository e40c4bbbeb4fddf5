#include "fault_soak.h"

#include "param_values.h"
#include "params/param_window.h"
#include "value_picker.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <map>
#include <utility>

namespace {
constexpr int kTransferTimeoutMs = 180000;
constexpr int kRandomEditsPerRound = 40;
constexpr int kOwnAddressParam = 23;
constexpr int kMismatchesKept = 20;

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

FaultSoak::FaultSoak(ToolRig& rig, const QString& eepromFile, std::uint32_t seed)
    : rig(rig), frm_param(*rig.paramWindow()), eeprom_file(eepromFile), random(seed) {
    catalogue.BuildParamCatalogue();
}

bool FaultSoak::round() {
    ++round_count;
    if (!transfer(false))
        return false;
    check("after the first read-all");
    editBoxes();
    if (!transfer(true))
        return false;
    if (!transfer(false))
        return false;
    check("after write-all and read-all");
    return true;
}

bool FaultSoak::transfer(bool write) {
    QPushButton* button = write ? frm_param.writeAllButton() : frm_param.readAllButton();
    const bool done = rig.runTransfer([button] { button->click(); }, kTransferTimeoutMs);
    if (!done)
        mismatch(QStringLiteral("round %1: the %2 did not get through")
                     .arg(round_count)
                     .arg(write ? QStringLiteral("write-all") : QStringLiteral("read-all")));
    return done;
}

// One parameter of every size, sign and factor, a few dozen more at random, and now and then
// the controller's own address, whose write moves the link to the new address.
void FaultSoak::editBoxes() {
    std::map<std::pair<int, double>, std::vector<int>> kinds;
    for (int i = 0; i < kParamCount; ++i)
        kinds[{catalogue.param_size[i], catalogue.param_scale[i]}].push_back(i);
    std::vector<int> chosen;
    for (const auto& [kind, members] : kinds)
        chosen.push_back(
            members[std::uniform_int_distribution<std::size_t>(0, members.size() - 1)(random)]);
    std::uniform_int_distribution<int> anyParam(0, kParamCount - 1);
    for (int k = 0; k < kRandomEditsPerRound; ++k)
        chosen.push_back(anyParam(random));
    if (std::bernoulli_distribution(0.5)(random))
        chosen.push_back(kOwnAddressParam);

    for (const int p : chosen) {
        const PickedValue picked = PickValue(catalogue, p, random);
        const std::int32_t understood = BoxValue(picked.text, catalogue, p);
        if (understood != picked.value)
            mismatch(QStringLiteral("round %1: parameter %2 typed as «%3» reads as %4, not %5")
                         .arg(round_count)
                         .arg(p)
                         .arg(picked.text)
                         .arg(understood)
                         .arg(picked.value));
        frm_param.setText(p, picked.text);
        expected[p] = picked.value;
        ++edited_count;
    }
}

void FaultSoak::check(const char* when) {
    const QByteArray image = fileBytes(eeprom_file);
    const std::uint32_t green = BoxStateRgb(BoxState::FromEeprom);
    for (int i = 0; i < kParamCount; ++i) {
        const QLineEdit* box = frm_param.box(i);
        const QString where = QStringLiteral("round %1, %2, parameter %3: ")
                                  .arg(round_count)
                                  .arg(QLatin1String(when))
                                  .arg(i);
        if ((box->palette().color(QPalette::Base).rgb() & 0xFFFFFF) != green)
            mismatch(where + QStringLiteral("box «%1» is not green").arg(box->text()));
        const std::int32_t shown = BoxValue(box->text(), catalogue, i);
        // Before the first write the simulator has not saved its memory yet: what the first
        // read showed is what every later check holds the memory to.
        if (!expected[i])
            expected[i] = shown;
        if (shown != *expected[i])
            mismatch(
                where +
                QStringLiteral("box shows «%1», typed was %2").arg(box->text()).arg(*expected[i]));
        if (image.isEmpty())
            continue;
        const std::optional<std::int32_t> stored = StoredValue(image, catalogue, i);
        if (stored != expected[i])
            mismatch(where + QStringLiteral("memory holds %1, typed was %2")
                                 .arg(stored ? QString::number(*stored) : QStringLiteral("nothing"))
                                 .arg(*expected[i]));
    }
}

void FaultSoak::mismatch(const QString& what) {
    ++mismatch_count;
    if (first_mismatches.size() < kMismatchesKept)
        first_mismatches.append(what);
}
