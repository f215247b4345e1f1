// The running copy's messages as its socket delivers them: any bytes, in pieces of any size.
// The pieces do not change what is read, and a message taken is the word's own encoding.
#include "fuzzing.h"
#include "single_instance/runningcopy.h"

using RunningCopy::MessageReader;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzzing::Reader input(Fuzzing::bytes(data, size));
    const int pieceSize = 1 + input.number(256);
    const QByteArrayView stream = Fuzzing::bytes(data, size).sliced(size > 0 ? 1 : 0);

    MessageReader whole;
    const MessageReader::State wholeState = whole.feed(stream.toByteArray());
    MessageReader pieces;
    MessageReader::State piecesState = MessageReader::State::Incomplete;
    for (qsizetype at = 0; at < stream.size(); at += pieceSize)
        piecesState = pieces.feed(
            stream.sliced(at, qMin<qsizetype>(pieceSize, stream.size() - at)).toByteArray());
    FUZZ_CHECK(wholeState == piecesState);
    if (wholeState != MessageReader::State::Complete)
        return 0;
    FUZZ_CHECK(whole.word() == pieces.word());
    FUZZ_CHECK(RunningCopy::encode(whole.word()) == stream);
    FUZZ_CHECK(whole.word().toUtf8().size() <= RunningCopy::maxWordBytes);
    // Nothing may follow a message.
    FUZZ_CHECK(whole.feed(QByteArray(1, 'x')) == MessageReader::State::Invalid);
    return 0;
}
