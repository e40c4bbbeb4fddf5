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

int PrintDifferences(BatchConsole& console, const MemoryParamBoxes& boxes,
                     const ComparedFile& compared) {
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
    return differing;
}

BatchExit CompareFilesInBatch(const BatchJob& job, BatchConsole& console) {
    MemoryParamBoxes boxes;
    if (!ReadableInBatch(job.file, console) || !ReadableInBatch(job.second_file, console))
        return BatchExit::BadInput;
    const std::optional<ComparedFile> compared =
        CompareParameterFiles({boxes, console, console}, job.file, job.second_file);
    if (!compared)
        return BatchExit::BadInput;
    const int differing = PrintDifferences(console, boxes, *compared);
    console.tell(differing == 0 ? QStringLiteral("Все %1 в файлах совпадают")
                                      .arg(CountOf(kParamCount, nouns::kParameter))
                                : QStringLiteral("Значения %1 в файлах различаются")
                                      .arg(CountOf(differing, nouns::kOfParameter)));
    return differing == 0 ? BatchExit::Done : BatchExit::Differs;
}
