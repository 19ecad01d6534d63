#include "task/ui/from_transitions_page.h"

#include "task/ui/UCreateTaskWin.h"

namespace qj::ui {
namespace {

TransitionGridPage::Captions captions() {
  return {"Label10_5",
          shell(53) + ":",
          {"Label21", "Label22", "Label31", "Label7", "Label23", "Label26", "Label27", "Label28",
           "Label29", "Label24", "Label32", "Label25", "Label30"},
          {shell(405), shell(13).trimmed(), shell(492).trimmed(), shell(403).trimmed(), shell(142),
           shell(397), shell(389), shell(143), shell(615), shell(685).trimmed(), shell(475),
           shell(589), shell(613)}};
}

}  // namespace

FromTransitionsPage::FromTransitionsPage(TfrmCreateTaskWin& w)
    : TransitionGridPage(w, 7, "Table3", w.state().table3, captions()) {}

void FromTransitionsPage::next() {
  wizard().runNext([this] { return wizard().flow().fromTransitionsNext(); });
}

}  // namespace qj::ui
