#pragma once
// Every modal question the window asks goes through IDialogs: message boxes,
// the overwrite question, the input box, file, folder and colour choosers.
// The window holds the real one; UI tests hand in a scripted one, so no test
// ever waits on a box that nobody clicks.

#include <QColor>
#include <QDialog>
#include <QMessageBox>
#include <QString>
#include <optional>

#include "generation/RunHost.h"

class QWidget;

namespace zelvora {

// A file chooser's request. Filters are in the program's own form,
// "Name (*.a;*.b)|*.a;*.b|All Files (*.*)|*.*", translated for Qt inside.
struct TFileRequest {
  QString caption;
  QString filter;
  QString folder;    // where the chooser opens
  QString fileName;  // the name filled in
  QString defaultSuffix;  // save only: added when the chosen name has no extension of the filter
};

class IDialogs {
 public:
  virtual ~IDialogs() = default;

  // A message box; returns the button pressed (or NoButton when closed).
  virtual QMessageBox::StandardButton Message(QWidget* parent, QMessageBox::Icon icon,
                                              const QString& caption, const QString& text,
                                              QMessageBox::StandardButtons buttons) = 0;
  // Yes, No, Cancel, "N&o to All" and "Y&es to All".
  virtual TOverwriteReply AskOverwrite(QWidget* parent, const QString& caption,
                                       const QString& text) = 0;
  // A one-line input box; nullopt when cancelled.
  virtual std::optional<QString> InputBox(QWidget* parent, const QString& caption,
                                          const QString& prompt, const QString& text) = 0;
  // Empty when cancelled. selectedFilter (optional) gets the 0-based index of
  // the filter entry the user left selected.
  virtual QString OpenFile(QWidget* parent, const TFileRequest& request,
                           int* selectedFilter = nullptr) = 0;
  virtual QString SaveFile(QWidget* parent, const TFileRequest& request,
                           int* selectedFilter = nullptr) = 0;
  // The folder chooser; nullopt when cancelled.
  virtual std::optional<QString> ChooseFolder(QWidget* parent, const QString& startFolder) = 0;
  // The colour chooser with the program's shared custom colours.
  virtual std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial) = 0;
  // Runs one of the program's own modal windows (the advanced dialog, About,
  // the beta note) and returns its result.
  virtual int ExecDialog(QDialog& dialog) { return dialog.exec(); }
};

// The real boxes and choosers.
class TQtDialogs : public IDialogs {
 public:
  QMessageBox::StandardButton Message(QWidget* parent, QMessageBox::Icon icon,
                                      const QString& caption, const QString& text,
                                      QMessageBox::StandardButtons buttons) override;
  TOverwriteReply AskOverwrite(QWidget* parent, const QString& caption,
                               const QString& text) override;
  std::optional<QString> InputBox(QWidget* parent, const QString& caption, const QString& prompt,
                                  const QString& text) override;
  QString OpenFile(QWidget* parent, const TFileRequest& request,
                   int* selectedFilter = nullptr) override;
  QString SaveFile(QWidget* parent, const TFileRequest& request,
                   int* selectedFilter = nullptr) override;
  std::optional<QString> ChooseFolder(QWidget* parent, const QString& startFolder) override;
  std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial) override;
};

// "Name (*.a;*.b)|*.a;*.b|All Files (*.*)|*.*" as Qt's ";;"-separated
// filter list: "Name (*.a *.b);;All Files (*)".
QString QtFilterFromPipes(const QString& filter);

}  // namespace zelvora
