#include "text/russian_count.h"

QString NounFor(long long n, const RussianNoun& noun) {
    const long long last_two = (n < 0 ? -n : n) % 100;
    const long long last = last_two % 10;
    if (last_two >= 11 && last_two <= 14)
        return QString::fromUtf8(noun.many);
    if (last == 1)
        return QString::fromUtf8(noun.one);
    if (last >= 2 && last <= 4)
        return QString::fromUtf8(noun.few);
    return QString::fromUtf8(noun.many);
}

QString CountOf(long long n, const RussianNoun& noun) {
    return QString::number(n) + QLatin1Char(' ') + NounFor(n, noun);
}
