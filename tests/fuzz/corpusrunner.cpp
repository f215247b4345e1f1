// A fuzz target run on files, as libFuzzer runs it on a corpus, for builds without libFuzzer:
// CTest runs every target on its seeds and on the inputs that once broke it.
//   fuzz_<target> FILE-OR-FOLDER...
#include "fuzzing.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) __attribute__((weak));

int main(int argc, char **argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    int ran = 0;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QFile::decodeName(argv[i]);
        QStringList files;
        if (QFileInfo(argument).isDir()) {
            QDirIterator each(argument, QDir::Files, QDirIterator::Subdirectories);
            while (each.hasNext())
                files << each.next();
            std::sort(files.begin(), files.end());
        } else {
            files << argument;
        }
        for (const QString &name : files) {
            QFile file(name);
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "%s: %s\n", qPrintable(name), qPrintable(file.errorString()));
                return 1;
            }
            // A buffer of the input's size exactly, as libFuzzer gives it.
            const QByteArray bytes = file.readAll();
            std::vector<uint8_t> input(bytes.begin(), bytes.end());
            std::fprintf(stderr, "%s\n", qPrintable(name));
            LLVMFuzzerTestOneInput(input.data(), input.size());
            ++ran;
        }
    }
    std::printf("%d inputs run\n", ran);
    // No input at all is a corpus that went missing.
    return ran > 0 ? 0 : 1;
}
