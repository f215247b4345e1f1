#include "chinese_english/lookupsteps.h"

#include "chinese_english/index.h"
#include "chinese_english/pinyin.h"

#include <algorithm>

namespace Dictionary::LookupSteps {

QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), int(text.size())); }

Entry entry(const Index &index, quint32 number)
{
    const Index::Record record = index.record(number);
    Entry result;
    result.count = index.count(number);
    result.band = frequencyBand(result.count);
    result.traditional = fromUtf8(record.traditional);
    result.simplified = fromUtf8(record.simplified);
    result.pinyin = Pinyin::withToneMarks(record.pinyin);
    result.numberedPinyin = fromUtf8(record.pinyin);
    std::string_view senses = record.senses;
    while (!senses.empty()) {
        const size_t end = std::min(senses.find('\n'), senses.size());
        result.senses << fromUtf8(senses.substr(0, end));
        senses.remove_prefix(std::min(end + 1, senses.size()));
    }
    return result;
}

Group group(const Index &index, Reading reading, const std::vector<quint32> &ranked)
{
    Group group;
    group.reading = reading;
    for (size_t i = 0; i < ranked.size() && i < size_t(maxEntries); ++i)
        group.entries << entry(index, ranked[i]);
    group.more = int(ranked.size()) - int(group.entries.size());
    return group;
}

} // namespace Dictionary::LookupSteps
