#include "app/PreviewLoader.h"

#include <memory>

#include "imaging/ImageLoader.h"
#include "imaging/Preview.h"

namespace zelvora {
namespace {

constexpr TColor kWhite = 0xFFFFFF;

QImage ToQImage(const Bitmap& bitmap) {
  const QImage view(bitmap.Pixels().data(), bitmap.Width(), bitmap.Height(),
                    static_cast<qsizetype>(bitmap.Stride()), QImage::Format_BGR888);
  return view.copy();  // the bitmap goes when the task ends
}

}  // namespace

TPreviewLoader::TPreviewLoader(QObject* parent) : QObject(parent) { pool_.setMaxThreadCount(1); }

TPreviewLoader::~TPreviewLoader() {
  pool_.clear();
  pool_.waitForDone();
}

void TPreviewLoader::Request(const std::string& path, QSize box) {
  pool_.clear();  // a picture the user has already moved past
  const quint64 generation = ++generation_;
  pending_ = true;
  const QByteArray key = QByteArray::fromStdString(path);
  pool_.start([this, generation, key, path, box] {
    QImage preview;
    QSize size;
    if (std::unique_ptr<Bitmap> picture = LoadImageFile(path)) {
      size = QSize(picture->Width(), picture->Height());
      if (std::unique_ptr<Bitmap> fitted =
              FitImageForPreview(picture.get(), box.width(), box.height(), kWhite, kPreviewFast)) {
        preview = ToQImage(*fitted);
      }
    }
    QMetaObject::invokeMethod(
        this, [this, generation, key, preview, size] { Deliver(generation, key, preview, size); },
        Qt::QueuedConnection);
  });
}

void TPreviewLoader::Cancel() {
  pool_.clear();
  ++generation_;
  pending_ = false;
}

void TPreviewLoader::Deliver(quint64 generation, const QByteArray& path, const QImage& preview,
                             QSize size) {
  if (generation != generation_) return;
  pending_ = false;
  emit Loaded(path, preview, size);
}

}  // namespace zelvora
