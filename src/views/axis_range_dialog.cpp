#include "views/axis_range_dialog.h"

#include "views/window_words.h"

#include <QDialog>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>

namespace {
QDoubleSpinBox* limitBox(QDialog* dialog, const char* name, double value, int decimals) {
    auto* box = new QDoubleSpinBox(dialog);
    box->setObjectName(QString::fromLatin1(name));
    box->setDecimals(decimals);
    box->setRange(-1e6, 1e6);
    box->setValue(value);
    return box;
}
} // namespace

std::optional<AxisRange> AskAxisRange(QWidget* parent, const QString& unit, AxisRange current,
                                      int decimals) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Шкала, %1").arg(unit));
    auto* lower = limitBox(&dialog, "lower", current.lower, decimals);
    auto* upper = limitBox(&dialog, "upper", current.upper, decimals);
    auto* ok = new QPushButton(window_text::kOk, &dialog);
    ok->setDefault(true);
    auto* cancel = new QPushButton(window_text::kCancel, &dialog);
    auto* form = new QFormLayout(&dialog);
    form->addRow(QStringLiteral("От:"), lower);
    form->addRow(QStringLiteral("До:"), upper);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    form->addRow(buttons);
    const auto check = [&] { ok->setEnabled(upper->value() > lower->value()); };
    QObject::connect(lower, &QDoubleSpinBox::valueChanged, &dialog, check);
    QObject::connect(upper, &QDoubleSpinBox::valueChanged, &dialog, check);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return AxisRange{lower->value(), upper->value()};
}
