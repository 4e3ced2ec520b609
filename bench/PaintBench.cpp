// The paint routine into the real canvas image, at the designed size and at 4K.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QtGlobal>

#include "platform/Application.h"
#include "platform/ImageCanvas.h"
#include "window/U_pca.h"

namespace {

TF_PCA* Window() {
  static TF_PCA* form = [] {
    auto* f = new TF_PCA();
    f->DoCreate();
    f->Aktywacja(nullptr);
    return f;
  }();
  return form;
}

// args: logical width, height, data view (0 or 1), erase first as a window paint does (0 or 1),
// device pixel ratio in percent
void BM_Paint(benchmark::State& state) {
  const auto width = static_cast<int32_t>(state.range(0));
  const auto height = static_cast<int32_t>(state.range(1));
  TF_PCA* form = Window();
  form->Kl_A->SetVisible(state.range(2) != 0);
  const bool erase = state.range(3) != 0;
  ImageCanvas canvas;
  canvas.SetSize(width, height, static_cast<double>(state.range(4)) / 100.0);
  for (auto _ : state) {
    if (erase) canvas.Fill(clBtnFace);
    form->Paint(canvas, width, height);
    canvas.Finish();  // the painter ends with the paint, as in the window
  }
  benchmark::DoNotOptimize(canvas.PixelAt(19, 33));
}

void PaintArgs(benchmark::internal::Benchmark* b) {
  b->ArgNames({"w", "h", "data_view", "erase", "ratio_pct"});
  for (int erase : {0, 1})
    for (int dataView : {0, 1}) {
      b->Args({547, 492, dataView, erase, 100});
      b->Args({3840, 2160, dataView, erase, 100});
    }
  // A window paint of the components view on scaled screens, with the device pixels of 4K.
  b->Args({1920, 1080, 0, 1, 200});
  b->Args({2560, 1440, 0, 1, 150});
  b->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_Paint)->Apply(PaintArgs);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
  TApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
