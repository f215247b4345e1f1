#include "chinese_english/pinyin.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace Dictionary::Pinyin {

namespace {

// Every syllable of standard Mandarin, with "v" for ü, and the interjections and the erhua "r"
// that the data spells as syllables.
const char syllableList[]
    = "a ai an ang ao ba bai ban bang bao bei ben beng bi bian biao bie bin bing bo bu ca cai can "
      "cang cao ce cei cen ceng cha chai chan chang chao che chen cheng chi chong chou chu chua "
      "chuai chuan chuang chui chun chuo ci cong cou cu cuan cui cun cuo da dai dan dang dao de "
      "dei "
      "den deng di dia dian diao die ding diu dong dou du duan dui dun duo e ei en eng er fa fan "
      "fang fei fen feng fiao fo fou fu ga gai gan gang gao ge gei gen geng gong gou gu gua guai "
      "guan guang gui gun guo ha hai han hang hao he hei hen heng hm hng hong hou hu hua huai huan "
      "huang hui hun huo ji jia jian jiang jiao jie jin jing jiong jiu ju juan jue jun ka kai kan "
      "kang kao ke kei ken keng kong kou ku kua kuai kuan kuang kui kun kuo la lai lan lang lao le "
      "lei leng li lia lian liang liao lie lin ling liu lo long lou lu luan lun luo lv lve m ma "
      "mai "
      "man mang mao me mei men meng mi mian miao mie min ming miu mo mou mu n na nai nan nang nao "
      "ne nei nen neng ng ni nian niang niao nie nin ning niu nong nou nu nuan nun nuo nv nve o ou "
      "pa pai pan pang pao pei pen peng pi pian piao pie pin ping po pou pu qi qia qian qiang qiao "
      "qie qin qing qiong qiu qu quan que qun r ran rang rao re ren reng ri rong rou ru rua ruan "
      "rui run ruo sa sai san sang sao se sei sen seng sha shai shan shang shao she shei shen "
      "sheng "
      "shi shou shu shua shuai shuan shuang shui shun shuo si song sou su suan sui sun suo ta tai "
      "tan tang tao te tei teng ti tian tiao tie ting tong tou tu tuan tui tun tuo wa wai wan wang "
      "wei wen weng wo wu xi xia xian xiang xiao xie xin xing xiong xiu xu xuan xue xun ya yan "
      "yang "
      "yao ye yi yin ying yo yong you yu yuan yue yun za zai zan zang zao ze zei zen zeng zha zhai "
      "zhan zhang zhao zhe zhei zhen zheng zhi zhong zhou zhu zhua zhuai zhuan zhuang zhui zhun "
      "zhuo zi zong zou zu zuan zui zun zuo";

const std::set<std::string_view> &syllableSet()
{
    static const std::set<std::string_view> set = [] {
        std::set<std::string_view> result;
        const std::string_view all(syllableList);
        size_t start = 0;
        while (start < all.size()) {
            size_t end = all.find(' ', start);
            if (end == std::string_view::npos)
                end = all.size();
            result.insert(all.substr(start, end - start));
            start = end + 1;
        }
        return result;
    }();
    return set;
}

// A syllable of the data split into letters as written (case kept, "u:" as is) and tone.
bool split(std::string_view token, std::string &letters, int &tone)
{
    tone = 5;
    if (!token.empty() && token.back() >= '1' && token.back() <= '5') {
        tone = token.back() - '0';
        token.remove_suffix(1);
    }
    letters.clear();
    for (size_t i = 0; i < token.size(); ++i) {
        const char c = token[i];
        if (c == ':' && i > 0 && (token[i - 1] == 'u' || token[i - 1] == 'U'))
            continue;
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            return false;
        letters += c;
    }
    return !letters.empty();
}

template <typename F> void forEachToken(std::string_view text, F f)
{
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > start)
            f(text.substr(start, end - start));
        start = end + 1;
    }
}

bool isSeparator(std::string_view token) { return token == "," || token == "\xC2\xB7"; }

} // namespace

bool isSyllable(std::string_view letters) { return syllableSet().count(letters) > 0; }

bool syllables(std::string_view pinyin, std::vector<Syllable> &result)
{
    result.clear();
    bool valid = true;
    forEachToken(pinyin, [&](std::string_view token) {
        if (!valid || isSeparator(token))
            return;
        std::string letters;
        int tone = 5;
        if (!split(token, letters, tone)) {
            valid = false;
            return;
        }
        // "u:" is ü, which typed pinyin writes "v".
        std::string plain;
        for (size_t i = 0; i < token.size(); ++i) {
            const char c = token[i];
            if (c == ':')
                plain.back() = 'v';
            else if (c >= 'A' && c <= 'Z')
                plain += char(c - 'A' + 'a');
            else if (c >= 'a' && c <= 'z')
                plain += c;
        }
        if (!isSyllable(plain)) {
            valid = false;
            return;
        }
        result.push_back({plain, tone});
    });
    return valid && !result.empty();
}

QString withToneMarks(std::string_view pinyin)
{
    // The marked vowels, tones 1 to 4, of a e i o u ü and their capitals.
    static const char16_t marks[12][4]
        = {{u'ā', u'á', u'ǎ', u'à'}, {u'ē', u'é', u'ě', u'è'}, {u'ī', u'í', u'ǐ', u'ì'},
           {u'ō', u'ó', u'ǒ', u'ò'}, {u'ū', u'ú', u'ǔ', u'ù'}, {u'ǖ', u'ǘ', u'ǚ', u'ǜ'},
           {u'Ā', u'Á', u'Ǎ', u'À'}, {u'Ē', u'É', u'Ě', u'È'}, {u'Ī', u'Í', u'Ǐ', u'Ì'},
           {u'Ō', u'Ó', u'Ǒ', u'Ò'}, {u'Ū', u'Ú', u'Ǔ', u'Ù'}, {u'Ǖ', u'Ǘ', u'Ǚ', u'Ǜ'}};
    static const char vowels[] = "aeiouvAEIOUV";

    QString result;
    result.reserve(int(pinyin.size()));
    forEachToken(pinyin, [&](std::string_view token) {
        if (!result.isEmpty())
            result += u' ';
        std::string letters;
        int tone = 5;
        if (!split(token, letters, tone)) {
            result += QString::fromUtf8(token.data(), int(token.size()));
            return;
        }
        // ü is written "u:"; mark it as "v" while placing the tone.
        std::string spelt;
        for (size_t i = 0; i < token.size(); ++i) {
            if (token[i] == ':')
                spelt.back() = spelt.back() == 'U' ? 'V' : 'v';
            else if (!(token[i] >= '1' && token[i] <= '5' && i + 1 == token.size()))
                spelt += token[i];
        }
        // The mark goes on a or e; on the o of "ou"; otherwise on the last vowel.
        int at = -1;
        std::string lower;
        for (char c : spelt)
            lower += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
        if (size_t a = lower.find_first_of("ae"); a != std::string::npos)
            at = int(a);
        else if (size_t ou = lower.find("ou"); ou != std::string::npos)
            at = int(ou);
        else if (size_t last = lower.find_last_of("iouv"); last != std::string::npos)
            at = int(last);
        for (int i = 0; i < int(spelt.size()); ++i) {
            const char c = spelt[size_t(i)];
            const char *vowel = std::strchr(vowels, c);
            if (vowel && (i == at && tone <= 4))
                result += QChar(marks[vowel - vowels][tone - 1]);
            else if (vowel && (c == 'v' || c == 'V'))
                result += c == 'v' ? u'ü' : u'Ü';
            else
                result += QLatin1Char(c);
        }
    });
    return result;
}

bool readTyped(const QString &input, Typed &result)
{
    result = {};
    const QString decomposed = input.normalized(QString::NormalizationForm_D);
    for (int i = 0; i < decomposed.size(); ++i) {
        const char16_t c = decomposed.at(i).unicode();
        const int here = int(result.letters.size());
        auto boundary = [&] {
            if (here > 0 && (result.boundaries.empty() || result.boundaries.back() != here))
                result.boundaries.push_back(here);
        };
        if (c >= 'A' && c <= 'Z') {
            result.letters += char(c - 'A' + 'a');
        } else if (c >= 'a' && c <= 'z') {
            result.letters += char(c);
        } else if (c == ':' && here > 0 && result.letters.back() == 'u') {
            result.letters.back() = 'v';
        } else if (c == 0x0308 && here > 0 && result.letters.back() == 'u') {
            result.letters.back() = 'v'; // ü decomposed
        } else if (c == 0x0304 || c == 0x0301 || c == 0x030C || c == 0x0300) {
            if (here == 0)
                return false;
            const int tone = c == 0x0304 ? 1 : c == 0x0301 ? 2 : c == 0x030C ? 3 : 4;
            result.tones.push_back({here - 1, tone});
        } else if (c >= '1' && c <= '5') {
            if (here == 0)
                return false;
            result.tones.push_back({here - 1, c - '0'});
            boundary();
        } else if (c == ' ' || c == '\'' || c == '-' || c == 0x2019) {
            boundary();
        } else {
            return false;
        }
    }
    const int end = int(result.letters.size());
    if (!result.boundaries.empty() && result.boundaries.back() == end)
        result.boundaries.pop_back();
    return end > 0;
}

bool agrees(const std::vector<Syllable> &syllables, const Typed &typed)
{
    std::vector<int> starts;
    int at = 0;
    for (const Syllable &syllable : syllables) {
        starts.push_back(at);
        at += int(syllable.letters.size());
    }
    if (at != int(typed.letters.size()))
        return false;
    for (int boundary : typed.boundaries)
        if (!std::binary_search(starts.begin(), starts.end(), boundary))
            return false;
    for (const auto &[position, tone] : typed.tones) {
        const auto next = std::upper_bound(starts.begin(), starts.end(), position);
        const Syllable &syllable = syllables[size_t(next - starts.begin() - 1)];
        if (syllable.tone != tone)
            return false;
    }
    return true;
}

} // namespace Dictionary::Pinyin
