#include "app/AboutForm.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/TextConvert.h"
#include "app/WindowDrag.h"
#include "controls/UsefulLabel.h"
#include "settings/SettingsTable.h"
#include "ui_AboutForm.h"
#include "ui_BetaForm.h"

namespace zelvora {

QIcon ProgramIcon() {
  // A framed picture: the gallery's own motif.
  QPixmap pixmap(64, 64);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(QColor(0x20, 0x40, 0x80));
  painter.setPen(Qt::NoPen);
  painter.drawRoundedRect(4, 4, 56, 56, 8, 8);
  painter.setBrush(QColor(0xF0, 0xF0, 0xF0));
  painter.drawRect(12, 14, 40, 34);
  painter.setBrush(QColor(0x40, 0xA0, 0x50));
  painter.drawPolygon(QPolygon({QPoint(14, 46), QPoint(28, 28), QPoint(38, 40), QPoint(44, 34),
                                QPoint(50, 46)}));
  painter.setBrush(QColor(0xF0, 0xC0, 0x30));
  painter.drawEllipse(QPoint(42, 22), 4, 4);
  return QIcon(pixmap);
}

TAboutForm::TAboutForm(const QString& webSite, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::AboutForm>()) {
  ui_->setupUi(this);
  ui_->AboutPicture->setPixmap(ProgramIcon().pixmap(96, 96));
  new TWindowDrag(ui_->AboutPicture);
  QFont product = ui_->ProductLabel->font();
  product.setBold(true);
  product.setPointSizeF(product.pointSizeF() * 1.5);
  ui_->ProductLabel->setFont(product);
  ui_->VersionLabel->setText(QStringLiteral("Version ") + ToQString(kCurrVersionText));
  TUsefulLabel* link = ui_->WebSiteLabel;
  link->SetURL(webSite);
  link->SetStartLinkOnClick(true);
  link->SetActiveText(true);
  link->SetColorIdle(QColor(0, 0, 255));
  link->SetColorActive(QColor(0, 0, 255));
  link->SetColorDown(QColor(0, 0, 255));
  // The link's text turns bold under the pointer.
  connect(link, &TUsefulLabel::MouseIn, link, [link] {
    QFont font = link->font();
    font.setBold(true);
    link->setFont(font);
  });
  connect(link, &TUsefulLabel::MouseOut, link, [link] {
    QFont font = link->font();
    font.setBold(false);
    link->setFont(font);
  });
  connect(ui_->CloseButton, &QPushButton::clicked, this, &QDialog::accept);
}

TAboutForm::~TAboutForm() = default;

TUsefulLabel* TAboutForm::WebSiteLabel() const { return ui_->WebSiteLabel; }


TBetaForm::TBetaForm(QWidget* parent) : QDialog(parent) {
  Ui::BetaForm ui;
  ui.setupUi(this);
  connect(ui.OkButton, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace zelvora
