#pragma once
// The language file's second pass over Qt objects: every object that carries
// a non-zero integer "tag" property answers to that number, and a text sets
// its caption or hint by the kind of object it is.

#include <QList>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "texts/LanguageFile.h"

class QObject;

namespace zelvora {

// An object's caption as the language pass sees it (for tests and checks).
QString LanguageCaptionOf(const QObject* object);

class TLanguageTargets {
 public:
  // Registers each root and, after it, everything it owns, depth first in
  // the order of ownership; the first object with a tag keeps it.
  void AddTree(QObject* root);
  // The application answers to 5000: its caption is the application title.
  void AddApplication();

  const TTagDirectory& Directory() const { return directory_; }

 private:
  void Add(QObject* object, int tag);

  std::vector<std::unique_ptr<ILanguageTarget>> targets_;
  TTagDirectory directory_;
};

}  // namespace zelvora
