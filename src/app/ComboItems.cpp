#include "app/ComboItems.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "app/TextConvert.h"

namespace zelvora {

TStringList ItemsOf(const QComboBox* box) {
  TStringList items;
  for (int i = 0; i < box->count(); ++i) items.push_back(ToBytes(box->itemText(i)));
  return items;
}

void SetItems(QComboBox* box, const TStringList& items) {
  const QString text = box->currentText();
  const QSignalBlocker blocker(box);
  box->clear();
  for (const std::string& item : items) box->addItem(ToQString(item));
  box->setEditText(text);
}

}  // namespace zelvora
