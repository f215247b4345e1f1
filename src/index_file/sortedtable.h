#pragma once

#include <QtGlobal>

#include <string_view>
#include <utility>

// Searching the sorted key tables of an index: rows(i) gives the row i, whose key is its key.
namespace IndexFile {

// The rows [low, high) of a sorted key table whose keys start with prefix, where every key in
// [low, high) already starts with prefix less its last character (or the range is the table).
template <typename Rows>
void narrow(const Rows &rows, std::string_view prefix, quint32 &low, quint32 &high)
{
    quint32 first = low, last = high;
    while (first < last) {
        const quint32 middle = first + (last - first) / 2;
        if (rows(middle).key < prefix)
            first = middle + 1;
        else
            last = middle;
    }
    low = first;
    last = high;
    while (first < last) {
        const quint32 middle = first + (last - first) / 2;
        if (rows(middle).key.substr(0, prefix.size()) <= prefix)
            first = middle + 1;
        else
            last = middle;
    }
    high = first;
}

// The rows whose key is key.
template <typename Rows>
std::pair<quint32, quint32> equalRows(const Rows &rows, quint32 count, std::string_view key)
{
    quint32 low = 0, high = count;
    narrow(rows, key, low, high);
    quint32 end = low;
    while (end < high && rows(end).key == key)
        ++end;
    return {low, end};
}

// The rows of a sorted table of count rows whose keys start with prefix.
template <typename Rows>
std::pair<quint32, quint32> prefixRows(const Rows &rows, quint32 count, std::string_view prefix)
{
    quint32 low = 0, high = count;
    narrow(rows, prefix, low, high);
    return {low, high};
}

} // namespace IndexFile
