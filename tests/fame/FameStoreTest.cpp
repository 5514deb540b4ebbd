#include "FameStore.h"
#include "TestRows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTimer>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <memory>
#include <optional>
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

class FameStore : public testing::Test {
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

TEST_F(FameStore, SavesEveryEntryWithCarriageReturnLineFeedInUtf8)
{
    TFameStore store(Path);
    store.Add("0000002;b");
    store.Add(HallEntry(10000000, QString::fromUtf8("Jürgen")));
    EXPECT_TRUE(store.Add("0000001;a").Saved());
    EXPECT_EQ(Bytes(Path), "0000001;a\r\n0000002;b\r\n10000000;J\xC3\xBCrgen\r\n");
    EXPECT_TRUE(store.Clear().Saved());
    EXPECT_EQ(Bytes(Path), "");
    EXPECT_EQ(FolderEntries(), QStringList{"Fame.sav"});
}

TEST_F(FameStore, FailedSaveKeepsTheEntryInTheListAndWritesItWithTheNextSave)
{
    ASSERT_TRUE(QDir(Folder.path()).mkpath("Fame.sav/old"));
    TFameStore store(Path);
    EXPECT_EQ(store.Load(), TFameRead::NotAFile);
    EXPECT_EQ(store.Add("0000001;a").Failure, TFameFailure::NotAFile);
    EXPECT_EQ(store.List().Entries(), QStringList{"0000001;a"});
    EXPECT_TRUE(QDir(Path).exists("old"));
    EXPECT_EQ(FolderEntries(), QStringList{"Fame.sav"});

    ASSERT_TRUE(QDir(Path).removeRecursively());
    EXPECT_TRUE(store.Add("0000002;b").Saved());
    EXPECT_EQ(Bytes(Path), "0000001;a\r\n0000002;b\r\n");
}

TEST_F(FameStore, FullDiskCancelsTheSaveAndKeepsThePreviousFile)
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
        TFameStore store(Path);
        return int(store.Add("0009999;neu").Failure);
    });
    EXPECT_EQ(result, int(TFameFailure::Disk));
    EXPECT_EQ(Bytes(Path), old.Text());
    EXPECT_EQ(FolderEntries(), QStringList{"Fame.sav"});
}

TEST_F(FameStore, TwoRunningCopiesNeverDropEachOthersEntries)
{
    Write("0000005;Alt\r\n");
    TFameStore storeA(Path);
    TFameStore storeB(Path);
    storeA.Load();
    storeB.Load();
    EXPECT_TRUE(storeA.Add("0000007;SpielerA").Saved());
    EXPECT_TRUE(storeB.Add("0000003;SpielerB").Saved());
    EXPECT_TRUE(storeA.Add("0000001;SpielerA").Saved());
    EXPECT_EQ(Bytes(Path), "0000001;SpielerA\r\n0000003;SpielerB\r\n0000005;Alt\r\n0000007;SpielerA\r\n");
    EXPECT_EQ(storeA.List().Count(), 4) << "the list shows the file as saved";

    // A deletion empties the file for both; the other copy brings back only
    // its own new entries, not the ones it read before.
    EXPECT_TRUE(storeA.Clear().Saved());
    EXPECT_TRUE(storeB.Add("0000004;SpielerB").Saved());
    EXPECT_EQ(Bytes(Path), "0000004;SpielerB\r\n");
    storeA.Refresh();
    EXPECT_EQ(storeA.List().Entries(), QStringList{"0000004;SpielerB"});
}

TEST_F(FameStore, ALockHeldByALiveCopyIsWaitedOnBrieflyOneWhoseOwnerDiedIsTakenOver)
{
    Write("0000001;a\r\n");
    {
        QLockFile held(Path + ".lock");
        ASSERT_TRUE(held.tryLock());
        TFameStore store(Path, {}, 100);
        std::optional<TFameFailure> heard;
        EXPECT_EQ(store.Add("0000002;b", [&heard](const TFameSaved& saved) { heard = saved.Failure; }).Failure,
                  TFameFailure::Waiting);
        EXPECT_TRUE(QTest::qWaitFor([&heard] { return heard.has_value(); }, 5000));
        EXPECT_EQ(heard, TFameFailure::Busy);
        EXPECT_EQ(Bytes(Path), "0000001;a\r\n");
        EXPECT_EQ(store.List().Entries(), (QStringList{"0000002;b"}));
        held.unlock();
        EXPECT_TRUE(store.Add("0000003;c").Saved());
        EXPECT_EQ(Bytes(Path), "0000001;a\r\n0000002;b\r\n0000003;c\r\n") << "the entry kept comes with the next save";
    }
    ASSERT_EQ(InChild([this] {
                  auto* lock = new QLockFile(Path + ".lock"); // never unlocked: the owner dies holding it
                  return lock->tryLock() ? 0 : 1;
              }),
              0);
    ASSERT_TRUE(QFile::exists(Path + ".lock"));
    Write("0000001;a\r\n");
    TFameStore store(Path);
    EXPECT_TRUE(store.Add("0000002;b").Saved());
    EXPECT_EQ(Bytes(Path), "0000001;a\r\n0000002;b\r\n");
}

TEST_F(FameStore, ASaveThatMeetsALockReturnsAtOnceAndWritesFromTheEventLoopOnceTheLockIsFree)
{
    Write("0000001;a\r\n");
    auto held = std::make_unique<QLockFile>(Path + ".lock");
    ASSERT_TRUE(held->tryLock());
    TFameStore store(Path);
    bool otherEventRan = false;
    QTimer::singleShot(0, [&otherEventRan] { otherEventRan = true; });
    QStringList heard;
    const auto report = [&heard](const QString& name) {
        return [&heard, name](const TFameSaved& saved) { heard.append(name + (saved.Saved() ? " saved" : " failed")); };
    };
    EXPECT_EQ(store.Add("0000002;b", report("b")).Failure, TFameFailure::Waiting);
    EXPECT_FALSE(otherEventRan) << "no event runs inside the save";
    EXPECT_EQ(store.Add("0000003;c", report("c")).Failure, TFameFailure::Waiting) << "it joins the waiting save";
    QTimer::singleShot(50, [&held] { held.reset(); });
    EXPECT_TRUE(QTest::qWaitFor([&heard] { return !heard.isEmpty(); }, 5000));
    EXPECT_EQ(heard, QStringList{"c saved"});
    EXPECT_EQ(Bytes(Path), "0000001;a\r\n0000002;b\r\n0000003;c\r\n");

    // A deletion that waits empties the file before the entries after it.
    held = std::make_unique<QLockFile>(Path + ".lock");
    ASSERT_TRUE(held->tryLock());
    EXPECT_EQ(store.Clear().Failure, TFameFailure::Waiting);
    EXPECT_EQ(store.Add("0000004;d", report("d")).Failure, TFameFailure::Waiting);
    held.reset();
    EXPECT_TRUE(QTest::qWaitFor([&heard] { return heard.size() == 2; }, 5000));
    EXPECT_EQ(Bytes(Path), "0000004;d\r\n");

    // A save still waiting when the game ends has one last try.
    held = std::make_unique<QLockFile>(Path + ".lock");
    ASSERT_TRUE(held->tryLock());
    auto last = std::make_unique<TFameStore>(Path);
    EXPECT_EQ(last->Add("0000005;e").Failure, TFameFailure::Waiting);
    held.reset();
    last.reset();
    EXPECT_EQ(Bytes(Path), "0000004;d\r\n0000005;e\r\n");
}

TEST_F(FameStore, AFileNotReadWholeIsKeptBeforeTheFirstSaveOverIt)
{
    const QByteArray damaged("0000001;a\r\n\0000000009;hinter der Null\r\n", 38);
    Write(damaged);
    Write("eine alte Sicherung", Folder.filePath("Fame.sav.bak"));
    TFameStore store(Path);
    EXPECT_EQ(store.Load(), TFameRead::CutShort);
    EXPECT_EQ(store.List().Entries(), QStringList{"0000001;a"});

    const TFameSaved first = store.Add("0000002;b");
    EXPECT_TRUE(first.Saved());
    EXPECT_EQ(first.Backup, Folder.filePath("Fame.sav.bak"));
    EXPECT_EQ(Bytes(first.Backup), damaged) << "the newest backup replaces the older one";
    EXPECT_EQ(Bytes(Path), "0000001;a\r\n0000002;b\r\n");
    EXPECT_TRUE(store.Add("0000003;c").Backup.isEmpty()) << "a whole file needs no backup";
}

TEST_F(FameStore, AnUnreadableFileIsKeptAsBackupThoughItCannotBeRead)
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
        TFameStore store(Path);
        if (store.Load() != TFameRead::Unreadable)
            return 12;
        const TFameSaved saved = store.Add("0000009;neu");
        return saved.Saved() && saved.Backup == store.BackupPath() ? 0 : 13;
    });
    ASSERT_EQ(result, 0);
    // The save keeps the old file's mode, so the new file is write-only too:
    // the check makes both readable for itself before it reads them.
    struct stat info {};
    ASSERT_EQ(stat(QFile::encodeName(Path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0200u);
    for (const QString& file : {Path, Path + ".bak"})
        ASSERT_EQ(chmod(QFile::encodeName(file).constData(), 0600), 0);
    EXPECT_EQ(Bytes(Path), "0000009;neu\r\n");
    EXPECT_EQ(Bytes(Path + ".bak"), "0000001;a\r\n0000002;b\r\n");
}

TEST_F(FameStore, OnlyARegularFileOfASaneSizeIsRead)
{
    // A pipe would hang the start-up if it were opened for reading.
    ASSERT_EQ(mkfifo(QFile::encodeName(Path).constData(), 0600), 0);
    TFameStore store(Path);
    EXPECT_EQ(store.Probe(), TFameRead::NotAFile);
    EXPECT_EQ(store.Load(), TFameRead::NotAFile);
    EXPECT_EQ(store.Add("0000001;a").Failure, TFameFailure::NotAFile);
    EXPECT_EQ(QFileInfo(Path).isFile(), false) << "the pipe is never replaced";
    ASSERT_TRUE(QFile::remove(Path));

    // Sparse: the size alone tells, nothing is read.
    Write("0000001;a\r\n");
    ASSERT_EQ(truncate(QFile::encodeName(Path).constData(), TFameStore::MaxSize + 1), 0);
    TFameStore large(Path);
    EXPECT_EQ(large.Probe(), TFameRead::TooLarge);
    EXPECT_EQ(large.Load(), TFameRead::TooLarge);
    const TFameSaved saved = large.Add("0000002;b");
    EXPECT_TRUE(saved.Saved());
    EXPECT_EQ(QFileInfo(saved.Backup).size(), TFameStore::MaxSize + 1);
    EXPECT_EQ(Bytes(Path), "0000002;b\r\n");
}

TEST_F(FameStore, ALinkIsNeverReadNorReplacedNorWrittenThrough)
{
    const QString notes = Folder.filePath("notes.txt");
    const QString locked = Folder.filePath("passwd");
    Write("zweite Zeile\nerste Zeile\n", notes);
    Write("root:x:0:0\n", locked);
    ASSERT_EQ(chmod(QFile::encodeName(locked).constData(), 0444), 0);
    for (const QString& target : {notes, locked, Folder.filePath("gone")}) {
        SCOPED_TRACE(target.toStdString());
        const QByteArray before = Bytes(target);
        ASSERT_TRUE(QFile::link(target, Path));
        TFameStore store(Path);
        EXPECT_EQ(store.Probe(), TFameRead::NotAFile);
        EXPECT_EQ(store.Load(), TFameRead::NotAFile);
        EXPECT_EQ(store.List().Count(), 0);
        EXPECT_EQ(store.Add("0000001;a").Failure, TFameFailure::NotAFile);
        EXPECT_EQ(Bytes(target), before);
        EXPECT_EQ(QFileInfo(Path).symLinkTarget(), target);
        ASSERT_TRUE(QFile::remove(Path));
    }

    // A lock or a backup that is a link leaves its target alone too.
    ASSERT_TRUE(QFile::link(notes, Path + ".lock"));
    TFameStore store(Path);
    EXPECT_EQ(store.Add("0000001;a").Failure, TFameFailure::LockNotAFile);
    ASSERT_TRUE(QFile::remove(Path + ".lock"));
    const QByteArray damaged("0000001;a\r\n\0x", 13);
    Write(damaged);
    ASSERT_TRUE(QFile::link(notes, Path + ".bak"));
    EXPECT_TRUE(TFameStore(Path).Add("0000002;b").Saved());
    EXPECT_EQ(Bytes(notes), "zweite Zeile\nerste Zeile\n");
    EXPECT_EQ(Bytes(Path + ".bak"), damaged);
}

TEST_F(FameStore, EveryFailedSaveSaysWhyAndKeepsTheEntry)
{
    Write("0000001;a\r\n");
    TFameStore store(Path, {}, 100);
    ASSERT_TRUE(QDir(Folder.path()).mkdir("Fame.sav.lock"));
    EXPECT_EQ(store.Add("0000002;b").Failure, TFameFailure::LockNotAFile);
    ASSERT_TRUE(QDir(Folder.path()).rmdir("Fame.sav.lock"));
    ASSERT_TRUE(QFile::link(Folder.filePath("gone"), Path + ".lock"));
    EXPECT_EQ(store.Add("0000003;c").Failure, TFameFailure::LockNotAFile);
    ASSERT_TRUE(QFile::remove(Path + ".lock"));
    EXPECT_EQ(Bytes(Path), "0000001;a\r\n");
    EXPECT_TRUE(store.Add("0000004;d").Saved());
    EXPECT_EQ(Bytes(Path), "0000001;a\r\n0000002;b\r\n0000003;c\r\n0000004;d\r\n");

    // A folder the player may not write; root may write any, so the check
    // gives up root's rights first.
    if (getuid() == 0) {
        ASSERT_EQ(chown(QFile::encodeName(Folder.path()).constData(), 65534, 65534), 0);
    }
    const int result = InChild([this] {
        if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            return 10;
        chmod(QFile::encodeName(Folder.path()).constData(), 0555);
        TFameStore store(Path);
        return int(store.Add("0000009;neu").Failure);
    });
    EXPECT_EQ(result, int(TFameFailure::FolderNotWritable));
}

TEST_F(FameStore, ReadsInTheBackgroundAndSeesWhatAnotherCopySavedSince)
{
    Write("0000001;a\r\n");
    TFameStore store(Path);
    store.LoadInBackground();
    EXPECT_EQ(store.Load(), TFameRead::Complete);
    EXPECT_EQ(store.List().Entries(), QStringList{"0000001;a"});
    TFameStore(Path).Add("0000002;b");
    store.Refresh();
    EXPECT_EQ(store.List().Entries(), (QStringList{"0000001;a", "0000002;b"}));
}

TEST_F(FameStore, APlayerWhoMayNotWriteBesideTheProgramKeepsAFileOfHisOwnStartingFromTheShared)
{
    const QString program = Folder.path() + "/";
    const QString data = Folder.filePath("home/.local/share/MVKubrin/");
    EXPECT_EQ(TFameStore::PlayersPaths(program, true, data).first, Path);

    Write("0000005;Alt\r\n");
    const auto [path, shared] = TFameStore::PlayersPaths(program, false, data);
    TFameStore own(path, shared);
    EXPECT_EQ(own.Path(), data + "Fame.sav");
    EXPECT_EQ(own.Load(), TFameRead::Complete);
    EXPECT_EQ(own.List().Entries(), QStringList{"0000005;Alt"});
    EXPECT_TRUE(own.Add("0000009;Neu").Saved());
    EXPECT_EQ(Bytes(own.Path()), "0000005;Alt\r\n0000009;Neu\r\n");
    EXPECT_EQ(Bytes(Path), "0000005;Alt\r\n");

    // From the first save on, the player's own file is the hall of fame.
    Write("0000001;Danach\r\n");
    TFameStore again(path, shared);
    again.Load();
    EXPECT_EQ(again.List().Entries(), (QStringList{"0000005;Alt", "0000009;Neu"}));
}

struct TFolderCase {
    const char* Name;
    const char* Program;
    bool Writable;
    bool Beside;
};
using TestRows::PrintTo;

class FameFolder : public testing::TestWithParam<TFolderCase> {};

// A copy in a folder of its own keeps its list beside it; a program under
// /usr is the system's, and even root keeps the list in the data folder.
TEST_P(FameFolder, BesideTheProgramOnlyInAFolderOfItsOwn)
{
    const QString program = QString::fromUtf8(GetParam().Program);
    const QString data = QStringLiteral("/home/eva/.local/share/MVKubrin/");
    const auto [path, shared] = TFameStore::PlayersPaths(program, GetParam().Writable, data);
    if (GetParam().Beside) {
        EXPECT_EQ(path, program + "Fame.sav");
        EXPECT_EQ(shared, QString());
    } else {
        EXPECT_EQ(path, data + "Fame.sav");
        EXPECT_EQ(shared, program + "Fame.sav");
    }
}

INSTANTIATE_TEST_SUITE_P(
    FameStore, FameFolder,
    testing::Values(
        TFolderCase{"BuildFolderOfRoot", "/work/mvkubrin/build/bin/", true, true},
        TFolderCase{"FolderUnpackedByHand", "/home/eva/Spiele/MVKubrin/", true, true},
        TFolderCase{"FolderNamedLikeUsr", "/usrlocal/MVKubrin/", true, true},
        TFolderCase{"FolderThePlayerMayNotWrite", "/opt/MVKubrin/", false, false},
        TFolderCase{"PackageFolderPlayedByRoot", "/usr/lib/mvkubrin/", true, false},
        TFolderCase{"LocalInstallPlayedByRoot", "/usr/local/lib/mvkubrin/", true, false},
        TFolderCase{"PackageFolderPlayedByAPlayer", "/usr/lib/mvkubrin/", false, false}),
    RowName);

} // namespace
