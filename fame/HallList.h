#pragma once

#include <QByteArray>
#include <QCollator>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <utility>
#include <vector>

// One entry: the score padded with "0" to seven digits (never cut), ";" and
// the name as typed. A line break or a byte 0 in the name becomes a blank,
// so that one entry always stays one whole line of the file.
QString HallEntry(int score, const QString& name);

// The score field of an entry (the text before its first ";") and the name
// (everything after it); an entry without ";" is all name.
QStringView HallEntryScore(QStringView entry);
QStringView HallEntryName(QStringView entry);

// The hall of fame: entries kept sorted by the locale's order with case
// ignored, so the fixed-width score field orders by score and equal scores by
// name, the best game last. An entry equal to one present is not added.
//
// A list may hold a million entries: their characters lie one after another
// in one buffer, and the list keeps only where each one starts.
class THallList {
public:
    THallList();

    int Count() const { return int(FEntries.size()); }
    QStringView operator[](int index) const { return View(FEntries[std::size_t(index)]); }
    // Every entry as a string of its own: for small lists.
    QStringList Entries() const;

    // The index of the new entry, or -1 when an equal one is present.
    int Add(QStringView entry);
    int Add(const QString& entry) { return Add(QStringView(entry)); }
    void Clear();

    // Adds every line of a saved file like a new entry, with the same result
    // as adding them one by one in file order. A file this program wrote is
    // already in order and merges in one pass; any other is sorted once.
    // The text ends at a byte 0; lines end at CR, LF or CR LF; each line is
    // UTF-8 where it is valid UTF-8, else Windows-1252. False when a byte 0
    // cut off text that was not read.
    bool AddText(QByteArrayView bytes);
    // The whole list as the file holds it: UTF-8, CR LF after every line.
    QByteArray Text() const;

    // Below zero, zero or above zero as a sorts before, equal to or after b.
    int Compare(QStringView a, QStringView b) const;

private:
    struct TSpan {
        std::uint32_t Start;
        std::uint32_t Length;
    };

    QStringView View(TSpan span) const { return QStringView(FText.data() + span.Start, span.Length); }
    TSpan Append(QStringView text);
    // Where the entry belongs, and whether an equal one is already there.
    std::pair<std::size_t, bool> Find(QStringView entry) const;

    QCollator FOrder;
    std::vector<char16_t> FText;
    // In list order.
    std::vector<TSpan> FEntries;
};
