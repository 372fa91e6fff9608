#include "controls/UsefulFileBox.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "gallery/ImageGalleryList.h"
#include "util/PathUtils.h"
#include "util/TextUtils.h"

namespace zelvora {
namespace {

QString ToQ(const std::string& bytes) { return QString::fromUtf8(bytes.data(), static_cast<int>(bytes.size())); }

std::vector<std::string> SplitMask(const std::string& mask) {
  std::vector<std::string> patterns;
  std::size_t start = 0;
  while (start <= mask.size()) {
    std::size_t end = mask.find(';', start);
    if (end == std::string::npos) end = mask.size();
    std::string pattern = Trim(std::string_view(mask).substr(start, end - start));
    if (!pattern.empty()) patterns.push_back(std::move(pattern));
    start = end + 1;
  }
  return patterns;
}

bool HasWildcard(const std::string& text) { return text.find_first_of("*?") != std::string::npos; }

constexpr int kLineHeight = 17;
constexpr int kBusyCursorLines = 100;

}  // namespace

std::vector<std::string> ListMatchingFiles(const std::string& folder, const std::string& mask) {
  std::vector<std::string> names;
  if (folder.empty() || !DirectoryExists(folder)) return names;
  const std::vector<std::string> patterns = SplitMask(mask);
  std::error_code error;
  std::filesystem::directory_iterator it(std::filesystem::path(folder), error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.empty() || name[0] == '.') continue;  // hidden
    std::error_code kindError;
    if (!it->is_regular_file(kindError)) continue;  // folders, devices, broken links
    const bool matches = std::any_of(patterns.begin(), patterns.end(), [&](const std::string& p) {
      return MatchesMask(name, p);
    });
    if (matches) names.push_back(name);
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const int byText = CompareText(a, b);
    return byText != 0 ? byText < 0 : a < b;
  });
  return names;
}

// The lines of the box: names with their file-type icons, looked up once
// per extension and only for lines that are painted.
class TFileBoxModel : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;

  void SetNames(std::vector<std::string> names, const std::string& folder) {
    beginResetModel();
    names_ = std::move(names);
    folder_ = folder;
    endResetModel();
  }
  const std::vector<std::string>& Names() const { return names_; }
  void SetShowGlyphs(bool show) {
    showGlyphs_ = show;
    if (!names_.empty()) emit dataChanged(index(0), index(static_cast<int>(names_.size()) - 1));
  }

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(names_.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || index.row() >= static_cast<int>(names_.size())) return {};
    const std::string& name = names_[static_cast<std::size_t>(index.row())];
    switch (role) {
      case Qt::DisplayRole:
      case Qt::AccessibleTextRole:
        return ToQ(name);
      case Qt::DecorationRole:
        return showGlyphs_ ? QVariant(IconFor(name)) : QVariant();
      case Qt::SizeHintRole:
        return QSize(0, kLineHeight);
      default:
        return {};
    }
  }

 private:
  QIcon IconFor(const std::string& name) const {
    const QString suffix = QFileInfo(ToQ(name)).suffix().toLower();
    auto found = icons_.constFind(suffix);
    if (found != icons_.constEnd()) return *found;
    const QIcon icon = provider_.icon(QFileInfo(ToQ(JoinPath(folder_, name))));
    icons_.insert(suffix, icon);
    return icon;
  }

  std::vector<std::string> names_;
  std::string folder_;
  bool showGlyphs_ = true;
  QFileIconProvider provider_;
  mutable QHash<QString, QIcon> icons_;
};

TUsefulFileBox::TUsefulFileBox(QWidget* parent) : QListView(parent), model_(new TFileBoxModel(this)) {
  setModel(model_);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setUniformItemSizes(true);
  setIconSize(QSize(16, 16));
  resize(180, 120);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (current.row() != lastCurrent_) ChangeNotice();
          });
}

TUsefulFileBox::~TUsefulFileBox() = default;

void TUsefulFileBox::SetDirectory(const std::string& path) {
  std::filesystem::path target(path);
  if (target.is_relative()) {
    // Resolved here rather than by changing the current folder.
    std::error_code error;
    target = directory_.empty() ? std::filesystem::absolute(target, error)
                                : std::filesystem::path(directory_) / target;
  }
  const std::string folder = NormalizeFolder(target.lexically_normal().string());
  if (!directory_.empty() && PathIdentityKey(folder) == PathIdentityKey(directory_)) return;
  directory_ = folder;
  ReadFileNames();
}

void TUsefulFileBox::SetMask(const std::string& mask) {
  if (mask == mask_) return;
  mask_ = mask;
  ReadFileNames();
}

void TUsefulFileBox::SetShowGlyphs(bool show) {
  if (show == showGlyphs_) return;
  showGlyphs_ = show;
  model_->SetShowGlyphs(show);
}

void TUsefulFileBox::ReadFileNames() {
  std::vector<std::string> names = ListMatchingFiles(directory_, mask_);
  const bool busy = names.size() > kBusyCursorLines;
  if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
  model_->SetNames(std::move(names), directory_);
  if (busy) QApplication::restoreOverrideCursor();
  ChangeNotice();
}

void TUsefulFileBox::Update() {
  const int row = CurrentRow();
  const std::string remembered = row >= 0 ? Name(row) : std::string();
  ReadFileNames();
  if (!remembered.empty()) {
    const int again = RowOf(remembered);
    if (again >= 0) SetCurrentRow(again);
  }
}

bool TUsefulFileBox::ApplyFilePath(const std::string& text, std::string* error) {
  if (text.empty() || text == FileName()) return true;
  const std::size_t slash = text.rfind('/');
  std::string folder = slash == std::string::npos ? std::string() : text.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? text : text.substr(slash + 1);
  if (!name.empty() && !HasWildcard(name)) {
    std::filesystem::path asPath(folder.empty() ? name : folder + name);
    if (asPath.is_relative() && !directory_.empty()) asPath = std::filesystem::path(directory_) / asPath;
    if (!FileExists(asPath.string())) {
      folder = text;  // not a file: one more folder
      name.clear();
    }
  }
  if (!folder.empty()) SetDirectory(folder);
  if (HasWildcard(name)) {
    SetMask(name);
    return true;
  }
  if (name.empty()) return true;
  int row = RowOf(name);
  if (row < 0) {
    if (!FileExists(JoinPath(directory_, name))) {
      if (error) *error = "Invalid file name - " + text;
      return false;
    }
    // An existing file the mask leaves out: show it by its own name.
    SetMask(name);
    row = RowOf(name);
  }
  SetCurrentRow(row);
  return true;
}

int TUsefulFileBox::Count() const { return model_->rowCount(); }

std::string TUsefulFileBox::Name(int row) const {
  const auto& names = model_->Names();
  if (row < 0 || row >= static_cast<int>(names.size())) return {};
  return names[static_cast<std::size_t>(row)];
}

int TUsefulFileBox::CurrentRow() const {
  const QModelIndex current = currentIndex();
  return current.isValid() ? current.row() : -1;
}

void TUsefulFileBox::SetCurrentRow(int row) {
  if (row < 0 || row >= Count()) {
    selectionModel()->clear();
    if (lastCurrent_ != -1) ChangeNotice();
    return;
  }
  setCurrentIndex(model_->index(row));
}

std::string TUsefulFileBox::FileName() const {
  const int row = CurrentRow();
  if (row < 0 || !selectionModel()->isSelected(model_->index(row))) return {};
  return PathOf(row);
}

std::string TUsefulFileBox::PathOf(int row) const {
  const std::string name = Name(row);
  return name.empty() ? std::string() : JoinPath(directory_, name);
}

int TUsefulFileBox::RowOf(const std::string& name) const {
  const auto& names = model_->Names();
  auto found = std::find(names.begin(), names.end(), name);
  return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

void TUsefulFileBox::ChangeNotice() {
  lastCurrent_ = CurrentRow();
  emit Changed();
}

}  // namespace zelvora
