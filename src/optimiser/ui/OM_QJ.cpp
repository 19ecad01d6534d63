#include "optimiser/ui/OM_QJ.h"

#include <QCloseEvent>
#include <QPalette>
#include <QThread>
#include <chrono>
#include <cmath>
#include <mutex>

#include "frame/task_handover.h"
#include "frame/ui/window_host.h"
#include "platform/ui/design.h"
#include "platform/ui/enter_key.h"
#include "platform/ui/guard.h"
#include "platform/ui/qt_text.h"
#include "text/ui/key_filter_validator.h"

namespace qj::ui {

using optim::RunLabel;

// The run's lines, resolved on the worker thread and shown on the window's thread in the
// order they were reported. The busy line may blink with every sweep; it reaches the screen
// at most a few times a second, and any text that follows a blink first shows its state.
class RunLabels : public optim::RunProgress {
 public:
  RunLabels(TForm1* window, const ShellTables& shell, std::function<void(int, QString)> show,
            std::function<void(bool)> busy)
      : window_(window), shell_(shell), show_(std::move(show)), busy_(std::move(busy)) {}

  void setText(RunLabel label, const Text& text) override {
    flushBusy();
    const QString resolved = toQt(text.resolve(shell_));
    QMetaObject::invokeMethod(
        window_, [show = show_, l = static_cast<int>(label), resolved] { show(l, resolved); },
        Qt::QueuedConnection);
  }

  void setBusyVisible(bool visible) override {
    pending_ = visible;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastBusy_ >= std::chrono::milliseconds(150)) flushBusy();
  }

  void flushBusy() {
    if (!pending_) return;
    const bool visible = *pending_;
    pending_.reset();
    lastBusy_ = std::chrono::steady_clock::now();
    if (visible == shown_) return;
    shown_ = visible;
    QMetaObject::invokeMethod(
        window_, [busy = busy_, visible] { busy(visible); }, Qt::QueuedConnection);
  }

 private:
  TForm1* window_;
  const ShellTables& shell_;
  std::function<void(int, QString)> show_;
  std::function<void(bool)> busy_;
  std::optional<bool> pending_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point lastBusy_{};
};

namespace {

void setColor(QWidget* w, const QColor& color) {
  QPalette p = w->palette();
  p.setColor(QPalette::WindowText, color);
  w->setPalette(p);
}

// A parameter edit is entered as Tab enters it, its text selected: what is typed next replaces
// the value shown, or the value that a refusal speaks of.
void enter(QLineEdit* edit) {
  edit->setFocus();
  edit->selectAll();
}

}  // namespace

TForm1::TForm1(WindowHost& host, Messages* messages)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      host_(host),
      messages_(messages ? *messages : host.messages()) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowModality(Qt::ApplicationModal);
  setFixedSize(px(QSize(614, 433)));
  // The design writes every text of this window 13 pixels high.
  setFont(designFont(13));

  auto makeLabel = [this](const char* name, int x, int y) {
    auto* l = new QLabel(this);
    l->setObjectName(name);
    // The progress lines are wide and lie over the buttons of the earlier steps; clicks
    // must go through them.
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    l->move(px(QPoint(x, y)));
    return l;
  };
  auto makeButton = [this](const char* name, int x, int y, int w, int h) {
    auto* b = new QPushButton(this);
    b->setObjectName(name);
    b->setGeometry(px(QRect(x, y, w, h)));
    return b;
  };
  Label0 = makeLabel("Label0", 216, 120);
  Label0_1 = makeLabel("Label0_1", 208, 152);
  Label0_2 = makeLabel("Label0_2", 304, 152);
  RB1 = new QRadioButton(this);
  RB1->setObjectName("RB1");
  RB1->move(px(QPoint(232, 176)));
  RB2 = new QRadioButton(this);
  RB2->setObjectName("RB2");
  RB2->move(px(QPoint(352, 176)));
  BNext1 = makeButton("BNext1", 280, 232, 57, 25);
  Label1 = makeLabel("Label1", 174, 120);
  MaskEdit1_3 = new QLineEdit(this);
  MaskEdit1_3->setObjectName("MaskEdit1_3");
  MaskEdit1_3->setGeometry(px(QRect(408, 120, 73, 21)));
  installKeyFilter(MaskEdit1_3, taskCodeRule(), host_.state().texts);
  BNext2 = makeButton("BNext2", 280, 168, 57, 25);
  LOPRM = makeLabel("LOPRM", 144, 41);
  const std::array<int, 4> editWidths = {30, 36, 22, 49};
  const std::array<FieldRule, 4> rules = optim::parameterEditRules(host_.state().decSep);
  for (int i = 0; i < 4; ++i) {
    LOPT[i] = makeLabel(("LOPT" + std::to_string(i + 1)).c_str(), 64, 72 + 24 * i);
    ME[i] = new QLineEdit(this);
    ME[i]->setObjectName(QString("ME%1").arg(i + 1));
    // Wide enough for five digits in this font.
    const int needed = fontMetrics().horizontalAdvance(QString(5, '0'));
    ME[i]->setGeometry(0, px(72 + 24 * i), std::max(px(editWidths[i]), needed + px(10)), px(21));
    installKeyFilter(ME[i], rules[i], host_.state().texts);
  }
  BNext3 = makeButton("BNext3", 280, 208, 57, 25);
  BStart = makeButton("BStart", 272, 397, 65, 25);
  BReset = makeButton("BReset", 456, 397, 65, 25);
  BEnd = makeButton("BEnd", 536, 397, 65, 25);
  // Each progress line may wrap down to the next one.
  const std::array<int, 6> lineY = {66, 88, 136, 168, 238, 280};
  for (int i = 0; i < 5; ++i) {
    Labels[i] = makeLabel(("Label" + std::to_string(i + 2)).c_str(), 48, lineY[i]);
    Labels[i]->setWordWrap(true);
    Labels[i]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Labels[i]->resize(px(556), px(lineY[i + 1] - lineY[i] - 2));
  }
  Labels[5] = makeLabel("Label7", 20, 280);
  Labels[5]->setWordWrap(true);
  Labels[5]->resize(px(QSize(585, 35)));
  setColor(Labels[5], QColor(128, 0, 0));
  Labels[6] = makeLabel("Label8", 20, 314);
  Labels[6]->setWordWrap(true);
  Labels[6]->resize(px(QSize(591, 65)));
  setColor(Labels[6], Qt::red);
  for (QLabel* l : {Labels[5], Labels[6]}) l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label_Start = makeLabel("Label_Start", 8, 47);
  Label_End = makeLabel("Label_End", 8, 366);
  for (QLabel* l : {Label_Start, Label_End}) l->setFont(designFont(13, true));
  Label_0 = makeLabel("Label_0", 6, 395);
  Label_0->setWordWrap(true);
  Label_0->resize(px(QSize(204, 26)));
  setColor(Label_0, Qt::red);
  Label_0->hide();

  // Enter takes each step on, as the step's one Next (Start) button does.
  for (QPushButton* b : {BNext1, BNext2, BNext3, BStart}) b->setDefault(true);
  pressDefaultButtonOnEnter(this);

  connect(RB1, &QRadioButton::clicked, this, [this] {
    RB1->setChecked(true);
    batchMode_ = true;
  });
  connect(RB2, &QRadioButton::clicked, this, [this] {
    RB2->setChecked(true);
    batchMode_ = false;
  });
  connect(BNext1, &QPushButton::clicked, this, guardSlot([this] { next1(); }));
  connect(BNext2, &QPushButton::clicked, this, guardSlot([this] { next2(); }));
  connect(BNext3, &QPushButton::clicked, this, guardSlot([this] { next3(); }));
  connect(BStart, &QPushButton::clicked, this, guardSlot([this] { startRun(); }));
  connect(BReset, &QPushButton::clicked, this, guardSlot([this] { reset(); }));
  connect(BEnd, &QPushButton::clicked, this, [this] { close(); });
}

TForm1::~TForm1() {
  if (worker_) {
    worker_->wait();
    delete worker_;
  }
}

QLabel* TForm1::label(int index) const {
  return Labels[index - 2];
}

void TForm1::setLabel(QLabel* l, const Text& text) {
  l->setText(utf8(text.utf8(host_.state().texts)));
  if (!l->wordWrap()) l->adjustSize();
}

void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (setUp_) return;
  setUp_ = true;
  // Centred on the main window.
  move(host_.mainWindow()->geometry().center() - rect().center());
  guarded([this] { onActive(); });
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (running()) {
    event->ignore();
    return;
  }
  host_.mainWindow()->setEnabled(true);
  QWidget::closeEvent(event);
}

void TForm1::setCaptions() {
  const optim::WindowCaptions c = optim::windowCaptions(host_.state().decSep);
  setWindowTitle(utf8(c.window.utf8(host_.state().texts)));
  setLabel(Label0, c.modeHeading);
  Label0->move(px(311) - static_cast<int>(std::nearbyint(Label0->width() / 2.0)), px(120));
  setLabel(Label0_1, c.batchMode);
  Label0_1->move(px(240) - static_cast<int>(std::nearbyint(Label0_1->width() / 2.0)), px(152));
  setLabel(Label0_2, c.individualMode);
  Label0_2->move(px(363) - static_cast<int>(std::nearbyint(Label0_2->width() / 2.0)), px(152));
  setLabel(Label1, c.codePrompt);
  MaskEdit1_3->move(px(174) + Label1->width() + px(15), px(120));
  for (QPushButton* b : {BNext1, BNext2, BNext3})
    b->setText(utf8(c.next.utf8(host_.state().texts)));
  BStart->setText(utf8(c.start.utf8(host_.state().texts)));
  BReset->setText(utf8(c.reset.utf8(host_.state().texts)));
  BEnd->setText(utf8(c.end.utf8(host_.state().texts)));
  placeParameterCaptions();
}

// The parameter captions at their first places; the edits stand in one column, 15 pixels
// after the longest caption.
void TForm1::placeParameterCaptions() {
  const optim::WindowCaptions c = optim::windowCaptions(host_.state().decSep);
  const std::array<Text, 4> captions = {c.relaxation, c.stop, c.interval, c.limit};
  for (QLabel* l : {LOPRM, LOPT[0], LOPT[1], LOPT[2], LOPT[3]}) setColor(l, Qt::black);
  setLabel(LOPRM, c.parameterHeading);
  LOPRM->move(px(311) - static_cast<int>(std::nearbyint(LOPRM->width() / 2.0)), px(41));
  int widest = 0;
  for (int i = 0; i < 4; ++i) {
    setLabel(LOPT[i], captions[i]);
    LOPT[i]->move(px(64), px(72 + 24 * i));
    widest = std::max(widest, LOPT[i]->width());
  }
  for (int i = 0; i < 4; ++i) ME[i]->move(px(64) + widest + px(15), px(72 + 24 * i));
}

void TForm1::onActive() {
  setCaptions();
  info_ = optim::readInfoTexts(host_.state().dirs().system() / "info");
  const optim::ParameterTexts defaults = optim::defaultParameterTexts(host_.state().decSep);
  ME[0]->setText(toQt(defaults.relaxation));
  ME[1]->setText(toQt(defaults.stop));
  ME[2]->setText(toQt(defaults.interval));
  ME[3]->setText(toQt(defaults.limit));
  batchMode_ = true;
  RB1->setChecked(true);
  for (QWidget* w : std::initializer_list<QWidget*>{MaskEdit1_3, Label1, BStart, BReset, BEnd,
                                                    BNext2, BNext3, LOPRM, LOPT[0], LOPT[1],
                                                    LOPT[2], LOPT[3], ME[0], ME[1], ME[2], ME[3]})
    w->hide();
  step_ = Step::ModeChoice;
  if (host_.state().solveAtOnce == 1) automaticRun();
}

void TForm1::next1() {
  for (QWidget* w : std::initializer_list<QWidget*>{BNext1, Label0, Label0_1, Label0_2, RB1, RB2})
    w->hide();
  if (!batchMode_) {
    step_ = Step::CodeEntry;
    MaskEdit1_3->show();
    Label1->show();
    BNext2->show();
    MaskEdit1_3->setFocus();
    return;
  }
  MaskEdit1_3->hide();
  Label1->hide();
  BNext2->hide();
  taskCodes_ = optim::queuedTaskCodes(host_.state().dirs().solving());
  if (taskCodes_.empty()) {
    step_ = Step::NothingQueued;
    setLabel(label(8), optim::nothingQueuedText());
    BEnd->show();
    return;
  }
  showParameters();
}

void TForm1::showParameters() {
  step_ = Step::Parameters;
  for (QWidget* w : std::initializer_list<QWidget*>{LOPRM, LOPT[0], LOPT[1], LOPT[2], LOPT[3],
                                                    ME[0], ME[1], ME[2], ME[3], BNext3})
    w->show();
  enter(ME[0]);
}

void TForm1::next2() {
  const AppState& state = host_.state();
  const std::string code = state.solveAtOnce == 1 ? state.curTaskCode : fromQt(MaskEdit1_3->text());
  if (!isTaskCode(code)) {
    MaskEdit1_3->setFocus();  // an incomplete code: the user finishes it
    return;
  }
  taskCode_ = code;
  taskCodes_ = {code};
  MaskEdit1_3->hide();
  setLabel(Label1, optim::taskLineText(code));
  setColor(Label1, QColor(0, 128, 0));
  Label1->move(px(QPoint(10, 16)));
  std::error_code ec;
  if (std::filesystem::is_regular_file(state.dirs().solving() / optim::inputFileName(code), ec)) {
    showParameters();
    BNext2->hide();
    BNext3->show();
    return;
  }
  step_ = Step::NoInput;
  setLabel(label(8), optim::noInputText(code));
  BNext2->hide();
  BEnd->show();
}

void TForm1::next3() {
  optim::ParameterTexts texts{fromQt(ME[0]->text()), fromQt(ME[1]->text()), fromQt(ME[2]->text()),
                              fromQt(ME[3]->text())};
  const char sep = host_.state().decSep;
  const optim::ParameterCheck check = optim::checkParameters(texts, sep);
  if (!check.settings) {
    if (check.message) qj::show(messages_, *check.message, host_.state().texts);
    switch (check.focus) {
      case optim::ParameterEdit::Relaxation: enter(ME[0]); break;
      case optim::ParameterEdit::Stop: enter(ME[1]); break;
      case optim::ParameterEdit::Interval: enter(ME[2]); break;
      case optim::ParameterEdit::Limit: enter(ME[3]); break;
      case optim::ParameterEdit::None: break;
    }
    return;
  }
  settings_ = *check.settings;
  step_ = Step::Summary;
  for (QWidget* w : std::initializer_list<QWidget*>{ME[0], ME[1], ME[2], ME[3], BNext3}) w->hide();
  const optim::SummaryTexts s = optim::summaryTexts(settings_, sep);
  const std::array<Text, 4> lines = {s.relaxation, s.stop, s.interval, s.limit};
  setLabel(LOPRM, s.heading);
  setColor(LOPRM, Qt::blue);
  int widest = 0;
  for (int i = 0; i < 4; ++i) {
    setLabel(LOPT[i], lines[i]);
    setColor(LOPT[i], Qt::blue);
    widest = std::max(widest, LOPT[i]->width());
  }
  // The block stands at the top right; wider texts than the design's move it left, and its
  // heading stays over it.
  const int x = std::min(px(538), width() - px(6) - widest);
  for (int i = 0; i < 4; ++i) LOPT[i]->move(x, px(23 + 16 * i));
  LOPRM->move(std::min(px(396), x - px(142)), px(5));
  keepRunLinesLeftOf(x);
  BStart->show();
  BEnd->show();
  BReset->setVisible(!batchMode_);
  BStart->setFocus();
}

// The run's lines beside the parameter block end before it, so that neither writes over the
// other; they wrap into the room below them instead.
void TForm1::keepRunLinesLeftOf(int blockLeft) {
  const int bottom = LOPT[3]->geometry().bottom();
  for (QLabel* l : {Label_Start, Labels[0], Labels[1], Labels[2], Labels[3], Labels[4]}) {
    if (l->y() > bottom) continue;
    // The start line reaches down to the first progress line.
    const int height = l == Label_Start ? Labels[0]->y() - l->y() - px(1) : l->height();
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->resize(blockLeft - px(12) - l->x(), height);
  }
}

void TForm1::reset() {
  step_ = Step::CodeEntry;
  setLabel(Label1, optim::windowCaptions(host_.state().decSep).codePrompt);
  setColor(Label1, Qt::black);
  Label1->move(px(QPoint(174, 120)));
  MaskEdit1_3->show();
  MaskEdit1_3->setFocus();
  BNext2->show();
  for (QWidget* w : std::initializer_list<QWidget*>{LOPRM, LOPT[0], LOPT[1], LOPT[2], LOPT[3]})
    w->hide();
  for (QLabel* l : Labels) l->clear();
  Label_Start->clear();
  Label_End->clear();
  placeParameterCaptions();
  for (QWidget* w : std::initializer_list<QWidget*>{BStart, BReset, BEnd}) w->hide();
  BStart->setText(
      utf8(optim::windowCaptions(host_.state().decSep).start.utf8(host_.state().texts)));
}

void TForm1::setInputsEnabled(bool enabled) {
  for (QWidget* w :
       std::initializer_list<QWidget*>{RB1, RB2, BNext1, BNext2, BNext3, BStart, BReset, BEnd,
                                       MaskEdit1_3, ME[0], ME[1], ME[2], ME[3]})
    w->setEnabled(enabled);
}

void TForm1::showRunText(int runLabel, const QString& text) {
  QLabel* target = nullptr;
  switch (static_cast<RunLabel>(runLabel)) {
    case RunLabel::Line2: target = label(2); break;
    case RunLabel::Line3: target = label(3); break;
    case RunLabel::Line4: target = label(4); break;
    case RunLabel::Line5: target = label(5); break;
    case RunLabel::Line6: target = label(6); break;
    case RunLabel::Line7: target = label(7); break;
    case RunLabel::Failure: target = label(8); break;
    case RunLabel::StartLine: target = Label_Start; break;
    case RunLabel::EndLine: target = Label_End; break;
    case RunLabel::Busy: target = Label_0; break;
    case RunLabel::StartButton: BStart->setText(text); return;
  }
  target->setText(text);
  if (!target->wordWrap()) target->adjustSize();
}

void TForm1::startRun() {
  if (running()) return;
  const AppState& state = host_.state();
  optim::RunEnvironment env;
  env.solving = state.dirs().solving();
  env.dbrn = state.dirs().dbrn();
  env.langCode = state.langCode;
  env.shell = &state.texts;
  env.infoTexts = {info_.text1.resolve(state.texts), info_.text2.resolve(state.texts),
                   info_.text3.resolve(state.texts)};
  env.decimalSeparator = state.decSep;
  env.threads = threads_;
  optim::RunSettings run{settings_, taskCodes_};

  progress_ = std::make_unique<RunLabels>(
      this, state.texts, [this](int l, const QString& text) { showRunText(l, text); },
      [this](bool visible) { Label_0->setVisible(visible); });
  runError_ = nullptr;
  setInputsEnabled(false);
  worker_ = QThread::create([this, env, run] {
    try {
      optim::runOptimisation(env, run, *progress_);
    } catch (...) {
      runError_ = std::current_exception();
    }
    progress_->flushBusy();
  });
  connect(worker_, &QThread::finished, this, [this] { runDone(); });
  worker_->start();
}

void TForm1::runDone() {
  worker_->wait();
  worker_->deleteLater();
  worker_ = nullptr;
  setInputsEnabled(true);
  if (runError_) reportException(runError_);
  runError_ = nullptr;
  if (autoRun_) {
    AppState& state = host_.state();
    guarded([&] {
      const HandoverResult loaded = loadTaskSolution(state, state.curTaskCode);
      for (const Message& m : loaded.messages) qj::show(messages_, m, state.texts);
    });
    emit runFinished();
    close();
    return;
  }
  emit runFinished();
}

void TForm1::automaticRun() {
  batchMode_ = false;
  RB2->setChecked(true);
  next1();
  next2();
  // Without a queued input there is nothing to run: the window keeps its message.
  if (step_ != Step::Parameters) return;
  next3();
  if (step_ != Step::Summary) return;
  autoRun_ = true;
  startRun();
}

}  // namespace qj::ui
