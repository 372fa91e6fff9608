#include "app/steps/BuddyNames.h"

#include <QLabel>
#include <QRegularExpression>

namespace zelvora {

void NameBuddiesAfterLabels(QWidget* page) {
  static const QRegularExpression accelerator(QStringLiteral("&(?!&)"));
  for (QLabel* label : page->findChildren<QLabel*>()) {
    QWidget* buddy = label->buddy();
    if (!buddy) continue;
    QString name = label->text();
    name.remove(accelerator);
    buddy->setAccessibleName(name.trimmed());
  }
}

}  // namespace zelvora
