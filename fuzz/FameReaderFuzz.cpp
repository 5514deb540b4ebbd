// Feeds arbitrary bytes to the Fame.sav reader and checks what every list it
// builds must satisfy: strictly ascending under the locale's order, one line
// per entry, the same list as adding the lines one by one, and saved text that
// reads back to the very same list, in order, through the one-pass merge.
#include "HallList.h"

#include <QCollator>
#include <QLocale>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    THallList list;
    list.AddText(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));

    QCollator order{QLocale::system()};
    order.setCaseSensitivity(Qt::CaseInsensitive);
    for (int i = 0; i < list.Count(); ++i) {
        const QStringView entry = list[i];
        if (entry.contains(QLatin1Char('\r')) || entry.contains(QLatin1Char('\n')) || entry.contains(QChar(0)))
            std::abort();
        if (i > 0 && order.compare(list[i - 1], entry) >= 0)
            std::abort();
    }

    THallList again;
    again.AddText(list.Text());
    if (again.Entries() != list.Entries())
        std::abort();

    // Lines read into a list that already holds entries merge with them as
    // adding them one by one would.
    // Lines as the reader gives them back: no line ends, no byte 0, no
    // byte-order mark in front.
    QString input = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    input.remove(QLatin1Char('\r')).remove(QChar(0));
    QStringList lines = input.split(QLatin1Char('\n')).mid(0, 64);
    for (QString& line : lines)
        while (line.startsWith(QChar::ByteOrderMark))
            line.remove(0, 1);
    THallList oneByOne;
    THallList merged;
    for (qsizetype i = 0; i < lines.size(); i += 2) {
        oneByOne.Add(lines[i]);
        merged.Add(lines[i]);
    }
    QByteArray rest;
    for (qsizetype i = 1; i < lines.size(); i += 2) {
        oneByOne.Add(lines[i]);
        rest += lines[i].toUtf8() + "\n";
    }
    merged.AddText(rest);
    if (merged.Entries() != oneByOne.Entries())
        std::abort();
    return 0;
}
