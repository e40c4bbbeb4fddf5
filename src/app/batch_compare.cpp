#include "app/batch_compare.h"

#include "text/file_failure.h"
#include "text/russian_count.h"

#include <QFile>
#include <QFileInfo>

bool ReadableInBatch(const QString& path, BatchConsole& console) {
    QFile file(path);
    const QFileInfo info(path);
    if ((!info.exists() || info.isFile()) && file.open(QIODevice::ReadOnly))
        return true;
    console.tell(QStringLiteral("Невозможно прочитать файл ") +
                 FileFailure(path, file.errorString()));
    return false;
}

BatchExit PrintDifferences(BatchConsole& console, const MemoryParamBoxes& boxes,
                           const ComparedFile& compared, const QString& same,
                           const QString& differ) {
    int differing = 0;
    for (int i = 0; i < kParamCount; ++i) {
        const std::optional<BoxState> state = boxes.state(i);
        if (state != BoxState::DiffersFromFile && state != BoxState::MissingInFile)
            continue;
        console.result(
            QStringLiteral("%1;%2;%3")
                .arg(i)
                .arg(boxes.text(i).trimmed(), compared.values[i].value_or(QString()).trimmed()));
        ++differing;
    }
    console.tell(
        differing == 0
            ? QStringLiteral("Все %1 %2").arg(CountOf(kParamCount, nouns::kParameter), same)
            : QStringLiteral("Значения %1 %2")
                  .arg(CountOf(differing, nouns::kOfParameter), differ));
    return differing == 0 ? BatchExit::Done : BatchExit::Differs;
}

BatchExit CompareFilesInBatch(const BatchJob& job, BatchConsole& console) {
    MemoryParamBoxes boxes;
    if (!ReadableInBatch(job.file, console) || !ReadableInBatch(job.second_file, console))
        return BatchExit::BadInput;
    const std::optional<ComparedFile> compared =
        CompareParameterFiles({boxes, console, console}, job.file, job.second_file);
    if (!compared)
        return BatchExit::BadInput;
    return PrintDifferences(console, boxes, *compared, QStringLiteral("в файлах совпадают"),
                            QStringLiteral("в файлах различаются"));
}
