#include "support/WizardFixture.h"

#include <QDir>
#include <QPixmap>
#include <cstdlib>

#include "texts/InterfaceTexts.h"
#include "util/PathUtils.h"

namespace zelvora::test {

TWizardFixture::TWizardFixture()
    : store_(std::make_unique<TUsefulRegistry>(temp_.File("settings.json"))) {
  const char* data = std::getenv("ZELVORA_DATA_DIR");
  programFolder_ = IncludeTrailingBackslash(data ? data : QDir::currentPath().toStdString());
  ResetInterfaceTexts();
}

TWizardFixture::~TWizardFixture() {
  window_.reset();
  ResetInterfaceTexts();
}

TMainForm& TWizardFixture::Window() {
  if (!window_) window_ = std::make_unique<TMainForm>(*store_, dialogs_, programFolder_);
  return *window_;
}

void TWizardFixture::CloseWindow() {
  if (!window_) return;
  window_->close();
  window_.reset();
}

void TWizardFixture::SaveScreenshot(const QString& name) {
  const char* folder = std::getenv("ZELVORA_ARTIFACTS");
  if (!folder || !window_) return;
  QDir().mkpath(QString::fromLocal8Bit(folder));
  window_->grab().save(QDir(QString::fromLocal8Bit(folder)).filePath(name + ".png"));
}

}  // namespace zelvora::test
