#pragma once

#include <QByteArray>
#include <QString>

#include <string>
#include <vector>

namespace EnglishChinese {

// One row of ECDICT's table, as its SQLite file holds it.
struct SourceEntry
{
    std::string word;
    std::string phonetic;
    std::string definition; // lines
    std::string translation; // lines
    std::string tags; // "zk gk cet4"
    std::string exchange; // "p:went/d:gone/i:going/3:goes", "0:go/1:p"
    int collins = 0;
    bool oxford = false;
    unsigned bnc = 0;
    unsigned frq = 0;
};

struct BuildCounts
{
    size_t kept = 0; // entries with a Chinese translation
    size_t dropped = 0; // entries without
    size_t basesFromTranslation = 0; // bases read from "X的过去式" and the like
};

// The index file for the entries that have a Chinese translation; dataDate and dataVersion go
// into its header. An empty result when no entry has one.
QByteArray buildIndex(std::vector<SourceEntry> entries, const QString &dataDate,
                      const QString &dataVersion, BuildCounts *counts = nullptr);

} // namespace EnglishChinese
