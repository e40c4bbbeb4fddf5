#include "disk/csv_file_reader.h"

#include "text/file_failure.h"
#include "text/russian_count.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <optional>

QString CsvReadOutcome::unreadText() const {
    if (unread == 0)
        return {};
    QStringList numbers;
    for (int line : first_unread)
        numbers << QString::number(line);
    QString named = numbers.join(QStringLiteral(", "));
    if (unread > first_unread.size())
        named += QStringLiteral(" и другие");
    return QStringLiteral("Не удалось прочитать %1 файла (номера строк: %2); остальные строки "
                          "показаны.")
        .arg(CountOf(unread, nouns::kLineRead), named);
}

namespace {
// Far longer than any line of ours (a frame of 255 bytes in hex and its decoding); a file of
// another kind without line ends is not taken into memory whole.
constexpr qint64 kLongestLine = 64 * 1024;

// The next line without its line end, read through `buffer` (kLongestLine bytes, kept from line
// to line: a buffer of that size allocated for each line cost more than the reading); none when
// the line is longer (the rest of it is skipped).
std::optional<QString> nextLine(QFile& file, QByteArray& buffer) {
    const auto readInto = [&] {
        return std::max<qint64>(file.readLine(buffer.data(), buffer.size()), 0);
    };
    qint64 size = readInto();
    const bool whole = (size > 0 && buffer[size - 1] == '\n') || file.atEnd();
    for (qint64 rest = size; !whole && rest > 0 && buffer[rest - 1] != '\n';)
        rest = readInto();
    if (!whole)
        return std::nullopt;
    while (size > 0 && (buffer[size - 1] == '\n' || buffer[size - 1] == '\r'))
        --size;
    return QString::fromUtf8(buffer.constData(), size);
}
} // namespace

CsvReadOutcome ReadCsvFile(const QString& path, const QString& header, const QString& kind,
                           const std::function<bool(QStringView line)>& take) {
    CsvReadOutcome outcome;
    QFile file(path);
    // Only an ordinary file is opened: a FIFO under the name would block.
    const QFileInfo info(path);
    if ((info.exists() && !info.isFile()) || !file.open(QIODevice::ReadOnly)) {
        outcome.refusal = FileFailure(path, file.errorString());
        return outcome;
    }
    // The byte-order mark CsvFileStart writes.
    if (file.peek(3) == "\xEF\xBB\xBF")
        file.skip(3);
    QByteArray buffer(kLongestLine, Qt::Uninitialized);
    if (nextLine(file, buffer) != header) {
        outcome.refusal = QStringLiteral("%1: это не %2 (первая строка файла не «%3»)")
                              .arg(QDir::toNativeSeparators(path), kind, header);
        return outcome;
    }
    for (int number = 2; !file.atEnd(); ++number) {
        const std::optional<QString> line = nextLine(file, buffer);
        if (line && line->isEmpty())
            continue;
        if (line && take(*line)) {
            ++outcome.read;
            continue;
        }
        if (++outcome.unread <= CsvReadOutcome::kNamedLines)
            outcome.first_unread << number;
    }
    return outcome;
}

QList<QStringView> CsvFields(QStringView line, int count) {
    QList<QStringView> fields;
    while (fields.size() < count - 1) {
        const qsizetype end = line.indexOf(u';');
        if (end < 0)
            break;
        fields << line.first(end);
        line = line.sliced(end + 1);
    }
    fields << line;
    return fields;
}
