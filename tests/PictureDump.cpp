// The desktop's first picture of the paint box at a client size, as raw RGB bytes (the device
// pixels, row after row), for comparing the browser's picture with it (tests/web/).
// Usage: QT_SCALE_FACTOR=RATIO picture_dump WIDTH HEIGHT OUTPUT
#include <QApplication>
#include <QByteArray>
#include <cstdio>
#include <cstdlib>

#include "platform/Application.h"
#include "platform/qt/ImageCanvasImpl.h"
#include "window/U_pca.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s WIDTH HEIGHT OUTPUT\n", argv[0]);
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
  TApplication application(argc, argv);
  Application->CreateForm(F_PCA);
  F_PCA->SetClientSize(std::atoi(argv[1]), std::atoi(argv[2]));
  F_PCA->Show();
  for (int i = 0; i < 10; ++i) QApplication::processEvents();
  ImageCanvas& picture = F_PCA->Ramka->Picture();
  picture.Finish();
  const QImage image = picture.impl().image.convertToFormat(QImage::Format_RGB888);
  std::FILE* out = std::fopen(argv[3], "wb");
  if (!out) return 1;
  for (int y = 0; y < image.height(); ++y)
    std::fwrite(image.constScanLine(y), 3, static_cast<size_t>(image.width()), out);
  std::printf("%d %d\n", image.width(), image.height());
  return std::fclose(out) == 0 ? 0 : 1;
}
