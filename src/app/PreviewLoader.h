#pragma once
// Decodes the picture for step 1's preview off the window's thread, so
// stepping through a list of large photos never stalls the window. Only the
// newest request counts: older ones still waiting are dropped, and the
// result of one already running is ignored.

#include <QImage>
#include <QObject>
#include <QSize>
#include <QByteArray>
#include <string>
#include <QThreadPool>

namespace zelvora {

class TPreviewLoader : public QObject {
  Q_OBJECT
 public:
  explicit TPreviewLoader(QObject* parent = nullptr);
  ~TPreviewLoader() override;  // waits for a decode still running

  // Starts decoding path and fitting it into a box of that size on white.
  void Request(const std::string& path, QSize box);
  // Forgets any request: no Loaded signal comes for it.
  void Cancel();
  // True while a request waits for its result.
  bool Pending() const { return pending_; }

 signals:
  // The fitted picture and the picture's own size; a null image when the
  // file could not be decoded.
  void Loaded(const QByteArray& path, const QImage& preview, QSize pictureSize);

 private:
  void Deliver(quint64 generation, const QByteArray& path, const QImage& preview, QSize size);

  QThreadPool pool_;
  quint64 generation_ = 0;
  bool pending_ = false;
};

}  // namespace zelvora
