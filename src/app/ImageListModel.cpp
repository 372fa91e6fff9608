#include "app/ImageListModel.h"

#include <QFont>
#include <QMimeData>
#include <QPalette>
#include <QApplication>
#include <QUrl>

#include "app/TextConvert.h"

namespace zelvora {

TImageListModel::TImageListModel(TImageGalleryList& list, QObject* parent)
    : QAbstractListModel(parent), list_(list) {
  list_.SetObserver(this);
}

TImageListModel::~TImageListModel() { list_.SetObserver(nullptr); }

int TImageListModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return bulkRows_ >= 0 ? bulkRows_ : list_.Count();
}

QVariant TImageListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const TImageGalleryItem* item = list_.Items(index.row());
  if (!item) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
      return ToQString(list_.LineText(index.row()));
    case KindRole:
      return static_cast<int>(item->Kind);
    case Qt::ForegroundRole:
      if (item->IsSeparator()) return QApplication::palette().color(QPalette::Disabled, QPalette::Text);
      return {};
    case Qt::TextAlignmentRole:
      if (item->IsSeparator()) return static_cast<int>(Qt::AlignCenter);
      return {};
    default:
      return {};
  }
}

Qt::ItemFlags TImageListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::ItemIsDropEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDropEnabled;
}

QStringList TImageListModel::mimeTypes() const { return {QStringLiteral("text/uri-list")}; }

Qt::DropActions TImageListModel::supportedDropActions() const {
  return Qt::CopyAction | Qt::LinkAction | Qt::MoveAction;
}

bool TImageListModel::canDropMimeData(const QMimeData* data, Qt::DropAction, int, int,
                                      const QModelIndex&) const {
  if (!data || !data->hasUrls()) return false;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) return true;
  }
  return false;
}

bool TImageListModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row,
                                   int column, const QModelIndex& parent) {
  if (!canDropMimeData(data, action, row, column, parent)) return false;
  QStringList paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) paths << url.toLocalFile();
  }
  // Dropped onto a line: in front of it; onto the empty space: at the end.
  int at = row;
  if (at < 0) at = parent.isValid() ? parent.row() : list_.Count();
  emit FilesDropped(paths, at);
  // The list itself changed; nothing for the view to move.
  return false;
}

void TImageListModel::BeginBulkChange() {
  bulkRows_ = list_.Count();
  beginResetModel();
}

void TImageListModel::EndBulkChange() {
  bulkRows_ = -1;
  endResetModel();
}

void TImageListModel::BeginInsertLines(int first, int last) { beginInsertRows({}, first, last); }
void TImageListModel::EndInsertLines() { endInsertRows(); }
void TImageListModel::BeginRemoveLines(int first, int last) { beginRemoveRows({}, first, last); }
void TImageListModel::EndRemoveLines() { endRemoveRows(); }

void TImageListModel::BeginMoveLine(int from, int to) {
  const int destination = to > from ? to + 1 : to;
  moving_ = beginMoveRows({}, from, from, {}, destination);
}

void TImageListModel::EndMoveLine() {
  if (moving_) endMoveRows();
  moving_ = false;
}

}  // namespace zelvora
