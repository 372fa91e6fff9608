#pragma once
// The image list as a Qt list model. The one TImageGalleryList stays the
// truth: the model holds no copy of the entries and follows the list
// through its observer, row for row, or with one reset after a bulk change.
// Dropping files or folders from the desktop asks the owner to add them.

#include <QAbstractListModel>
#include <QStringList>

#include "gallery/ImageGalleryList.h"

namespace zelvora {

class TImageListModel : public QAbstractListModel, private TImageGalleryListObserver {
  Q_OBJECT
 public:
  // Kind of a line: 0 picture, 1 separator (Qt::UserRole).
  static constexpr int KindRole = Qt::UserRole;

  explicit TImageListModel(TImageGalleryList& list, QObject* parent = nullptr);
  ~TImageListModel() override;

  TImageGalleryList& List() { return list_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QStringList mimeTypes() const override;
  Qt::DropActions supportedDropActions() const override;
  bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                       const QModelIndex& parent) const override;
  bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                    const QModelIndex& parent) override;

 signals:
  // Local files or folders were dropped; row is where they should go
  // (Count for the end).
  void FilesDropped(const QStringList& paths, int row);

 private:
  // TImageGalleryListObserver
  void BeginBulkChange() override;
  void EndBulkChange() override;
  void BeginInsertLines(int first, int last) override;
  void EndInsertLines() override;
  void BeginRemoveLines(int first, int last) override;
  void EndRemoveLines() override;
  void BeginMoveLine(int from, int to) override;
  void EndMoveLine() override;

  TImageGalleryList& list_;
  // During a bulk change the views keep the row count they knew until the
  // reset at its end; data() looks at the list and checks every index.
  int bulkRows_ = -1;
  bool moving_ = false;
};

}  // namespace zelvora
