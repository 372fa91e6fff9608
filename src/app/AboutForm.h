#pragma once
// The About window: the program's picture (a handle that moves the window),
// its version, a "web site" link and "&Close".

#include <QDialog>
#include <functional>
#include <memory>

namespace Ui {
class AboutForm;
}

namespace zelvora {

class TUsefulLabel;

class TAboutForm : public QDialog {
  Q_OBJECT
 public:
  TAboutForm(const QString& webSite, QWidget* parent = nullptr);
  ~TAboutForm() override;
  TUsefulLabel* WebSiteLabel() const;

 private:
  std::unique_ptr<Ui::AboutForm> ui_;
};

// The welcome note of a beta version, with its one "&Ok" button.
class TBetaForm : public QDialog {
  Q_OBJECT
 public:
  explicit TBetaForm(QWidget* parent = nullptr);
};

// The program's icon, drawn, for the window, About and the desktop entry.
QIcon ProgramIcon();

}  // namespace zelvora
