#include "controls/NavaFolderDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QToolButton>
#include <optional>

#include "app/TextConvert.h"
#include "texts/InterfaceTexts.h"

namespace zelvora {

QString LocaleCodeOf(const QLocale& locale) {
  switch (locale.language()) {
    case QLocale::Danish: return QStringLiteral("0406");
    case QLocale::German: return QStringLiteral("0407");
    case QLocale::Dutch: return QStringLiteral("0413");
    default: break;
  }
  return QStringLiteral("0409");
}

QString ChooseLocaleCaption(const QStringList& captions, const QString& localeCode) {
  auto valueOf = [&](const QString& name) -> std::optional<QString> {
    for (const QString& entry : captions) {
      const qsizetype eq = entry.indexOf(QLatin1Char('='));
      if (eq >= 0 && entry.left(eq).compare(name, Qt::CaseInsensitive) == 0) {
        return entry.mid(eq + 1);
      }
    }
    return std::nullopt;
  };
  if (auto own = valueOf(localeCode)) return *own;
  if (auto fallback = valueOf(QStringLiteral("Default"))) return *fallback;
  if (captions.isEmpty()) return {};
  const QString& first = captions.constFirst();
  const qsizetype eq = first.indexOf(QLatin1Char('='));
  return eq >= 0 ? first.mid(eq + 1) : first;
}

QString ShortenPath(const QString& path, int n, QChar separator) {
  if (path.size() <= n || n <= 5 || !path.contains(separator) ||
      path.mid(2).count(separator) <= 1) {
    return path.left(n);
  }
  // The head keeps leading separators (a UNC "\\" or the root "/") and the
  // first name after them.
  qsizetype lead = 0;
  while (lead < path.size() && path[lead] == separator) ++lead;
  const qsizetype firstEnd = path.indexOf(separator, lead);
  if (firstEnd < 0) return path.left(n);
  const QString head = path.left(firstEnd + 1) + QStringLiteral("...");
  QStringList rest = path.mid(firstEnd + 1).split(separator);
  while (rest.size() > 1) {
    rest.removeFirst();
    const QString candidate = head + separator + rest.join(separator);
    if (candidate.size() <= n) return candidate;
  }
  return (head + separator + rest.join(separator)).left(n - 3) + QStringLiteral("...");
}

TNavaFolderDialog::TNavaFolderDialog(QWidget* owner)
    : owner_(owner), localeCode_(LocaleCodeOf(QLocale())) {
  // The default entries follow the interface texts, so a language file reaches them.
  labelCaptions_ = {QStringLiteral("Default=") + ToQString(InterfaceText(TextId::FolderChooserTitle)),
                    QStringLiteral("0009=Current folder:"), QStringLiteral("0406=Valgt mappe:"),
                    QString::fromUtf8("0407=Mappe gewählt:"),
                    QStringLiteral("0409=Current folder:"), QStringLiteral("0413=Huidige map")};
  newFolderCaptions_ = {
      QStringLiteral("Default=") + ToQString(InterfaceText(TextId::FolderChooserNewFolder)),
      QStringLiteral("0009=New folder"), QStringLiteral("0406=Ny mappe"),
      QStringLiteral("0407=Neu Mappe"), QStringLiteral("0409=New folder"),
      QStringLiteral("0413=Nieuwe map")};
  ChooseCaptions();
}

void TNavaFolderDialog::SetLabelCaptions(const QStringList& captions) {
  labelCaptions_ = captions;
  ChooseCaptions();
}

void TNavaFolderDialog::SetNewFolderCaptions(const QStringList& captions) {
  newFolderCaptions_ = captions;
  ChooseCaptions();
}

void TNavaFolderDialog::SetLocaleCode(const QString& code) {
  localeCode_ = code;
  ChooseCaptions();
}

void TNavaFolderDialog::ChooseCaptions() {
  labelCaption_ = ChooseLocaleCaption(labelCaptions_, localeCode_);
  newFolderCaption_ = ChooseLocaleCaption(newFolderCaptions_, localeCode_);
}

bool TNavaFolderDialog::Execute() {
  QFileDialog dialog(owner_, labelCaption_);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setLabelText(QFileDialog::LookIn, labelCaption_);
  if (auto* newFolder = dialog.findChild<QToolButton*>(QStringLiteral("newFolderButton"))) {
    newFolder->setToolTip(newFolderCaption_);
    newFolder->setAccessibleName(newFolderCaption_);
  }
  // The path line: where the selection is, shortened to fit one line.
  auto* pathLine = new QLabel(&dialog);
  pathLine->setObjectName(QStringLiteral("PathLine"));
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
    grid->addWidget(pathLine, grid->rowCount(), 0, 1, grid->columnCount());
  }
  auto showPath = [pathLine](const QString& path) {
    pathLine->setText(ShortenPath(QDir::toNativeSeparators(path), 50, QDir::separator()));
  };
  QObject::connect(&dialog, &QFileDialog::currentChanged, pathLine, showPath);
  QObject::connect(&dialog, &QFileDialog::directoryEntered, pathLine, showPath);
  if (QDir(folder_).exists()) {
    dialog.setDirectory(folder_);
    showPath(folder_);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  folder_ = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
  return true;
}

}  // namespace zelvora
