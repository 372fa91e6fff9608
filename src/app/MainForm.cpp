#include "app/MainForm.h"

#include <array>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/AboutForm.h"
#include "app/AdvancedTuningForm.h"
#include "app/Dialogs.h"
#include "app/LanguagePass.h"
#include "app/StepIndicator.h"
#include "controls/UsefulLabel.h"
#include "app/TextConvert.h"
#include "app/steps/Step1Page.h"
#include "app/steps/Step2Page.h"
#include "app/steps/Step3Page.h"
#include "app/steps/Step4Page.h"
#include "app/steps/Step5Page.h"
#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "settings/History.h"
#include "settings/SettingsTable.h"
#include "settings/UsefulRegistry.h"
#include "texts/InterfaceTexts.h"
#include "util/PathUtils.h"
#include "util/TextUtils.h"

namespace zelvora {
namespace {

constexpr int kStepCount = 5;
// Positions of Prev and Next among the controls SetBusy disables.
constexpr std::size_t kPrevControl = 2;
constexpr std::size_t kNextControl = 3;
constexpr std::string_view kLanguageFilter = "Language Files (*.txt)|*.txt|All Files (*.*)|*.*";

int NextModeTextId(TNextMode mode) {
  switch (mode) {
    case TNextMode::Next: return TextId::NextCaption;
    case TNextMode::Create: return TextId::CreateCaption;
    case TNextMode::Freeze: return TextId::FreezeCaption;
    case TNextMode::Continue: return TextId::ContinueCaption;
    case TNextMode::ShowMe: return TextId::ShowMeCaption;
  }
  return TextId::NextCaption;
}

QAction* TaggedAction(QMenu* menu, const QString& text, int tag, const char* name) {
  QAction* action = menu->addAction(text);
  action->setObjectName(QLatin1String(name));
  if (tag != 0) action->setProperty("tag", tag);
  return action;
}

bool ContainsBeta(std::string_view version) {
  std::string lower(version);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower.find("beta") != std::string::npos;
}

// The value a close stage before the histories writes, from the option set
// and the display formats.
std::optional<TSettingValue> OptionValue(const TGallerySet& o, std::string_view name) {
  TSettingValue v;
  const std::pair<std::string_view, std::int64_t> numbers[] = {
      {"HTMLPage_BGColor", o.HTMLPage_BGColor},
      {"HTMLPage_TextColor", o.HTMLPage_TextColor},
      {"HTMLPage_LinkColor", o.HTMLPage_LinkColor},
      {"HTMLPage_ActiveLinkColor", o.HTMLPage_ActiveLinkColor},
      {"HTMLPage_VisitedLinkColor", o.HTMLPage_VisitedLinkColor},
      {"HTMLPage_DisabledLinkColor", o.HTMLPage_DisabledLinkColor},
      {"Thumb_Frame", o.Thumb_Effects_ContrastFrame},
      {"Thumb_Shadow", o.Thumb_Effects_Shadow},
      {"Thumb_ShadowValue", o.Thumb_Effects_ShadowDensity},
      {"Thumb_JPEGQualityValue", o.Thumb_JPEGQuality},
      {"Thumb_DescribeFileSize", o.Thumb_Description.Has(Show_FileSize)},
      {"Thumb_DescribeFileName", o.Thumb_Description.Has(Show_ImageName)},
      {"Thumb_DescribeFileDate", o.Thumb_Description.Has(Show_FileTime)},
      {"Thumb_DescribeComment", o.Thumb_Description.Has(Show_ImageComment)},
      {"Thumb_DescribeDimensions", o.Thumb_Description.Has(Show_ImageSides)},
      {"GalPage_WithFrames", o.Framed_ThumbTablePage},
      {"GalPage_NavigTop", o.Navig_PageTop},
      {"GalPage_NavigBottom", o.Navig_PageBottom},
  };
  for (const auto& [key, number] : numbers) {
    if (key == name) {
      v.number = number;
      return v;
    }
  }
  if (name == "GalPage_DateFormat") v.text = DateDisplayFormat();
  else if (name == "GalPage_TimeFormat") v.text = TimeDisplayFormat();
  else if (name == "GalPage_NavigHomeURL") v.text = o.Navig_HomeURL;
  else return std::nullopt;
  return v;
}

}  // namespace

QString SuggestionsMailto(const std::string& version) {
  static const char* kHex = "0123456789ABCDEF";
  std::string escaped;
  for (char c : version) {
    const auto byte = static_cast<unsigned char>(c);
    escaped += '%';
    escaped += kHex[byte >> 4];
    escaped += kHex[byte & 15];
  }
  const std::string text = std::string("mailto:") + kFeedbackAddress +
                           "?&subject=My%20feedback%20for%20Zelvora%20%20" + "%28version%20" +
                           escaped + "%29" +
                           "&body=Hello,%0D%0A%0D%0AI%20have%20some%20ideas%3A%0D%0A%0D%0A";
  return QString::fromLatin1(text.c_str());
}

TMainForm::TMainForm(TUsefulRegistry& store, IDialogs& dialogs, std::string programFolder,
                     QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      options_(std::make_unique<TGallerySet>()),
      list_(std::make_unique<TImageGalleryList>()) {
  context_.reset(new TWizardContext{store, dialogs, *options_, *list_, *this,
                                    std::move(programFolder)});
  urlOpener_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  setObjectName(QStringLiteral("MainForm"));
  setProperty("tag", 5001);
  setWindowTitle(QStringLiteral(" Zelvora"));
  setWindowIcon(ProgramIcon());

  // Creation order: the Templates folder, the start-up option files, then
  // the controls and the settings.
  const std::string templates = context_->programFolder + "Templates";
  if (!DirectoryExists(templates)) ForceFolders(templates);  // read-only installs fail quietly
  LoadStartupOptions(*options_, IncludeTrailingBackslash(templates));

  BuildFrame();
  BuildMenu();
  advanced_ = new TAdvancedTuningForm(dialogs, this);
  advanced_->setObjectName(QStringLiteral("AdvancedTuningForm"));
  advanced_->SetHelpOpener([this](const std::string& topic) { OpenHelpTopic(topic); });
  // A language file that replaces a button caption shows at once.
  textObserver_ = AddInterfaceTextObserver([this](int number) {
    if (number >= TextId::PrevCaption && number <= TextId::ShowMeCaption) UpdateButtonCaptions();
  });
  LoadSettings();
  GoToStep(1, false);
}

TMainForm::~TMainForm() {
  // A run still working on the list and the option set (a window destroyed
  // without closing) must end first. The pages watch the list and the option
  // set, which go with the members before QWidget would delete the pages: the
  // pages go first.
  step5_->StopRunForClose();
  RemoveInterfaceTextObserver(textObserver_);
  delete pages_;
  pages_ = nullptr;
}

void TMainForm::BuildFrame() {
  setStyleSheet(QStringLiteral(
      "QLabel[heading=\"true\"] { background: #2c4f86; color: white; font-weight: bold;"
      " padding: 5px 8px; }"));
  banner_ = new QLabel(QStringLiteral("Create your own photo gallery!"), this);
  banner_->setObjectName(QStringLiteral("BannerLabel"));
  banner_->setProperty("tag", 2002);
  QFont bannerFont = banner_->font();
  bannerFont.setBold(true);
  bannerFont.setPointSizeF(bannerFont.pointSizeF() * 1.6);
  banner_->setFont(bannerFont);
  banner_->setMargin(8);

  indicator_ = new TStepIndicator(this);
  indicator_->setObjectName(QStringLiteral("StepIndicator"));

  pages_ = new QStackedWidget(this);
  pages_->setObjectName(QStringLiteral("StepPages"));
  step1_ = new TStep1Page(*context_);
  step2_ = new TStep2Page(*context_);
  step3_ = new TStep3Page(*context_);
  step4_ = new TStep4Page(*context_);
  step5_ = new TStep5Page(*context_);
  for (TStepPage* page : {static_cast<TStepPage*>(step1_), static_cast<TStepPage*>(step2_),
                          static_cast<TStepPage*>(step3_), static_cast<TStepPage*>(step4_),
                          static_cast<TStepPage*>(step5_)}) {
    pages_->addWidget(page);
  }
  connect(step2_, &TStep2Page::AdvancedRequested, this, &TMainForm::OpenAdvancedDialog);

  helpButton_ = new QPushButton(QStringLiteral("Help"), this);
  helpButton_->setObjectName(QStringLiteral("HelpButton"));
  helpButton_->setProperty("tag", 2001);
  prevButton_ = new QPushButton(this);
  prevButton_->setObjectName(QStringLiteral("PrevButton"));
  prevButton_->setProperty("tag", 1001);
  nextButton_ = new QPushButton(this);
  nextButton_->setObjectName(QStringLiteral("NextButton"));
  nextButton_->setProperty("tag", 1002);
  nextButton_->setDefault(true);
  abortButton_ = new QPushButton(this);
  abortButton_->setObjectName(QStringLiteral("AbortButton"));
  abortButton_->setProperty("tag", 1003);
  abortButton_->hide();
  UpdateButtonCaptions();

  connect(nextButton_, &QPushButton::clicked, this, &TMainForm::OnNextButtonClick);
  connect(prevButton_, &QPushButton::clicked, this, &TMainForm::OnPrevButtonClick);
  connect(abortButton_, &QPushButton::clicked, this, &TMainForm::OnAbortButtonClick);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(helpButton_);
  buttons->addStretch(1);
  buttons->addWidget(abortButton_);
  buttons->addWidget(prevButton_);
  buttons->addWidget(nextButton_);

  auto* middle = new QHBoxLayout;
  middle->addWidget(indicator_);
  middle->addWidget(pages_, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(banner_);
  layout->addLayout(middle, 1);
  layout->addLayout(buttons);
  setMinimumSize(kLayoutWidth, kLayoutHeight);

  // Help anywhere in the window opens the page of the step on show.
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  help->setContext(Qt::WindowShortcut);
  connect(help, &QShortcut::activated, this, [this] { OpenHelpContext(helpContext_); });
}

void TMainForm::BuildMenu() {
  menu_ = new QMenu(this);
  menu_->setObjectName(QStringLiteral("ProgramMenu"));
  suggestionsAction_ =
      TaggedAction(menu_, QStringLiteral("&Send your suggestions!..."), 4101, "SuggestionsItem");
  suggestionsAction_->setVisible(false);
  connect(suggestionsAction_, &QAction::triggered, this, &TMainForm::SendSuggestions);

  QMenu* languages = menu_->addMenu(QStringLiteral("Select the Language"));
  languages->setObjectName(QStringLiteral("LanguageMenu"));
  languages->setProperty("tag", 4107);
  connect(TaggedAction(languages, QStringLiteral("English"), 0, "EnglishItem"),
          &QAction::triggered, this, [this] {
            LoadLanguageFile(context_->programFolder + "Languages" + PathSeparator() +
                             "language.en.txt");
          });
  connect(TaggedAction(languages, QStringLiteral("German"), 0, "GermanItem"), &QAction::triggered,
          this, [this] {
            LoadLanguageFile(context_->programFolder + "Languages" + PathSeparator() +
                             "language.de.txt");
          });
  connect(TaggedAction(languages, QStringLiteral("Browse..."), 4108, "BrowseLanguageItem"),
          &QAction::triggered, this, &TMainForm::BrowseLanguage);

  connect(TaggedAction(menu_, QStringLiteral("Help &contents"), 4102, "HelpContentsItem"),
          &QAction::triggered, this, [this] { OpenHelpTopic("Main_link"); });
  connect(TaggedAction(menu_, QStringLiteral("Go to &web site"), 4103, "WebSiteItem"),
          &QAction::triggered, this, [this] { OpenUrl(QUrl(QString::fromLatin1(kWebSite))); });
  menu_->addSeparator();
  connect(TaggedAction(menu_, QStringLiteral("&About"), 4106, "AboutItem"), &QAction::triggered,
          this, &TMainForm::ShowAbout);
  helpButton_->setMenu(menu_);
}

TStepPage* TMainForm::Page(int step) const {
  if (step < 1 || step > kStepCount) return nullptr;
  return static_cast<TStepPage*>(pages_->widget(step - 1));
}

bool TMainForm::GoToStep(int step, bool check) {
  if (step < 1 || step > kStepCount) return false;
  if (check) {
    for (int k = 1; k < step; ++k) {
      // A check whose step already lies behind has passed before.
      if (currentStep_ > k) continue;
      if (!Page(k)->LeaveCheck()) return false;
    }
  }
  TickSteps(step - 1);
  pages_->setCurrentIndex(step - 1);
  helpContext_ = 40 + 10 * step;
  if (step != kStepCount) SetNextButtonMode(TNextMode::Next);
  SetPrevEnabled(step != 1);
  if (step == kStepCount) SetNextButtonMode(TNextMode::Create);
  currentStep_ = step;
  Page(step)->Entered();
  return true;
}

void TMainForm::SetNextButtonMode(TNextMode mode) {
  nextMode_ = mode;
  // The button answers to its mode's number, so a language file's second
  // pass gives it the caption of the mode it is in.
  nextButton_->setProperty("tag", NextModeTextId(mode));
  nextButton_->setText(ToQString(InterfaceText(NextModeTextId(mode))));
}

void TMainForm::UpdateButtonCaptions() {
  prevButton_->setText(ToQString(InterfaceText(TextId::PrevCaption)));
  abortButton_->setText(ToQString(InterfaceText(TextId::AbortCaption)));
  SetNextButtonMode(nextMode_);
}

void TMainForm::SetAbortVisible(bool visible) { abortButton_->setVisible(visible); }
// While the window is busy the state is kept for the end of the busy time.
void TMainForm::SetPrevEnabled(bool enabled) {
  if (busy_) enabledBeforeBusy_[kPrevControl] = enabled;
  else prevButton_->setEnabled(enabled);
}

void TMainForm::SetNextEnabled(bool enabled) {
  if (busy_) enabledBeforeBusy_[kNextControl] = enabled;
  else nextButton_->setEnabled(enabled);
}

void TMainForm::TickSteps(int last) {
  for (int k = 1; k <= kStepCount; ++k) indicator_->SetTicked(k, k <= last);
}

void TMainForm::FocusNextButton() { nextButton_->setFocus(); }

void TMainForm::SetBusy(bool busy) {
  // The window keeps painting; only input is refused. Each control gets back
  // the state it had, so a run that disabled Prev keeps it disabled.
  const std::array<QWidget*, 5> controls = {pages_, helpButton_, prevButton_, nextButton_,
                                            abortButton_};
  if (busy == busy_) return;
  busy_ = busy;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (busy) enabledBeforeBusy_[i] = controls[i]->isEnabled();
    controls[i]->setEnabled(!busy && enabledBeforeBusy_[i]);
  }
}

void TMainForm::ShowOptionSet(const TGallerySet& options) {
  try {
    for (int k = 1; k <= kStepCount; ++k) Page(k)->ShowOptionSet(options);
  } catch (...) {
    // An update that fails ends where it stands.
  }
}

bool TMainForm::OpenUrl(const QUrl& url) { return urlOpener_ && urlOpener_(url); }

QUrl TMainForm::HelpUrl(int context) const {
  QUrl url = HelpTopicUrl({});
  url.setFragment(QStringLiteral("context-%1").arg(context));
  return url;
}

QUrl TMainForm::HelpTopicUrl(const std::string& topic) const {
  QUrl url = QUrl::fromLocalFile(
      QDir(ToQString(context_->programFolder)).absoluteFilePath(QStringLiteral("help/index.html")));
  if (!topic.empty()) url.setFragment(ToQString(topic));
  return url;
}

void TMainForm::OpenHelpContext(int context) { OpenUrl(HelpUrl(context)); }
void TMainForm::OpenHelpTopic(const std::string& topic) { OpenUrl(HelpTopicUrl(topic)); }

void TMainForm::BackgroundImageChanged(bool on) { step3_->SetShadowChecked(!on); }

void TMainForm::ResetProgress() { step5_->ResetProgress(); }

std::string TMainForm::BackgroundImagePath() const {
  return step2_->BackgroundImageChecked() ? step2_->BackgroundImagePath() : std::string();
}

bool TMainForm::CopySourceImages() const { return step4_->CopySourceImages(); }

void TMainForm::OnNextButtonClick() {
  switch (nextMode_) {
    case TNextMode::Next: GoToStep(currentStep_ + 1, true); break;
    case TNextMode::Create: step5_->OnCreateGalleryClick(); break;
    case TNextMode::Freeze: step5_->OnStopClick(); break;
    case TNextMode::Continue: step5_->OnContinueClick(); break;
    case TNextMode::ShowMe: step5_->OnPreviewGalleryClick(); break;
  }
}

void TMainForm::OnPrevButtonClick() { GoToStep(currentStep_ - 1, true); }

void TMainForm::OnAbortButtonClick() { step5_->OnAbortClick(); }

void TMainForm::OpenAdvancedDialog() { advanced_->EditStep2Options(*options_); }

bool TMainForm::LoadLanguageFile(const std::string& path) {
  TLanguageTargets targets;
  targets.AddTree(this);
  targets.AddTree(advanced_);  // already inside the window's tree; listed for its order
  targets.AddApplication();
  if (!zelvora::LoadLanguageFile(path, targets.Directory(), &context_->store)) return false;
  languageFileName_ = path;
  step2_->RepaintLinkSwatches();
  // The second pass set Next to the 1002 text whatever its mode; the mode's
  // own caption is the one the button must show.
  UpdateButtonCaptions();
  return true;
}

void TMainForm::BrowseLanguage() {
  TFileRequest request;
  request.filter = ToQString(kLanguageFilter);
  const std::string folder =
      languageFileName_.empty() ? context_->programFolder : FilePathOf(languageFileName_);
  request.folder = ToQString(folder);
  request.fileName = ToQString(FileNameOf(languageFileName_));
  const QString chosen = context_->dialogs.OpenFile(this, request);
  if (chosen.isEmpty() || !FileExists(ToBytes(chosen))) return;
  LoadLanguageFile(ToBytes(chosen));
}

void TMainForm::SendSuggestions() {
  if (OpenUrl(QUrl::fromEncoded(SuggestionsMailto(std::string(kCurrVersionText)).toLatin1()))) {
    return;
  }
  // No mail program: the address, ready to copy.
  context_->dialogs.InputBox(this, ToQString(InterfaceText(TextId::BugreportTitle)),
                             ToQString(InterfaceText(TextId::BugreportPrompt)),
                             QString::fromLatin1(kFeedbackAddress));
}

void TMainForm::ShowAbout() {
  TAboutForm about(QString::fromLatin1(kWebSite), this);
  about.WebSiteLabel()->SetLinkOpener(
      [this](const QString& target) { return OpenUrl(QUrl(target)); });
  context_->dialogs.ExecDialog(about);
}

void TMainForm::LoadSettings() {
  TUsefulRegistry& store = context_->store;
  store.DeleteValue(kOptionsKeyPath, kObsoleteIncludeSubfoldersSetting);
  for (int step = 2; step <= 13; ++step) {
    if (step == 3) {
      SetHistoryLimit(store.ReadInteger(kOptionsKeyPath, "FolderHistoryLimit", HistoryLimit()));
    }
    if (step == 10) ReadThumbnailSettings();
    if (step == 11) {
      SetDateDisplayFormat(store.ReadString(kOptionsKeyPath, "GalPage_DateFormat",
                                            DateDisplayFormat()));
      SetTimeDisplayFormat(store.ReadString(kOptionsKeyPath, "GalPage_TimeFormat",
                                            TimeDisplayFormat()));
    }
    for (int k = 1; k <= kStepCount; ++k) Page(k)->LoadStartupSetting(step);
  }
}

void TMainForm::ReadThumbnailSettings() {
  // The close writes these from the option set, so the set holds them from
  // the start, whatever step 3's boxes do with them.
  TUsefulRegistry& store = context_->store;
  TGallerySet& o = *options_;
  o.Thumb_Effects_ContrastFrame = store.ReadBool(kOptionsKeyPath, "Thumb_Frame", o.Thumb_Effects_ContrastFrame);
  o.Thumb_Effects_Shadow = store.ReadBool(kOptionsKeyPath, "Thumb_Shadow", o.Thumb_Effects_Shadow);
  o.Thumb_Effects_ShadowDensity =
      store.ReadInteger(kOptionsKeyPath, "Thumb_ShadowValue", o.Thumb_Effects_ShadowDensity);
  o.Thumb_JPEGQuality = store.ReadInteger(kOptionsKeyPath, "Thumb_JPEGQualityValue", 90);
  o.Image_JPEGQuality = o.Thumb_JPEGQuality;
  const std::pair<const char*, std::uint8_t> flags[] = {
      {"Thumb_DescribeFileSize", Show_FileSize}, {"Thumb_DescribeFileName", Show_ImageName},
      {"Thumb_DescribeFileDate", Show_FileTime}, {"Thumb_DescribeComment", Show_ImageComment},
      {"Thumb_DescribeDimensions", Show_ImageSides}};
  for (const auto& [name, flag] : flags) {
    o.Thumb_Description.Set(flag, store.ReadBool(kOptionsKeyPath, name, false));
  }
}

void TMainForm::SaveOptionSettings() {
  // Everything before the first history comes from the option set, in the
  // store's close order.
  for (std::string_view name : CloseWriteOrder()) {
    if (name == "NavigHomeURLList") break;
    const TSettingDef* def = FindSetting(name);
    std::optional<TSettingValue> value = OptionValue(*options_, name);
    if (def && value) WriteSetting(context_->store, *def, *value);
  }
}

void TMainForm::SaveSettings() {
  TUsefulRegistry& store = context_->store;
  SaveOptionSettings();
  for (int stage = kCloseHomeLinkHistory; stage <= kCloseRenameMask; ++stage) {
    if (stage == kCloseHistoryLimit) {
      store.WriteInteger(kOptionsKeyPath, "FolderHistoryLimit", HistoryLimit());
    }
    for (int k = 1; k <= kStepCount; ++k) Page(k)->SaveCloseSetting(stage);
  }
}

void TMainForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!shownOnce_) {
    shownOnce_ = true;
    FirstShow();
  }
}

void TMainForm::FirstShow() {
  TUsefulRegistry& store = context_->store;
  const std::string language = store.ReadString(kOptionsKeyPath, "DefLanguageFileName", {});
  if (!language.empty()) LoadLanguageFile(language);
  resize(size().expandedTo(QSize(kLayoutWidth, kLayoutHeight)));
  step1_->Refresh();
  const std::string version(kCurrVersionText);
  if (ContainsBeta(version)) {
    suggestionsAction_->setVisible(true);
    if (store.ReadString(kBaseKeyPath, "CurrVersion", {}) != version) {
      TBetaForm note(this);
      note.setObjectName(QStringLiteral("BetaForm"));
      context_->dialogs.ExecDialog(note);
    }
  }
  store.WriteString(kBaseKeyPath, "CurrVersion", version);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (closing_) {
    event->accept();
    return;
  }
  // A box the run is waiting on is answered as cancelled first; the close
  // comes back once that box is gone, so the run is never left waiting on a
  // window that no longer exists.
  if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != this) {
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
    } else {
      modal->close();
    }
    event->ignore();
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    return;
  }
  closing_ = true;
  // A run works on the list and the option set: it must be stopped at its
  // check point before they go.
  step5_->StopRunForClose();
  SaveSettings();
  event->accept();
}

}  // namespace zelvora
