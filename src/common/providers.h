#pragma once

#include <QString>

// The fixed addresses of the program: the dictionary providers' query templates and the maker's
// web site. "%word" stands for the trimmed word, "%firstchar" for its first character.
namespace Providers {

// Yahoo Dictionary (Hong Kong): also the template used when no settings file exists.
inline QString hongKongTemplate()
{
    return QStringLiteral("http://hk.dictionary.yahoo.com/dict?s=%word");
}

inline QString makerWebsite() { return QStringLiteral("http://www.tavrel.example"); }

} // namespace Providers
