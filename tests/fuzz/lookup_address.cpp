// Words from the command line put into the template's address, as "Translate" puts the word
// box's, and the "tavrel:" address that asks the built-in dictionary: the word the dictionary
// gets is the one after the colon, from the address itself, from a link to it, and from the
// page for a site that can't be reached.
#include "answer/answerpage.h"
#include "fuzzing.h"
#include "main_window/lookup.h"
#include "program/commandline.h"

#include <QStringList>
#include <QUrl>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzzing::Reader input(Fuzzing::bytes(data, size));
    const QString queryTemplate = input.utf8();
    const QString site = input.utf8();
    const QString reason = input.utf8();
    QStringList arguments {QStringLiteral("TavrelDictionary")};
    while (!input.atEnd())
        arguments << QString::fromLocal8Bit(input.piece());

    const CommandLine::Request request = CommandLine::parse(arguments);
    FUZZ_CHECK((request.action == CommandLine::Request::Action::Error) == !request.error.isEmpty());
    const QString word = request.word.value_or(arguments.mid(1).join(u' '));
    const QString address = buildLookupAddress(word, queryTemplate);
    if (!AnswerPage::isAnswerAddress(address))
        return 0;

    const QString asked = address.mid(address.indexOf(u':') + 1);
    const QUrl page = AnswerPage::addressOfRequest(address);
    FUZZ_CHECK(AnswerPage::wordOf(page) == asked);
    FUZZ_CHECK(AnswerPage::wordOf(QUrl(page.toString(QUrl::FullyEncoded))) == asked);
    const QUrl fallback = AnswerPage::fallbackAddressOf(asked, site, reason);
    FUZZ_CHECK(AnswerPage::wordOf(fallback) == asked);
    FUZZ_CHECK(AnswerPage::siteOf(fallback) == site);
    FUZZ_CHECK(AnswerPage::reasonOf(fallback) == reason);
    return 0;
}
