// pca: principal component analysis of a small synthetic table, shown and edited in one window.
#include "platform/Application.h"
#include "window/U_pca.h"

int main(int argc, char* argv[]) {
  TApplication application(argc, argv);
  Application->Initialize();
  Application->CreateForm(F_PCA);
  return Application->Run();
}
