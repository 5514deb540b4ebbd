#include "FameStore.h"
#include "hallFame.h"

#include <QApplication>

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

namespace {

const char* const Names[] = {"Anna", "Bert", "Carl", "J\xC3\xBCrgen", "Zo\xC3\xAB", "Mia", "Lotte"};

// A file of n shuffled lines, one in ten repeated with another case, so
// that the duplicate rule has work as in a hand-merged file.
QByteArray ShuffledFile(int lines)
{
    std::mt19937 random(7);
    QList<QByteArray> entries;
    for (int i = 0; i < lines; ++i) {
        QByteArray entry = HallEntry(int(random() % 3000000), QString::fromUtf8(Names[random() % 7])).toUtf8();
        entry += QByteArray::number(int(random() % 1000));
        entries.append(entry);
        if (i % 10 == 0)
            entries.append(entry.toUpper());
    }
    std::shuffle(entries.begin(), entries.end(), random);
    return entries.join("\r\n");
}

// A file of n lines as this program writes it: in order, many equal scores.
QByteArray SavedFile(int lines)
{
    THallList list;
    list.AddText(ShuffledFile(lines));
    return list.Text();
}

// Reading a file made by the given maker: shuffled by hand, or saved by this
// program and so already in order.
void ReadFile(benchmark::State& state, QByteArray (*makeFile)(int lines))
{
    const QByteArray file = makeFile(int(state.range(0)));
    for (auto _ : state) {
        THallList list;
        list.AddText(file);
        benchmark::DoNotOptimize(list.Count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK_CAPTURE(ReadFile, Shuffled, &ShuffledFile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadFile, Saved, &SavedFile)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The save at a game's end, with the lock, on a real file. Another copy
// wrote the file since (range 1): it is read and merged again; or nobody did
// (range 0): the list is written as it is.
void SaveAtGameEnd(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(FameFileName);
    const QByteArray file = SavedFile(int(state.range(0)));
    const auto write = [&] {
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size())
            state.SkipWithError("cannot write the file");
    };
    write();
    TFameStore store(path);
    store.Load();
    int game = 0;
    for (auto _ : state) {
        if (state.range(1)) {
            state.PauseTiming();
            write();
            state.ResumeTiming();
        }
        if (!store.Add(HallEntry(++game, QStringLiteral("Neu"))).Saved())
            state.SkipWithError("the save failed");
    }
}
BENCHMARK(SaveAtGameEnd)
    ->ArgsProduct({{10000, 100000, 1000000}, {0, 1}})
    ->ArgNames({"entries", "changed"})
    ->Unit(benchmark::kMillisecond);

// The hall-of-fame window over a list that is already read: built, filled and
// painted once.
void OpenWindow(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(FameFileName);
    QFile out(path);
    const QByteArray file = SavedFile(int(state.range(0)));
    if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size())
        state.SkipWithError("cannot write the file");
    out.close();
    TFameStore store(path);
    store.Load();
    for (auto _ : state) {
        THallofFame window(store);
        window.ShowEntries();
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.grab());
    }
}
BENCHMARK(OpenWindow)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace
