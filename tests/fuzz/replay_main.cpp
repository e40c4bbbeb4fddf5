// Replays fuzz inputs without libFuzzer, so every build runs the corpus and the inputs that once
// failed: each file of the folders given, in name order. A broken invariant aborts, after the
// name of the input that broke it.

#include <QDir>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    int replayed = 0;
    for (int a = 1; a < argc; ++a)
        for (const QFileInfo& input : QDir(argv[a]).entryInfoList(QDir::Files, QDir::Name)) {
            QFile file(input.filePath());
            std::printf("%s\n", qPrintable(input.fileName()));
            std::fflush(stdout);
            if (!file.open(QIODevice::ReadOnly))
                return 1;
            const QByteArray bytes = file.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                   std::size_t(bytes.size()));
            ++replayed;
        }
    std::printf("%d inputs replayed\n", replayed);
    return replayed > 0 ? 0 : 1;
}
