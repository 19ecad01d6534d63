#include "task/ui/to_transitions_page.h"

#include "task/ui/UCreateTaskWin.h"

namespace qj::ui {
namespace {

TransitionGridPage::Captions captions() {
  return {"Label10_4",
          shell(35) + ":",
          {"Title1_T2", "Title2_T2", "Label8", "Label9", "Label10", "Label11", "Label12", "Label13",
           "Label14", "Label1", "Title12_T2", "Title9_T2", "Title10_T2"},
          {shell(405), shell(13).trimmed(), shell(491), shell(403).trimmed(), shell(142),
           shell(397), shell(389), shell(143), shell(615), shell(684).trimmed(),
           shell(474).trimmed(), shell(589), shell(613)}};
}

}  // namespace

ToTransitionsPage::ToTransitionsPage(TfrmCreateTaskWin& w)
    : TransitionGridPage(w, 6, "Table2", w.state().table2, captions()) {}

void ToTransitionsPage::next() {
  wizard().runNext([this] { return wizard().flow().toTransitionsNext(); });
}

}  // namespace qj::ui
