// Replays the inputs of the folder given, in name order, without libFuzzer; the name of each
// is printed first, so a broken invariant names the input that broke it.
#include "file_bytes.h"

#include <QDir>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int, char** argv) {
    const QFileInfoList inputs = QDir(argv[1]).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo& input : inputs) {
        std::fprintf(stderr, "%s\n", qPrintable(input.fileName()));
        const QByteArray bytes = FileBytes(input.filePath());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               std::size_t(bytes.size()));
    }
    std::printf("%lld inputs replayed\n", static_cast<long long>(inputs.size()));
    return inputs.isEmpty() ? 1 : 0;
}
