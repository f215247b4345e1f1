#include "terminal/terminal.h"

#include "lookup/lookup.h"
#include "answer/answerformat.h"
#include "answer/tonecolours.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace Terminal {

namespace {

void write(std::FILE *stream, const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    // A script that talks to the program a line at a time waits for each answer.
    std::fflush(stream);
}

// The next line of in, without its line end; false at the end of in.
bool readLine(std::FILE *in, QByteArray &line)
{
    line.clear();
    int c = 0;
    while ((c = std::fgetc(in)) != EOF && c != '\n')
        line.append(char(c));
    if (c == EOF && line.isEmpty())
        return false;
    if (line.endsWith('\r'))
        line.chop(1);
    return true;
}

} // namespace

int width(std::FILE *out)
{
    winsize size {};
    if (isatty(fileno(out)) && ioctl(fileno(out), TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    bool ok = false;
    const int columns = qEnvironmentVariableIntValue("COLUMNS", &ok);
    return ok && columns > 0 ? columns : 80;
}

int run(Format format, const QStringList &inputs, std::FILE *in, std::FILE *out, std::FILE *err,
        const QString &colour)
{
    const int columns = width(out);
    const bool coloured = ToneColours::useColour(
        ToneColours::colourWhenFromText(colour).value_or(ToneColours::ColourWhen::Auto),
        isatty(fileno(out)), qgetenv("NO_COLOR"));
    const ToneColours::Palette tones
        = ToneColours::palette(coloured ? ToneColours::Scheme::Default : ToneColours::Scheme::None);
    const bool fromInput = inputs == QStringList {QStringLiteral("-")};
    int status = 0;
    bool first = true;
    auto answer = [&](const QString &input) {
        const Dictionary::Answer answer = Dictionary::lookUp(input);
        if (format == Format::Json) {
            write(out, AnswerFormat::jsonLine(answer));
        } else if (answer.error.isEmpty()) {
            write(out,
                  ((first ? QString() : QStringLiteral("\n"))
                   + AnswerFormat::plainText(answer, columns, tones))
                      .toUtf8());
        }
        first = false;
        if (!answer.error.isEmpty()) {
            write(err, QStringLiteral("TavrelDictionary: %1\n").arg(answer.error).toLocal8Bit());
            status = 2;
            return false;
        }
        if (!answer.found())
            status = 1;
        return true;
    };
    if (!fromInput) {
        for (const QString &input : inputs)
            if (!answer(input))
                break;
        return status;
    }
    QByteArray line;
    while (readLine(in, line))
        if (!answer(QString::fromUtf8(line)))
            break;
    return status;
}

} // namespace Terminal
