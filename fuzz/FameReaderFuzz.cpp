// Feeds arbitrary bytes to the Fame.sav reader and checks what every list it
// builds must satisfy: strictly ascending under the list's own order, one line
// per entry, and saved text that reads back to the very same list.
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
        const QString& entry = list[i];
        if (entry.contains(QLatin1Char('\r')) || entry.contains(QLatin1Char('\n')) || entry.contains(QChar(0)))
            std::abort();
        if (i > 0 && order.compare(list[i - 1], entry) >= 0)
            std::abort();
    }

    THallList again;
    again.AddText(list.Text());
    if (again.Entries() != list.Entries())
        std::abort();
    return 0;
}
