#include "disk/name_pattern.h"

#include <algorithm>

namespace {

constexpr qsizetype kMaxNameLength = 255;

bool Refused(QChar c) {
    return c.category() == QChar::Other_Control || QStringLiteral("/\\<>\"|").contains(c);
}

// As in the Windows file search, a pattern ending in "." asks for names without an extension:
// the dot also matches the end of the name, and the last "*" before it matches no dot.
QRegularExpression WildcardExpression(const QString& pattern) {
    const bool withoutExtension = pattern.size() > 1 && pattern.endsWith('.');
    const qsizetype end = withoutExtension ? pattern.size() - 1 : pattern.size();
    const qsizetype lastStar = withoutExtension ? pattern.lastIndexOf('*', end - 1) : -1;
    QString expression;
    for (qsizetype i = 0; i < end; ++i) {
        const QChar c = pattern[i];
        if (c == '*')
            expression += i == lastStar ? QStringLiteral("[^.]*") : QStringLiteral(".*");
        else if (c == '?')
            expression += '.';
        else
            expression += QRegularExpression::escape(QString(c));
    }
    if (withoutExtension)
        expression += QStringLiteral("\\.?");
    return QRegularExpression(QRegularExpression::anchoredPattern(expression),
                              QRegularExpression::CaseInsensitiveOption |
                                  QRegularExpression::DotMatchesEverythingOption);
}

} // namespace

std::optional<NamePattern> NamePattern::parse(const QString& text) {
    if (text.size() > kMaxNameLength || std::any_of(text.begin(), text.end(), Refused))
        return std::nullopt;
    NamePattern result;
    for (const QString& part : text.split(QChar(';'))) {
        const QString pattern = part.trimmed();
        if (pattern.isEmpty())
            continue;
        result.compiled_patterns.append(
            WildcardExpression(pattern == kEveryNamePattern ? "*" : pattern));
    }
    if (result.compiled_patterns.isEmpty())
        result.compiled_patterns.append(WildcardExpression(QStringLiteral("*")));
    return result;
}

bool NamePattern::matches(const QString& name) const {
    return std::any_of(compiled_patterns.begin(), compiled_patterns.end(),
                       [&name](const QRegularExpression& e) { return e.match(name).hasMatch(); });
}
