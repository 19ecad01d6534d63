#pragma once
// The optimiser window: the processing mode (every queued task, or one task code), the four
// iteration parameters, a summary and the Start button. The run works on a worker thread;
// the window shows its lines as they come and takes no input while it runs. Opened by the
// main menu or by the task wizard's solve-now step, which hands one task over and has it
// solved and returned to the protocol without the user.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "optimiser/run.h"
#include "optimiser/window_steps.h"

class QThread;

namespace qj::ui {

class WindowHost;
class RunLabels;

class TForm1 : public QWidget {
  Q_OBJECT

 public:
  // An application-modal window of its own that frees itself when closed and then enables
  // the main window again. `messages` replaces the main window's message boxes (tests).
  explicit TForm1(WindowHost& host, Messages* messages = nullptr);
  ~TForm1() override;

  // The steps of the page.
  enum class Step { ModeChoice, CodeEntry, Parameters, Summary, NothingQueued, NoInput };
  Step step() const { return step_; }
  bool running() const { return worker_ != nullptr; }
  // Called after every change of the protocol (the hand-over of a solved task).
  // Threads of the run; 0 means every core.
  void setThreads(int threads) { threads_ = threads; }

 signals:
  void runFinished();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void onActive();
  void next1();
  void next2();
  void next3();
  void startRun();
  void reset();
  void runDone();
  void automaticRun();

  void setCaptions();
  void placeParameterCaptions();
  void keepRunLinesLeftOf(int blockLeft);
  void showParameters();
  void setInputsEnabled(bool enabled);
  QLabel* label(int index) const;  // Label2 .. Label8
  void setLabel(QLabel* label, const Text& text);
  void showRunText(int runLabel, const QString& text);

  WindowHost& host_;
  Messages& messages_;
  bool setUp_ = false;
  Step step_ = Step::ModeChoice;
  bool batchMode_ = true;
  bool autoRun_ = false;
  int threads_ = 0;
  std::string taskCode_;
  std::vector<std::string> taskCodes_;
  optim::IterationSettings settings_;
  optim::InfoTexts info_;
  QThread* worker_ = nullptr;
  std::unique_ptr<RunLabels> progress_;
  std::exception_ptr runError_;

  QLabel *Label0, *Label0_1, *Label0_2, *Label1, *LOPRM;
  std::array<QLabel*, 4> LOPT;
  QRadioButton *RB1, *RB2;
  QPushButton *BNext1, *BNext2, *BNext3, *BStart, *BReset, *BEnd;
  QLineEdit* MaskEdit1_3;
  std::array<QLineEdit*, 4> ME;
  std::array<QLabel*, 7> Labels;  // Label2 .. Label8
  QLabel *Label_Start, *Label_End, *Label_0;
};

}  // namespace qj::ui
