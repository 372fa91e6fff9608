// zelvora: the wizard window.

#include <QApplication>

#include "app/Application.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  return zelvora::RunWizard(application);
}
