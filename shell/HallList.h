#pragma once

#include <QByteArray>
#include <QCollator>
#include <QString>
#include <QStringList>

#include <utility>

// The hall of fame's file.
inline const QString FameFileName = QStringLiteral("Fame.sav");

// One entry: the score padded with "0" to seven digits (never cut), ";" and
// the name as typed. A line break or a byte 0 in the name becomes a blank,
// so that one entry always stays one whole line of the file.
QString HallEntry(int score, const QString& name);

// The score field of an entry (the text before its first ";") and the name
// (everything after it); an entry without ";" is all name.
QString HallEntryScore(const QString& entry);
QString HallEntryName(const QString& entry);

// The hall of fame: entries kept sorted by the locale's order with case
// ignored, so the fixed-width score field orders by score and equal scores by
// name, the best game last. An entry equal to one present is not added.
class THallList {
public:
    THallList();

    int Count() const { return int(FEntries.size()); }
    const QString& operator[](int index) const { return FEntries[index]; }
    const QStringList& Entries() const { return FEntries; }

    // The index of the new entry, or -1 when an equal one is present.
    int Add(const QString& entry);
    void Clear() { FEntries.clear(); }

    // Adds every line of a saved file like a new entry, with the same result
    // as adding them one by one in file order, but sorted once. The text ends
    // at a byte 0; lines end at CR, LF or CR LF; each line is UTF-8 where it
    // is valid UTF-8, else Windows-1252. False when a byte 0 cut off text
    // that was not read.
    bool AddText(const QByteArray& bytes);
    // The whole list as the file holds it: UTF-8, CR LF after every line.
    QByteArray Text() const;

private:
    // Where the entry belongs, and whether an equal one is already there.
    std::pair<qsizetype, bool> Find(const QString& entry) const;

    QCollator FOrder;
    QStringList FEntries;
};
