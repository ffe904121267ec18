// Loading a configuration file of many keys: the time must grow with the
// number of keys, not with its square (100,000 keys, one section).
#include "components/CfgFileParser.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void BM_LoadConfigKeys(benchmark::State& state)
{
    const int keys = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("many.cfg"));
    QByteArray text = "[Options]\n";
    for (int i = 0; i < keys; ++i)
        text += "k" + QByteArray::number(i) + "=1\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
        state.SkipWithError("cannot write the file");
        return;
    }
    file.close();
    for (auto _ : state) {
        CCfgFileParser parser;
        if (!parser.Load(path, {QStringLiteral("Options")}, nullptr)) {
            state.SkipWithError("the file did not load");
            return;
        }
        benchmark::DoNotOptimize(parser.Sections());
    }
    state.SetItemsProcessed(state.iterations() * keys);
}
BENCHMARK(BM_LoadConfigKeys)->Arg(25000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
