#include "params/write_echo_check.h"

namespace {
constexpr int kWriteFunction = 101;
} // namespace

void WriteEchoCheck::sent(long long answerNumber, int index, std::int32_t value,
                          const QString& typed) {
    waiting.push_back({answerNumber, index, value, typed});
}

std::optional<QString> WriteEchoCheck::take(long long answerNumber, const RxBuffer& answer,
                                            const QList<ParamValueText>& values) {
    // An exception or a poll took the place of some echoes: those writes are past telling.
    while (!waiting.empty() && waiting.front().answer_number < answerNumber)
        waiting.pop_front();
    if (waiting.empty() || waiting.front().answer_number != answerNumber)
        return std::nullopt;
    const Sent sent = waiting.front();
    waiting.pop_front();
    if (answer[1] != kWriteFunction)
        return std::nullopt;
    for (const ParamValueText& stored : values)
        if (stored.index == sent.index && stored.stored != sent.value)
            return QStringLiteral("Запись параметра %1: %2 → сохранено %3")
                .arg(QString::number(sent.index), sent.typed, stored.text.trimmed());
    return std::nullopt;
}
