#pragma once

#include <QString>

// The three forms a Russian noun takes after a number: after 1 (and 21, 31, … but not 11),
// after 2–4 (and 22–24, … but not 12–14), and after every other number.
struct RussianNoun {
    const char* one;  // "параметр"
    const char* few;  // "параметра"
    const char* many; // "параметров"
};

// The form of `noun` that agrees with `n`.
QString NounFor(long long n, const RussianNoun& noun);
// `n` and its noun: "1 параметр", "22 параметра", "111 параметров".
QString CountOf(long long n, const RussianNoun& noun);

namespace nouns {
inline constexpr RussianNoun kParameter{"параметр", "параметра", "параметров"};
inline constexpr RussianNoun kRequest{"запрос", "запроса", "запросов"};
inline constexpr RussianNoun kRegister{"регистр", "регистра", "регистров"};
inline constexpr RussianNoun kController{"контроллер", "контроллера", "контроллеров"};
// After a word that governs the genitive: «значения 1 параметра», «значения 3 параметров»,
// «значения 21 параметра» (the genitive singular after 1, 21, …, the plural after the rest).
inline constexpr RussianNoun kOfParameter{"параметра", "параметров", "параметров"};
inline constexpr RussianNoun kOfRequest{"запроса", "запросов", "запросов"};
// The object of a verb: «прочитать 1 строку», «прочитать 3 строки».
inline constexpr RussianNoun kLineRead{"строку", "строки", "строк"};
} // namespace nouns
