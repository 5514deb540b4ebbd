#include "FameFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

static void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

// Runs body in a child process, so that it may lower its own limits or give
// up its rights; its exit code comes back.
int InChild(const std::function<int()>& body)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(body());
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class FameFile : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Folder.isValid()); }

    void Write(const QByteArray& bytes, const QString& path = {}) const
    {
        QFile file(path.isEmpty() ? Path : path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    static QByteArray Bytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
    }

    QStringList FolderEntries() const
    {
        return QDir(Folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden);
    }

    QTemporaryDir Folder;
    QString Path = Folder.filePath("Fame.sav");
};

TEST_F(FameFile, SavesEveryEntryWithCarriageReturnLineFeedInUtf8)
{
    TFameFile file(Path);
    THallList list;
    file.Add(list, "0000002;b");
    file.Add(list, HallEntry(10000000, QString::fromUtf8("Jürgen")));
    EXPECT_TRUE(file.Add(list, "0000001;a").Saved);
    EXPECT_EQ(Bytes(Path), "0000001;a\r\n0000002;b\r\n10000000;J\xC3\xBCrgen\r\n");
    EXPECT_TRUE(file.Clear(list).Saved);
    EXPECT_EQ(Bytes(Path), "");
    EXPECT_EQ(FolderEntries(), QStringList{"Fame.sav"});
}

TEST_F(FameFile, FailedSaveKeepsTheEntryInTheListAndWritesItWithTheNextSave)
{
    ASSERT_TRUE(QDir(Folder.path()).mkpath("Fame.sav/old"));
    TFameFile file(Path);
    THallList list;
    EXPECT_EQ(file.Read(list), TFameRead::NotAFile);
    EXPECT_FALSE(file.Add(list, "0000001;a").Saved);
    EXPECT_EQ(list.Entries(), QStringList{"0000001;a"});
    EXPECT_TRUE(QDir(Path).exists("old"));
    EXPECT_EQ(FolderEntries(), QStringList{"Fame.sav"});

    ASSERT_TRUE(QDir(Path).removeRecursively());
    EXPECT_TRUE(file.Add(list, "0000002;b").Saved);
    EXPECT_EQ(Bytes(Path), "0000001;a\r\n0000002;b\r\n");
}

TEST_F(FameFile, FullDiskCancelsTheSaveAndKeepsThePreviousFile)
{
    THallList old;
    for (int score = 0; score < 1000; ++score)
        old.Add(HallEntry(score, "Spielerin mit langem Namen"));
    Write(old.Text());
    // The file size limit stands in for a disk that takes only part of the
    // list: the write comes back short instead of failing.
    const int result = InChild([this] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{8192, RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &limit);
        TFameFile file(Path);
        THallList list;
        return file.Add(list, "0009999;neu").Saved ? 1 : 0;
    });
    EXPECT_EQ(result, 0) << "the cut-short save was reported as saved";
    EXPECT_EQ(Bytes(Path), old.Text());
    EXPECT_EQ(FolderEntries(), QStringList{"Fame.sav"});
}

TEST_F(FameFile, TwoRunningCopiesNeverDropEachOthersEntries)
{
    Write("0000005;Alt\r\n");
    TFameFile fileA(Path);
    TFameFile fileB(Path);
    THallList listA;
    THallList listB;
    fileA.Read(listA);
    fileB.Read(listB);
    EXPECT_TRUE(fileA.Add(listA, "0000007;SpielerA").Saved);
    EXPECT_TRUE(fileB.Add(listB, "0000003;SpielerB").Saved);
    EXPECT_TRUE(fileA.Add(listA, "0000001;SpielerA").Saved);
    EXPECT_EQ(Bytes(Path), "0000001;SpielerA\r\n0000003;SpielerB\r\n0000005;Alt\r\n0000007;SpielerA\r\n");
    EXPECT_EQ(listA.Count(), 4) << "the list shows the file as saved";

    // A deletion empties the file for both; the other copy brings back only
    // its own new entries, not the ones it read before.
    EXPECT_TRUE(fileA.Clear(listA).Saved);
    EXPECT_TRUE(fileB.Add(listB, "0000004;SpielerB").Saved);
    EXPECT_EQ(Bytes(Path), "0000004;SpielerB\r\n");
    fileA.Refresh(listA);
    EXPECT_EQ(listA.Entries(), QStringList{"0000004;SpielerB"});
}

TEST_F(FameFile, ALockHeldByALiveCopyWaitsOneWhoseOwnerDiedIsTakenOver)
{
    Write("0000001;a\r\n");
    {
        QLockFile held(Path + ".lock");
        ASSERT_TRUE(held.tryLock());
        TFameFile file(Path);
        THallList list;
        EXPECT_FALSE(file.Add(list, "0000002;b").Saved);
        EXPECT_EQ(Bytes(Path), "0000001;a\r\n");
    }
    ASSERT_EQ(InChild([this] {
                  auto* lock = new QLockFile(Path + ".lock"); // never unlocked: the owner dies holding it
                  return lock->tryLock() ? 0 : 1;
              }),
              0);
    ASSERT_TRUE(QFile::exists(Path + ".lock"));
    TFameFile file(Path);
    THallList list;
    EXPECT_TRUE(file.Add(list, "0000002;b").Saved);
    EXPECT_EQ(Bytes(Path), "0000001;a\r\n0000002;b\r\n");
}

TEST_F(FameFile, AFileNotReadWholeIsKeptBeforeTheFirstSaveOverIt)
{
    const QByteArray damaged("0000001;a\r\n\0000000009;hinter der Null\r\n", 38);
    Write(damaged);
    Write("eine alte Sicherung", Folder.filePath("Fame.sav.bak"));
    TFameFile file(Path);
    THallList list;
    EXPECT_EQ(file.Read(list), TFameRead::CutShort);
    EXPECT_EQ(list.Entries(), QStringList{"0000001;a"});

    const TFameSaved first = file.Add(list, "0000002;b");
    EXPECT_TRUE(first.Saved);
    EXPECT_EQ(first.Backup, Folder.filePath("Fame.sav.bak"));
    EXPECT_EQ(Bytes(first.Backup), damaged) << "the newest backup replaces the older one";
    EXPECT_EQ(Bytes(Path), "0000001;a\r\n0000002;b\r\n");
    EXPECT_TRUE(file.Add(list, "0000003;c").Backup.isEmpty()) << "a whole file needs no backup";
}

TEST_F(FameFile, AnUnreadableFileIsKeptAsBackupThoughItCannotBeRead)
{
    // A file one may write but not read; root reads everything, so the
    // check gives up root's rights first.
    if (getuid() == 0) {
        ASSERT_EQ(chown(QFile::encodeName(Folder.path()).constData(), 65534, 65534), 0);
    }
    const int result = InChild([this] {
        if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            return 10;
        {
            QFile old(Path);
            if (!old.open(QIODevice::WriteOnly) || old.write("0000001;a\r\n0000002;b\r\n") != 22)
                return 11;
        }
        chmod(QFile::encodeName(Path).constData(), 0200);
        TFameFile file(Path);
        THallList list;
        if (file.Read(list) != TFameRead::Unreadable)
            return 12;
        const TFameSaved saved = file.Add(list, "0000009;neu");
        return saved.Saved && saved.Backup == file.BackupPath() ? 0 : 13;
    });
    ASSERT_EQ(result, 0);
    EXPECT_EQ(Bytes(Path), "0000009;neu\r\n");
    EXPECT_EQ(Bytes(Path + ".bak"), "0000001;a\r\n0000002;b\r\n");
}

TEST_F(FameFile, OnlyARegularFileOfASaneSizeIsRead)
{
    TFameFile file(Path);
    THallList list;
    // A pipe would hang the start-up if it were opened for reading.
    ASSERT_EQ(mkfifo(QFile::encodeName(Path).constData(), 0600), 0);
    EXPECT_EQ(file.Read(list), TFameRead::NotAFile);
    EXPECT_FALSE(file.Add(list, "0000001;a").Saved);
    EXPECT_EQ(QFileInfo(Path).isFile(), false) << "the pipe is never replaced";
    ASSERT_TRUE(QFile::remove(Path));

    ASSERT_TRUE(QFile::link("/dev/zero", Path));
    EXPECT_EQ(file.Read(list), TFameRead::NotAFile);
    ASSERT_TRUE(QFile::remove(Path));

    // Sparse: the size alone tells, nothing is read.
    Write("0000001;a\r\n");
    ASSERT_EQ(truncate(QFile::encodeName(Path).constData(), TFameFile::MaxSize + 1), 0);
    TFameFile large(Path);
    THallList nothing;
    EXPECT_EQ(large.Read(nothing), TFameRead::TooLarge);
    const TFameSaved saved = large.Add(nothing, "0000002;b");
    EXPECT_TRUE(saved.Saved);
    EXPECT_EQ(QFileInfo(saved.Backup).size(), TFameFile::MaxSize + 1);
    EXPECT_EQ(Bytes(Path), "0000002;b\r\n");
}

TEST_F(FameFile, APlayerWhoMayNotWriteBesideTheProgramKeepsAFileOfHisOwnStartingFromTheShared)
{
    const QString program = Folder.path() + "/";
    const QString data = Folder.filePath("home/.local/share/MVKubrin/");
    EXPECT_EQ(PlayersFameFile(program, true, data).Path(), Path);

    Write("0000005;Alt\r\n");
    TFameFile own = PlayersFameFile(program, false, data);
    EXPECT_EQ(own.Path(), data + "Fame.sav");
    THallList list;
    EXPECT_EQ(own.Read(list), TFameRead::Complete);
    EXPECT_EQ(list.Entries(), QStringList{"0000005;Alt"});
    EXPECT_TRUE(own.Add(list, "0000009;Neu").Saved);
    EXPECT_EQ(Bytes(own.Path()), "0000005;Alt\r\n0000009;Neu\r\n");
    EXPECT_EQ(Bytes(Path), "0000005;Alt\r\n");

    // From the first save on, the player's own file is the hall of fame.
    Write("0000001;Danach\r\n");
    THallList again;
    own.Read(again);
    EXPECT_EQ(again.Entries(), (QStringList{"0000005;Alt", "0000009;Neu"}));
}

} // namespace
