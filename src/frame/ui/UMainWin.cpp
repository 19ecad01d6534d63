#include "frame/ui/UMainWin.h"

namespace qj::ui {

TfrmMainWin::TfrmMainWin(std::filesystem::path programDir, QWidget* parent)
    : QMainWindow(parent), mdi_(new QMdiArea(this)), messages_(new QtMessages(this)) {
  state_.folder = std::make_unique<ProgramFolder>(std::move(programDir));
  setCentralWidget(mdi_);
}

}  // namespace qj::ui
