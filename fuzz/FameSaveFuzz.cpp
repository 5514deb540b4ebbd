// Feeds arbitrary bytes to the hall of fame's save path: they become the
// file, entries are added and saved, and the file is read again. Every entry
// that was read must come back as it was read, every added entry must come
// back unless an equal one was there already, and a file that was not read
// whole must have been kept as the backup.
//
// Input: the file's bytes, then optionally "\xFF\xFE" and the names to add,
// one a line.
#include "FameStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

// In memory where there is such a folder: every save syncs to disk.
QString Folder()
{
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/mvk-fuzz-XXXXXX")
                                                                          : QString());
    if (!folder.isValid())
        std::abort();
    return folder.path();
}

void Check(bool holds)
{
    if (!holds)
        std::abort();
}

// Whether list has an entry equal to entry under its own order.
bool HasEqual(const THallList& list, const QString& entry)
{
    THallList probe = list;
    return probe.Add(entry) < 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype marker = input.indexOf("\xFF\xFE");
    const QByteArray bytes = marker < 0 ? input : input.left(marker);
    QStringList names = marker < 0 ? QStringList{QStringLiteral("Fuzz")}
                                   : QString::fromUtf8(input.mid(marker + 2)).split(QLatin1Char('\n'));
    names = names.mid(0, 8);

    const QString path = Folder() + QStringLiteral("/Fame.sav");
    QFile::remove(path + QStringLiteral(".bak"));
    {
        QFile file(path);
        Check(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }

    TFameStore fame(path);
    const TFameRead result = fame.Load();
    Check(result == TFameRead::Complete || result == TFameRead::CutShort);
    const QStringList read = fame.List().Entries();
    // The added entries that no equal entry kept out.
    QStringList kept;
    for (int score = 0; score < names.size(); ++score) {
        const QString entry = HallEntry(score * 97, names[score]);
        if (!HasEqual(fame.List(), entry))
            kept.append(entry);
        const TFameSaved saved = fame.Add(entry);
        Check(saved.Saved());
        if (saved.Backup.isEmpty())
            continue;
        // Kept before anything was written over it, byte for byte.
        Check(score == 0 && result == TFameRead::CutShort);
        QFile backup(saved.Backup);
        Check(backup.open(QIODevice::ReadOnly) && backup.readAll() == bytes);
    }

    TFameStore again(path);
    Check(again.Load() == TFameRead::Complete);
    const QStringList saved = again.List().Entries();
    Check(saved == fame.List().Entries());
    for (const QString& entry : read)
        Check(saved.contains(entry));
    for (const QString& entry : kept)
        Check(saved.contains(entry));
    return 0;
}
