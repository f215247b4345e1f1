#pragma once

#include <QString>

// The fixed addresses of the program: the dictionary providers' query templates and the maker's
// contact points. "%word" stands for the trimmed word, "%firstchar" for its first character.
namespace Providers {

// Yahoo Dictionary (Hong Kong): also the template used when no settings file exists.
inline QString hongKongTemplate()
{
    return QStringLiteral("http://hk.dictionary.yahoo.com/dict?s=%word");
}

// OK88 Dictionary.
inline QString ok88Template()
{
    return QStringLiteral("http://www.ok88.com/cgi-bin/ecdict.cgi?english=%word");
}

// Yahoo Dictionary (China).
inline QString chinaTemplate()
{
    return QStringLiteral("http://cn.dictionary.yahoo.com/dictionary/result/%firstchar/%word.html");
}

inline QString makerWebsite() { return QStringLiteral("http://www.tavrel.example"); }

inline QString makerSupportEmail() { return QStringLiteral("support@tavrel.example"); }

} // namespace Providers
