#include "app/ListMenu.h"

#include "gallery/ImageGalleryList.h"

namespace zelvora {

TListMenu::TListMenu(QWidget* parent) : QMenu(parent) {
  setObjectName(QStringLiteral("PopupMenu2"));
  connect(AddItem(this, "SaveListItem", "&Save list as...", 3101), &QAction::triggered, this,
          &TListMenu::SaveRequested);
  connect(AddItem(this, "LoadListItem", "&Load list from...", 3102), &QAction::triggered, this,
          &TListMenu::LoadRequested);
  connect(AddItem(this, "ImportGalleryItem", "I&mport gallery...", 3117), &QAction::triggered, this,
          &TListMenu::ImportRequested);
  addSeparator();

  QMenu* tools = AddSubmenu("PageSeparatorToolsItem", "Page Separator Tools", 3113);
  connect(AddItem(tools, "SplitByFoldersItem", "Split the list into pages according to folders", 3114),
          &QAction::triggered, this, &TListMenu::SplitByFoldersRequested);
  connect(AddItem(tools, "RemoveSeparatorsItem", "Remove all page separators", 3115),
          &QAction::triggered, this, &TListMenu::RemoveSeparatorsRequested);
  addSeparator();

  auto sortItem = [this](QMenu* menu, const char* name, const char* text, int tag, int key) {
    connect(AddItem(menu, name, text, tag), &QAction::triggered, this,
            [this, key] { emit SortRequested(key); });
  };
  sortItem(this, "SortByPathItem", "Sort by file &Path", 3105, skFolderPath);
  sortItem(this, "SortByNameItem", "Sort by File &Name", 3103, kSortByDisplayName);
  QMenu* sortBy = AddSubmenu("SortByItem", "Sort by...", 3116);
  sortItem(sortBy, "SortByFolderNameItem", "Sort by &Folder name", 3104, skFolderName);
  sortItem(sortBy, "SortByTypeItem", "Sort by file &Type", 3106, skFileType);
  sortItem(sortBy, "SortBySizeItem", "Sort by file &Size", 3107, skFileSize);
  sortItem(sortBy, "SortByDateItem", "Sort by file &Date", 3108, skFileDate);
  sortItem(sortBy, "SortByCommentItem", "Sort by &Comment", 3109, skComment);
  addSeparator();
  connect(AddItem(this, "ReverseItem", "&Reverse a sorting order", 3112), &QAction::triggered, this,
          &TListMenu::ReverseRequested);
}

QAction* TListMenu::AddItem(QMenu* menu, const char* name, const char* text, int tag) {
  QAction* action = menu->addAction(QString::fromUtf8(text));
  action->setObjectName(QString::fromLatin1(name));
  action->setProperty("tag", tag);
  return action;
}

QMenu* TListMenu::AddSubmenu(const char* name, const char* text, int tag) {
  QMenu* submenu = addMenu(QString::fromUtf8(text));
  // The language pass finds the submenu's caption on its menu action.
  submenu->menuAction()->setObjectName(QString::fromLatin1(name));
  submenu->menuAction()->setProperty("tag", tag);
  return submenu;
}

}  // namespace zelvora
