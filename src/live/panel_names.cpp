#include "live/panel_names.h"

#include <array>

QString LedCaption(int led) {
    static const std::array<QString, kLedCount> captions{
        QStringLiteral("Авария"),    QStringLiteral("Неиспр."),    QStringLiteral("Работа"),
        QStringLiteral("Готов"),     QStringLiteral("Пост"),       QStringLiteral("Защ. выкл."),
        QStringLiteral("Авт. зап."), QStringLiteral("Редуктор"),   QStringLiteral("Вперед"),
        QStringLiteral("Назад"),     QStringLiteral("Двиг. ост."),
    };
    return captions[led];
}

QString FaultColumnName(int fault) {
    static const std::array<QString, 3> columns{QStringLiteral("Авария"),
                                                QStringLiteral("Неисправность"),
                                                QStringLiteral("Внутр. неиспр.")};
    return columns[fault / 3];
}

QString FaultRowName(int fault) {
    static const std::array<QString, 3> rows{QStringLiteral("Текущая"), QStringLiteral("Сохран."),
                                             QStringLiteral("Последняя")};
    return rows[fault % 3];
}
