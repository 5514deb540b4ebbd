#include "HallList.h"

#include <QLocale>
#include <QStringDecoder>

#include <algorithm>

namespace {

constexpr int ScoreWidth = 7;

QString DecodeLine(QByteArrayView line)
{
    // Stateless, so that a sequence cut off at the end counts as invalid
    // instead of being held back for more input.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(line);
    if (utf8.hasError()) {
        // Lines written on older Windows machines hold their code page. One
        // such line costs nothing to the lines around it.
        QStringDecoder legacy("windows-1252");
        text = legacy.isValid() ? QString(legacy(line)) : QString::fromLatin1(line);
    }
    // A byte-order mark belongs to no name; one starting a line comes from
    // files joined by hand. Dropping it also means a saved list reads back
    // exactly as it was.
    qsizetype marks = 0;
    while (marks < text.size() && text[marks] == QChar::ByteOrderMark)
        ++marks;
    return marks ? text.mid(marks) : text;
}

} // namespace

QString HallEntry(int score, const QString& name)
{
    QString oneLine = name;
    oneLine.replace(QLatin1String("\r\n"), QLatin1String(" "));
    for (const QChar breaking : {QChar('\r'), QChar('\n'), QChar(0)})
        oneLine.replace(breaking, QLatin1Char(' '));
    return QString::number(score).rightJustified(ScoreWidth, QLatin1Char('0')) + QLatin1Char(';') + oneLine;
}

QString HallEntryScore(const QString& entry)
{
    const qsizetype separator = entry.indexOf(QLatin1Char(';'));
    return separator < 0 ? QString() : entry.left(separator);
}

QString HallEntryName(const QString& entry)
{
    const qsizetype separator = entry.indexOf(QLatin1Char(';'));
    return separator < 0 ? entry : entry.mid(separator + 1);
}

THallList::THallList() : FOrder(QLocale::system())
{
    FOrder.setCaseSensitivity(Qt::CaseInsensitive);
}

std::pair<qsizetype, bool> THallList::Find(const QString& entry) const
{
    qsizetype low = 0;
    qsizetype high = FEntries.size() - 1;
    while (low <= high) {
        const qsizetype middle = low + (high - low) / 2;
        const int order = FOrder.compare(FEntries[middle], entry);
        if (order == 0)
            return {middle, true};
        if (order < 0)
            low = middle + 1;
        else
            high = middle - 1;
    }
    return {low, false};
}

int THallList::Add(const QString& entry)
{
    const auto [index, present] = Find(entry);
    if (present)
        return -1;
    FEntries.insert(index, entry);
    return int(index);
}

bool THallList::AddText(const QByteArray& bytes)
{
    const qsizetype zero = bytes.indexOf('\0');
    const QByteArrayView text = QByteArrayView(bytes).first(zero < 0 ? bytes.size() : zero);

    // The present entries first, so that they win over equal lines; a stable
    // sort then keeps the first of equal entries, as adding one by one does.
    QStringList all = FEntries;
    const qsizetype size = text.size();
    qsizetype start = 0;
    while (start < size) {
        qsizetype stop = start;
        while (stop < size && text[stop] != '\r' && text[stop] != '\n')
            ++stop;
        all.append(DecodeLine(text.sliced(start, stop - start)));
        start = stop;
        if (start < size && text[start] == '\r')
            ++start;
        if (start < size && text[start] == '\n')
            ++start;
    }
    std::stable_sort(all.begin(), all.end(),
                     [this](const QString& a, const QString& b) { return FOrder.compare(a, b) < 0; });
    const auto last = std::unique(all.begin(), all.end(),
                                  [this](const QString& a, const QString& b) { return FOrder.compare(a, b) == 0; });
    all.erase(last, all.end());
    FEntries = std::move(all);

    // Nothing is lost when only more bytes 0 follow the first.
    return zero < 0 || std::all_of(bytes.cbegin() + zero, bytes.cend(), [](char byte) { return byte == '\0'; });
}

QByteArray THallList::Text() const
{
    QByteArray text;
    for (const QString& entry : FEntries) {
        text += entry.toUtf8();
        text += "\r\n";
    }
    return text;
}
