#include "HallList.h"

#include <QLocale>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <optional>

namespace {

constexpr int ScoreWidth = 7;

bool IsDigit(QChar character) { return character >= QLatin1Char('0') && character <= QLatin1Char('9'); }

// Turns the lines of a file into text: UTF-8 where a line is valid UTF-8,
// else the code page of older Windows machines, one line at a time.
class TLineDecoder {
public:
    QStringView Decode(QByteArrayView line)
    {
        if (std::all_of(line.begin(), line.end(), [](char byte) { return (byte & 0x80) == 0; })) {
            FLine.resize(line.size());
            std::copy(line.begin(), line.end(), FLine.begin());
            return FLine;
        }
        // Stateless, so that a sequence cut off at the end counts as invalid
        // instead of being held back for more input.
        FUtf8.resetState();
        FLine = FUtf8(line);
        if (FUtf8.hasError()) {
            if (!FLegacy)
                FLegacy.emplace("windows-1252");
            FLine = FLegacy->isValid() ? QString((*FLegacy)(line)) : QString::fromLatin1(line);
        }
        // A byte-order mark belongs to no name; one starting a line comes
        // from files joined by hand. Dropping it also means a saved list
        // reads back exactly as it was.
        qsizetype marks = 0;
        while (marks < FLine.size() && FLine[marks] == QChar::ByteOrderMark)
            ++marks;
        return QStringView(FLine).mid(marks);
    }

private:
    QString FLine;
    QStringDecoder FUtf8{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless};
    std::optional<QStringDecoder> FLegacy;
};

} // namespace

QString HallEntry(int score, const QString& name)
{
    QString oneLine = name;
    oneLine.replace(QLatin1String("\r\n"), QLatin1String(" "));
    for (const QChar breaking : {QChar('\r'), QChar('\n'), QChar(0)})
        oneLine.replace(breaking, QLatin1Char(' '));
    return QString::number(score).rightJustified(ScoreWidth, QLatin1Char('0')) + QLatin1Char(';') + oneLine;
}

QStringView HallEntryScore(QStringView entry)
{
    const qsizetype separator = entry.indexOf(QLatin1Char(';'));
    return separator < 0 ? QStringView() : entry.left(separator);
}

QStringView HallEntryName(QStringView entry)
{
    const qsizetype separator = entry.indexOf(QLatin1Char(';'));
    return separator < 0 ? entry : entry.mid(separator + 1);
}

THallList::THallList() : FOrder(QLocale::system())
{
    FOrder.setCaseSensitivity(Qt::CaseInsensitive);
}

int THallList::Compare(QStringView a, QStringView b) const
{
    // Neighbours mostly differ in their score field. Where the first
    // difference follows nothing but digits and is itself a pair of digits,
    // every collation orders like the digits, without asking the locale.
    const qsizetype common = std::min(a.size(), b.size());
    qsizetype at = 0;
    while (at < common && a[at] == b[at] && IsDigit(a[at]))
        ++at;
    if (at < common && IsDigit(a[at]) && IsDigit(b[at]) && a[at] != b[at])
        return a[at].unicode() - b[at].unicode();
    return FOrder.compare(a, b);
}

QStringList THallList::Entries() const
{
    QStringList entries;
    entries.reserve(Count());
    for (const TSpan span : FEntries)
        entries.append(View(span).toString());
    return entries;
}

THallList::TSpan THallList::Append(QStringView text)
{
    const TSpan span{std::uint32_t(FText.size()), std::uint32_t(text.size())};
    FText.insert(FText.end(), text.utf16(), text.utf16() + text.size());
    return span;
}

std::pair<std::size_t, bool> THallList::Find(QStringView entry) const
{
    std::size_t low = 0;
    std::size_t high = FEntries.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        const int order = Compare(View(FEntries[middle]), entry);
        if (order == 0)
            return {middle, true};
        if (order < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return {low, false};
}

int THallList::Add(QStringView entry)
{
    const auto [index, present] = Find(entry);
    if (present)
        return -1;
    const TSpan span = Append(entry);
    FEntries.insert(FEntries.begin() + std::ptrdiff_t(index), span);
    return int(index);
}

void THallList::Clear()
{
    FText.clear();
    FEntries.clear();
}

bool THallList::AddText(QByteArrayView bytes)
{
    const qsizetype zero = bytes.indexOf('\0');
    const QByteArrayView text = bytes.first(zero < 0 ? bytes.size() : zero);

    // A line never decodes to more characters than it has bytes.
    FText.reserve(FText.size() + std::size_t(text.size()));
    std::vector<TSpan> lines;
    bool ordered = true;
    TLineDecoder decoder;
    const qsizetype size = text.size();
    qsizetype start = 0;
    while (start < size) {
        qsizetype stop = start;
        while (stop < size && text[stop] != '\r' && text[stop] != '\n')
            ++stop;
        const TSpan line = Append(decoder.Decode(text.sliced(start, stop - start)));
        ordered = ordered && (lines.empty() || Compare(View(lines.back()), View(line)) < 0);
        lines.push_back(line);
        start = stop;
        if (start < size && text[start] == '\r')
            ++start;
        if (start < size && text[start] == '\n')
            ++start;
    }
    if (!ordered) {
        // A stable sort keeps the first of equal lines, as adding one by one
        // does.
        std::stable_sort(lines.begin(), lines.end(),
                         [this](TSpan a, TSpan b) { return Compare(View(a), View(b)) < 0; });
        lines.erase(std::unique(lines.begin(), lines.end(),
                                [this](TSpan a, TSpan b) { return Compare(View(a), View(b)) == 0; }),
                    lines.end());
    }

    // One pass over both: an entry already present wins over an equal line.
    if (FEntries.empty()) {
        FEntries = std::move(lines);
    } else {
        std::vector<TSpan> merged;
        merged.reserve(FEntries.size() + lines.size());
        auto present = FEntries.cbegin();
        auto line = lines.cbegin();
        while (present != FEntries.cend() && line != lines.cend()) {
            const int order = Compare(View(*present), View(*line));
            if (order <= 0) {
                merged.push_back(*present++);
                if (order == 0)
                    ++line;
            } else {
                merged.push_back(*line++);
            }
        }
        merged.insert(merged.end(), present, FEntries.cend());
        merged.insert(merged.end(), line, lines.cend());
        FEntries = std::move(merged);
    }

    // Nothing is lost when only more bytes 0 follow the first.
    return zero < 0 || std::all_of(bytes.begin() + zero, bytes.end(), [](char byte) { return byte == '\0'; });
}

QByteArray THallList::Text() const
{
    std::size_t most = 0;
    for (const TSpan span : FEntries)
        most += 3 * std::size_t(span.Length) + 2;
    QByteArray text(qsizetype(most), Qt::Uninitialized);
    QStringEncoder utf8(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    char* end = text.data();
    for (const TSpan span : FEntries) {
        end = utf8.appendToBuffer(end, View(span));
        *end++ = '\r';
        *end++ = '\n';
    }
    text.truncate(end - text.data());
    return text;
}
