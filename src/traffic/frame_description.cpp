#include "traffic/frame_description.h"

#include "link/requests.h"
#include "params/param_answer_decoder.h"
#include "text/russian_count.h"

#include <QStringList>
#include <algorithm>
#include <array>

namespace {

int byteAt(const QByteArray& frame, int i) {
    return i < frame.size() ? static_cast<std::uint8_t>(frame[i]) : 0;
}
int wordAt(const QByteArray& frame, int i) {
    return byteAt(frame, i) * 256 + byteAt(frame, i + 1);
}

QString commandName(int code) {
    static const std::array<std::pair<Command, const char*>, 4> kNames{{
        {Command::Start, "СТАРТ"},
        {Command::Stop, "СТОП"},
        {Command::Acknowledge, "КВИТ"},
        {Command::ProtectionsOff, "ОТКЛ. ЗАЩ"},
    }};
    for (const auto& [command, name] : kNames)
        if (CommandCode(command) == code)
            return QString::fromUtf8(name);
    return QStringLiteral("с кодом 0x%1")
        .arg(QString::number(code, 16).toUpper().rightJustified(4, u'0'));
}

RxBuffer asAnswer(const QByteArray& frame) {
    RxBuffer rx;
    rx.rx_count = static_cast<int>(std::min<qsizetype>(frame.size(), RxBuffer::kCells));
    std::copy_n(frame.constData(), rx.rx_count, rx.rx_buffer.begin());
    return rx;
}

// The parameters a function-100/101 layout carries, by number ("0–9"), or with their values as
// the boxes show them ("22 = 50, 23 = 7"); the bare address when it starts no parameter.
QString parameterList(const QByteArray& frame, const ParamCatalogue& catalogue, QChar separator,
                      bool values) {
    const QList<ParamValueText> carried = DecodeParamAnswer(asAnswer(frame), catalogue, separator);
    if (carried.isEmpty())
        return QStringLiteral("адрес %1, байт %2").arg(wordAt(frame, 2)).arg(byteAt(frame, 4));
    if (!values) {
        const int first = carried.first().index, last = carried.last().index;
        return first == last ? QString::number(first)
                             : QStringLiteral("%1–%2").arg(first).arg(last);
    }
    QStringList items;
    for (const ParamValueText& value : carried)
        items << QStringLiteral("%1 = %2").arg(value.index).arg(value.text.trimmed());
    return items.join(QStringLiteral(", "));
}

QString unknownFunction(int function) {
    return QStringLiteral("Неизвестная функция %1").arg(function);
}

QString describeRequest(const QByteArray& frame, int function, const ParamCatalogue& catalogue,
                        QChar separator) {
    switch (function) {
    case 4:
        return QStringLiteral("Опрос: %1 с %2")
            .arg(CountOf(wordAt(frame, 4), nouns::kRegister))
            .arg(wordAt(frame, 2));
    case 16:
        return QStringLiteral("Транзакция: счётчик %1, откл. защит: %2")
            .arg(wordAt(frame, 7))
            .arg(byteAt(frame, 10) ? QStringLiteral("да") : QStringLiteral("нет"));
    case 6:
        return QStringLiteral("Команда %1").arg(commandName(wordAt(frame, 4)));
    case 100:
        // Only the header: the parameters are found from the address and the byte count alone.
        return QStringLiteral("Чтение параметров: %1")
            .arg(parameterList(frame.left(5), catalogue, separator, false));
    case 101:
        return QStringLiteral("Запись параметров: %1")
            .arg(parameterList(frame, catalogue, separator, true));
    default:
        return unknownFunction(function);
    }
}

QString describeAnswer(const QByteArray& frame, int function, const ParamCatalogue& catalogue,
                       QChar separator) {
    if (function > 127)
        return QStringLiteral("Исключение %1 на функцию %2")
            .arg(byteAt(frame, 2))
            .arg(function - 128);
    switch (function) {
    case 4:
        return QStringLiteral("Ответ на опрос: ") + CountOf(byteAt(frame, 2) / 2, nouns::kRegister);
    case 16:
        return QStringLiteral("Транзакция принята");
    case 6:
        return QStringLiteral("Команда %1 принята").arg(commandName(wordAt(frame, 4)));
    case 100:
        return QStringLiteral("Параметры: %1")
            .arg(parameterList(frame, catalogue, separator, true));
    case 101:
        return QStringLiteral("Записано: %1").arg(parameterList(frame, catalogue, separator, true));
    default:
        return unknownFunction(function);
    }
}

} // namespace

QString DescribeFrame(const QByteArray& frame, bool sent, const ParamCatalogue& catalogue,
                      QChar decimalSeparator) {
    if (frame.size() < 2)
        return {};
    // The fields are read at fixed places and counts, so the CRC behind them does no harm.
    const int function = byteAt(frame, 1);
    return sent ? describeRequest(frame, function, catalogue, decimalSeparator)
                : describeAnswer(frame, function, catalogue, decimalSeparator);
}
