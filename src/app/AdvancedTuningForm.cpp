#include "app/AdvancedTuningForm.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "app/Dialogs.h"
#include "app/TextConvert.h"
#include "app/WindowDrag.h"
#include "controls/BorderedPanel.h"
#include "gallery/GallerySet.h"
#include "texts/InterfaceTexts.h"
#include "ui_AdvancedTuningForm.h"
#include "ui_Step2MorePanel.h"

namespace zelvora {

TAdvancedTuningForm::TAdvancedTuningForm(IDialogs& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      dialogs_(dialogs),
      ui_(std::make_unique<Ui::AdvancedTuningForm>()),
      step2Ui_(std::make_unique<Ui::Step2MorePanel>()) {
  ui_->setupUi(this);
  setModal(true);
  ui_->OuterPanel->SetBevelOuter(TBevelCut::None);
  connect(ui_->OkButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(ui_->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(ui_->HelpButton, &QPushButton::clicked, this, [this] {
    if (helpOpener_ && !helpTopic_.empty()) helpOpener_(helpTopic_);
  });
  // The strip is the handle that moves the window.
  new TWindowDrag(ui_->ButtonStrip);

  step2Panel_ = new TBorderedPanel(ui_->OuterPanel);
  step2Ui_->setupUi(step2Panel_);
  // The editors keep their text clear of the frame: 4 left, 2 top, 2 right.
  step2Panel_->setStyleSheet(QStringLiteral("QPlainTextEdit { padding: 2px 2px 0px 4px; }"));
  step2Panel_->hide();
}

TAdvancedTuningForm::~TAdvancedTuningForm() = default;

QWidget* TAdvancedTuningForm::ButtonStrip() const { return ui_->ButtonStrip; }
QWidget* TAdvancedTuningForm::ClosingPart() const { return ui_->ClosingPart; }
QWidget* TAdvancedTuningForm::HelpPart() const { return ui_->HelpPart; }

void TAdvancedTuningForm::SizeToPanel(QWidget* panel, bool showHelp) {
  const QSize panelSize = panel->size().expandedTo(panel->minimumSizeHint());
  const int closingWidth = ui_->ClosingPart->width() + (showHelp ? ui_->HelpPart->width() : 0);
  const int width = std::max(panelSize.width(), closingWidth) + 2 * kMargin;
  const int stripHeight = ui_->ButtonStrip->height();
  const int height = 2 * kMargin + panelSize.height() + stripHeight;
  setFixedSize(width, height);
  ui_->OuterPanel->setGeometry(0, 0, width, height - stripHeight);
  panel->setGeometry(kMargin, kMargin, panelSize.width(), panelSize.height());
  ui_->ButtonStrip->setGeometry(0, height - stripHeight, width, stripHeight);
  // The closing part sits at the strip's right end, the Help part right of it.
  int right = width;
  if (showHelp) {
    right -= ui_->HelpPart->width();
    ui_->HelpPart->move(right, 0);
  }
  ui_->ClosingPart->move(right - ui_->ClosingPart->width(), 0);
}

TPanelResult TAdvancedTuningForm::ShowPanel(QWidget* panel, const QString& caption, bool help,
                                            const std::string& helpTopic) {
  if (!panel) return TPanelResult::None;
  const bool showHelp = help && !helpTopic.empty();
  ui_->HelpPart->setVisible(showHelp);
  helpTopic_ = helpTopic;
  if (auto* bordered = qobject_cast<TBorderedPanel*>(panel)) {
    bordered->SetBevelOuter(TBevelCut::Raised);
    bordered->SetBevelInner(TBevelCut::None);
  }
  if (panel->parentWidget() != ui_->OuterPanel) panel->setParent(ui_->OuterPanel);
  SizeToPanel(panel, showHelp);
  setWindowTitle(caption);
  panel->show();
  panel->setFocus();
  if (QWidget* first = panel->nextInFocusChain(); first && panel->isAncestorOf(first)) {
    first->setFocus();
  }
  const int result = dialogs_.ExecDialog(*this);
  panel->hide();
  return result == QDialog::Accepted ? TPanelResult::Ok : TPanelResult::Cancel;
}

TPanelResult TAdvancedTuningForm::EditStep2Options(TGallerySet& options) {
  Ui::Step2MorePanel& ui = *step2Ui_;
  ui.CustomPageTitleEdit->setText(ToQString(options.CustomPageTitle));
  ui.CustomPageHeaderEdit->setPlainText(ToQString(options.CustomPageHeader));
  ui.CustomPageHeaderAsHTMLCheckBox->setChecked(options.CustomPageHeaderAsHTMLCode);
  ui.CustomPageFooterEdit->setPlainText(ToQString(options.CustomPageFooter));
  ui.CustomPageFooterAsHTMLCheckBox->setChecked(options.CustomPageFooterAsHTMLCode);
  const TPanelResult result =
      ShowPanel(step2Panel_, ToQString(InterfaceText(TextId::AdvancedTitle)), false, {});
  if (result != TPanelResult::Ok) return result;
  options.CustomPageTitle = ToBytes(ui.CustomPageTitleEdit->text());
  options.CustomPageHeader = ToBytes(ui.CustomPageHeaderEdit->toPlainText());
  options.CustomPageHeaderAsHTMLCode = ui.CustomPageHeaderAsHTMLCheckBox->isChecked();
  options.CustomPageFooter = ToBytes(ui.CustomPageFooterEdit->toPlainText());
  options.CustomPageFooterAsHTMLCode = ui.CustomPageFooterAsHTMLCheckBox->isChecked();
  return result;
}

void TAdvancedTuningForm::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() == Qt::NoModifier && event->key() == Qt::Key_F1) {
    if (helpOpener_ && !helpTopic_.empty()) helpOpener_(helpTopic_);
    return;
  }
  // Escape cancels and Enter presses the default Ok (the editors keep their
  // own Enter for new lines): QDialog does both.
  QDialog::keyPressEvent(event);
}


}  // namespace zelvora
