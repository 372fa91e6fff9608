#pragma once
// The image list's menu of step 1: list files, page separator tools and
// sorting. Its items carry the language tags; the page acts on the signals.

#include <QMenu>

namespace zelvora {

class TListMenu : public QMenu {
  Q_OBJECT
 public:
  // The key SortRequested gives for "Sort by File &Name".
  static constexpr int kSortByDisplayName = -1;

  explicit TListMenu(QWidget* parent = nullptr);

 signals:
  void SaveRequested();
  void LoadRequested();
  void ImportRequested();
  void SplitByFoldersRequested();
  void RemoveSeparatorsRequested();
  // A TSortKey, or kSortByDisplayName.
  void SortRequested(int key);
  void ReverseRequested();

 private:
  QAction* AddItem(QMenu* menu, const char* name, const char* text, int tag);
  QMenu* AddSubmenu(const char* name, const char* text, int tag);
};

}  // namespace zelvora
