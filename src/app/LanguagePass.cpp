#include "app/LanguagePass.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QWidget>

#include "app/Application.h"
#include "app/TextConvert.h"
#include "controls/BorderedPanel.h"

namespace zelvora {
namespace {

constexpr int kApplicationTag = 5000;

// One tagged object. Qt shows tool tips without being asked, so "hints
// switched on" needs nothing more.
class TObjectTarget : public ILanguageTarget {
 public:
  TObjectTarget(QObject* object, int tag) : object_(object), tag_(tag) {}
  int LanguageTag() const override { return tag_; }

  bool SetLanguageCaption(const std::string& bytes) override {
    const QString text = ToQString(bytes);
    QObject* o = object_;
    if (auto* action = qobject_cast<QAction*>(o)) {
      action->setText(text);
    } else if (auto* menu = qobject_cast<QMenu*>(o)) {
      menu->setTitle(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(o)) {
      button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(o)) {
      label->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(o)) {
      group->setTitle(text);
    } else if (auto* panel = qobject_cast<TBorderedPanel*>(o)) {
      panel->SetCaption(text);
      panel->setAccessibleName(text.trimmed());
    } else if (auto* widget = qobject_cast<QWidget*>(o); widget && widget->isWindow()) {
      widget->setWindowTitle(text);
    }
    // Any other control has no caption; the text changes nothing.
    return true;
  }

  bool SetLanguageHint(const std::string& bytes) override {
    const QString text = ToQString(bytes);
    if (auto* action = qobject_cast<QAction*>(object_)) {
      action->setToolTip(text);
      action->setStatusTip(text);
    } else if (auto* widget = qobject_cast<QWidget*>(object_)) {
      widget->setToolTip(text);
    }
    return true;
  }

 private:
  QObject* object_;
  int tag_;
};

class TApplicationTarget : public ILanguageTarget {
 public:
  int LanguageTag() const override { return kApplicationTag; }
  bool SetLanguageCaption(const std::string& bytes) override {
    SetApplicationTitle(ToQString(bytes));
    return true;
  }
  bool SetLanguageHint(const std::string& bytes) override {
    qApp->setProperty("hint", ToQString(bytes));
    return true;
  }
};

}  // namespace

QString LanguageCaptionOf(const QObject* o) {
  if (auto* action = qobject_cast<const QAction*>(o)) return action->text();
  if (auto* menu = qobject_cast<const QMenu*>(o)) return menu->title();
  if (auto* button = qobject_cast<const QAbstractButton*>(o)) return button->text();
  if (auto* label = qobject_cast<const QLabel*>(o)) return label->text();
  if (auto* group = qobject_cast<const QGroupBox*>(o)) return group->title();
  if (auto* panel = qobject_cast<const TBorderedPanel*>(o)) return panel->Caption();
  if (auto* widget = qobject_cast<const QWidget*>(o); widget && widget->isWindow()) {
    return widget->windowTitle();
  }
  return {};
}

void TLanguageTargets::Add(QObject* object, int tag) {
  if (tag == 0) return;
  auto target = std::make_unique<TObjectTarget>(object, tag);
  if (directory_.Register(target.get())) targets_.push_back(std::move(target));
}

void TLanguageTargets::AddTree(QObject* root) {
  if (!root) return;
  bool ok = false;
  const int tag = root->property("tag").toInt(&ok);
  if (ok) Add(root, tag);
  for (QObject* child : root->children()) AddTree(child);
}

void TLanguageTargets::AddApplication() {
  auto target = std::make_unique<TApplicationTarget>();
  if (directory_.Register(target.get())) targets_.push_back(std::move(target));
}

}  // namespace zelvora
