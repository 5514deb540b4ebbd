#include "HallList.h"

#include <QFile>
#include <QLocale>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

constexpr int ScoreWidth = 7;

QString DecodeText(QByteArrayView bytes)
{
    // Stateless, so that a sequence cut off at the end counts as invalid
    // instead of being held back for more input.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    // Files written on older Windows machines hold their code page.
    QStringDecoder legacy("windows-1252");
    if (!legacy.isValid())
        return QString::fromLatin1(bytes);
    return legacy(bytes);
}

} // namespace

QString HallEntry(int score, const QString& name)
{
    QString oneLine = name;
    oneLine.replace(QLatin1String("\r\n"), QLatin1String(" "));
    oneLine.replace(QLatin1Char('\r'), QLatin1Char(' '));
    oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
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

void THallList::AddText(const QByteArray& bytes)
{
    const qsizetype end = bytes.indexOf('\0');
    const QString text = DecodeText(QByteArrayView(bytes).first(end < 0 ? bytes.size() : end));
    const qsizetype size = text.size();
    qsizetype start = 0;
    while (start < size) {
        qsizetype stop = start;
        while (stop < size && text[stop] != QLatin1Char('\r') && text[stop] != QLatin1Char('\n'))
            ++stop;
        QString line = text.mid(start, stop - start);
        // A byte-order mark belongs to no name; one starting a line comes from
        // files joined by hand. Dropping it also means a saved list reads back
        // exactly as it was.
        while (line.startsWith(QChar::ByteOrderMark))
            line.remove(0, 1);
        Add(line);
        start = stop;
        if (start < size && text[start] == QLatin1Char('\r'))
            ++start;
        if (start < size && text[start] == QLatin1Char('\n'))
            ++start;
    }
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

bool THallList::LoadFromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    AddText(bytes);
    return true;
}

bool THallList::SaveToFile(const QString& path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // A failed write is remembered, and commit then keeps the old file.
    file.write(Text());
    return file.commit();
}
