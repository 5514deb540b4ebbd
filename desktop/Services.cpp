#include "Services.h"

#include "Random.h"

#include <cstdlib>

namespace {

TServices* Installed = nullptr;

std::uint32_t ServicesClock() { return Services().MillisecondsSinceMidnight(); }

} // namespace

TServices& Services()
{
    if (!Installed)
        std::abort(); // a programming error: main or the test set-up installs them first
    return *Installed;
}

void InstallServices(TServices* services)
{
    Installed = services;
    Random::SetClock(services ? &ServicesClock : nullptr);
}

QString ProgramFile(const QString& fileName) { return Services().ProgramDirectory() + fileName; }

QString DirectoryOfExecutable(const QString& executablePath)
{
    qsizetype cut = -1;
    for (QChar separator : {QChar('/'), QChar('\\'), QChar(':')})
        cut = std::max(cut, executablePath.lastIndexOf(separator));
    return executablePath.left(cut + 1);
}
