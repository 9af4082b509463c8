// The page list on long reports: adding pages, reaching the first, last and middle page,
// stepping to the next and previous page, saving and loading. Stepping must cost the same whatever
// the list's length (each step reads one record head).
//
// The pages are small text pages (about 1 KB): a picture page of ~675 KB would put 10 000 pages
// far beyond the 2 GB that the file's 32-bit offsets can address.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>
#include <map>
#include <memory>

#include "report/render/emf_recorder.h"
#include "report/render/fonts.h"
#include "report/store/page_list.h"

namespace hb9cv {
namespace {

const Metafile& SmallPage() {
  static const Metafile page = [] {
    EmfRecorder recorder(QSize(794, 1123), QSize(21000, 29700), 96, 96);
    CanvasFont font;
    font.pointSize = 10;
    recorder.SetFont(font);
    recorder.FillRect({38, 38, 756, 1086}, Qt::white);
    recorder.TextOut(100, 100, QString::fromUtf8("Průměr 2,89 až 5,17 mm"));
    recorder.TextOut(100, 130, QStringLiteral("951,7 mm"));
    return recorder.Finish();
  }();
  return page;
}

std::unique_ptr<TQRPageList> BuildList(int pages) {
  auto list = std::make_unique<TQRPageList>();
  list->SetStream(std::make_unique<TQRStream>(TQRStream::kMemoryLimit));
  for (int n = 0; n < pages; ++n) list->AddPage(SmallPage());
  list->Finish();
  return list;
}

// Lists shared by the read benchmarks, one per length.
TQRPageList& SharedList(int pages) {
  static std::map<int, std::unique_ptr<TQRPageList>> lists;
  auto& list = lists[pages];
  if (!list) list = BuildList(pages);
  return *list;
}

void BM_AddPages(benchmark::State& state) {
  const int pages = int(state.range(0));
  for (auto _ : state) {
    auto list = BuildList(pages);
    benchmark::DoNotOptimize(list->PageCount());
  }
  state.SetItemsProcessed(state.iterations() * pages);
  state.counters["pageBytes"] = double(SmallPage().Size());
}
BENCHMARK(BM_AddPages)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Page 1 and the last page are found without a search; the middle one from page 1 walks half
// the records.
void BM_GetPage(benchmark::State& state) {
  const int pages = int(state.range(0));
  const int which = int(state.range(1));  // 0 first, 1 last, 2 middle (coming from page 1)
  TQRPageList& list = SharedList(pages);
  const int target = which == 0 ? 1 : which == 1 ? pages : pages / 2;
  for (auto _ : state) {
    if (which == 2) {
      state.PauseTiming();
      list.GetPage(1);
      state.ResumeTiming();
    }
    benchmark::DoNotOptimize(list.GetPage(target).Size());
  }
  state.SetLabel(which == 0 ? "first" : which == 1 ? "last" : "middle from first");
}
BENCHMARK(BM_GetPage)
    ->Args({10000, 0})
    ->Args({10000, 1})
    ->Args({10000, 2})
    ->Unit(benchmark::kMicrosecond);

// Stepping through a window around the middle, forwards or backwards; the cost per step and
// the reads per step stay the same for 100, 1000 and 10 000 pages.
void BM_Step(benchmark::State& state) {
  const int pages = int(state.range(0));
  const bool forward = state.range(1) != 0;
  TQRPageList& list = SharedList(pages);
  const int from = pages / 2 - 40, to = pages / 2 + 40;
  int n = forward ? from : to;
  list.GetPage(n);
  qint64 reads = 0, steps = 0;
  for (auto _ : state) {
    n += forward ? 1 : -1;
    if (n > to || n < from) {
      state.PauseTiming();
      n = forward ? from : to;
      list.GetPage(n);
      state.ResumeTiming();
      continue;
    }
    const qint64 before = list.Stream()->ReadCount();
    benchmark::DoNotOptimize(list.GetPage(n).Size());
    reads += list.Stream()->ReadCount() - before;
    ++steps;
  }
  state.counters["readsPerStep"] = steps ? double(reads) / double(steps) : 0;
  state.SetLabel(forward ? "next" : "previous");
}
BENCHMARK(BM_Step)
    ->Args({100, 1})
    ->Args({1000, 1})
    ->Args({10000, 1})
    ->Args({100, 0})
    ->Args({1000, 0})
    ->Args({10000, 0})
    ->Unit(benchmark::kMicrosecond);

void BM_Save(benchmark::State& state) {
  const int pages = int(state.range(0));
  TQRPageList& list = SharedList(pages);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("bench.QRP"));
  for (auto _ : state) list.SaveToFile(path);
  state.SetBytesProcessed(state.iterations() * list.Stream()->Size());
  state.counters["file_MB"] = double(list.Stream()->Size()) / 1e6;
}
BENCHMARK(BM_Save)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5);

// Loading checks the whole file first, every page picture record by record.
void BM_Load(benchmark::State& state) {
  const int pages = int(state.range(0));
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("bench.QRP"));
  SharedList(pages).SaveToFile(path);
  for (auto _ : state) benchmark::DoNotOptimize(TQRPageList::LoadFromFile(path)->PageCount());
  state.SetItemsProcessed(state.iterations() * pages);
}
BENCHMARK(BM_Load)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace hb9cv
