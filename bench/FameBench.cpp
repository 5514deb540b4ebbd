#include "HallList.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

// A file of n shuffled lines, one in ten repeated with another case, so
// that the duplicate rule has work as in a hand-merged file.
QByteArray ShuffledFile(int lines)
{
    std::mt19937 random(7);
    const char* const names[] = {"Anna", "Bert", "Carl", "J\xC3\xBCrgen", "Zo\xC3\xAB", "Mia", "Lotte"};
    QList<QByteArray> entries;
    for (int i = 0; i < lines; ++i) {
        QByteArray entry = HallEntry(int(random() % 3000000), QString::fromUtf8(names[random() % 7])).toUtf8();
        entry += QByteArray::number(int(random() % 1000));
        entries.append(entry);
        if (i % 10 == 0)
            entries.append(entry.toUpper());
    }
    std::shuffle(entries.begin(), entries.end(), random);
    return entries.join("\r\n");
}

void ReadShuffledFile(benchmark::State& state)
{
    const QByteArray file = ShuffledFile(int(state.range(0)));
    for (auto _ : state) {
        THallList list;
        list.AddText(file);
        benchmark::DoNotOptimize(list.Count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ReadShuffledFile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
