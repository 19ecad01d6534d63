#include "task/summary_step.h"

#include "records/numbers.h"
#include "task/parameters_step.h"

namespace qj {
namespace {

Text flag(int32_t on) {
  return val(on != 0 ? "1" : "0");
}

Text real(double x, char sep) {
  return val(formatReal(x, sep));
}

Text servedThresholdText(int32_t threshold) {
  if (threshold > 0) return num(threshold) + " (" + shell(782) + ")";
  if (threshold < 0) return num(-static_cast<int64_t>(threshold)) + " (" + shell(607) + ")";
  return shell(445);
}

class Page {
 public:
  void caption(std::string name, Text text, bool shown = true) {
    lines_.push_back({std::move(name), std::move(text), false, shown, std::nullopt});
  }
  void fitted(std::string name, Text text) { setFitted(lines_, std::move(name), std::move(text)); }
  ControlUpdates take() { return std::move(lines_); }

 private:
  ControlUpdates lines_;
};

void options(Page& page, const TaskWizardState& st) {
  const TaskHeader& h = st.header;
  const char sep = st.decSep;
  const bool refusals = h.refusalFlag != 0, timeFactor = h.timeFactorFlag != 0;
  const bool cargo = h.cargoMode > kNoCargo;

  page.caption("Label14_6", shell(532) + ":");
  page.caption("pr1_6", flag(h.refusalFlag));
  page.caption("Label17_6", shell(516) + ":", refusals);
  page.caption("por_6", servedThresholdText(h.servedThreshold), refusals);

  page.caption("Label18_6", shell(543) + ":");
  page.caption("pr2_6", flag(h.timeFactorFlag));
  page.caption("Label19_6", shell(148).trimmed() + ":", timeFactor);
  page.caption("dt_6", timeFactor ? num(h.tactMinutes) : Text(), timeFactor);

  page.caption("Label15_6", shell(542).trimmed() + ":");
  page.caption("pruf_6", num(h.cargoMode));
  page.caption("Label25_6",
               h.cargoMode == kCargoByWeight ? shell(130) + ":" : shell(75).trimmed() + ":", cargo);
  page.caption("ndol_6", real(h.capacity, sep), cargo);
  page.caption("Label33_6", shell(530) + ":", cargo);
  page.caption("prvd_6", flag(h.returnFlag), cargo);

  page.caption("Label36", shell(33) + ":");
  page.caption("vzpp_6", h.orderMode != kNoOrder ? num(h.orderMode) : shell(445));
  page.caption("Label16_6", shell(731) + ":", h.orderMode == kPriorityClasses);
  page.caption("npri_6", num(h.priorityCount), h.orderMode == kPriorityClasses);
}

}  // namespace

ControlUpdates summaryPage(const TaskWizardState& st) {
  const TaskHeader& h = st.header;
  const char sep = st.decSep;
  Page page;

  page.caption("Label1_6", shell(424).trimmed() + ":");
  page.caption("Label10_6", shell(168) + ":");
  page.caption("measure", val(h.moneyUnit));
  page.caption("Label11_6", shell(748) + unitInBrackets(h.moneyUnit) + ":");
  page.caption("fine1_6", real(h.finePerKm, sep));
  page.caption("Label12_6", shell(751) + unitInBrackets(h.moneyUnit) + ":");
  page.caption("fine2_6", real(h.finePerHour, sep));
  // Level-1 points are reached over transitions of their own speeds.
  const bool approach = st.dbLevel > 1;
  page.caption("Label13_6", shell(614) + ":", approach);
  page.caption("velo_6", real(approach ? h.approachSpeed : st.approachSpeed, sep), approach);

  options(page, st);

  page.caption("Label20_6", shell(720) + ":");
  page.caption("nstate1", num(stageOneStateCount(h.sectionCount)));
  page.caption("nstate2", num(h.stateCount2));

  page.caption("Label22_6", shell(97) + ":");
  page.caption("Label38", shell(660).trimmed());
  page.fitted("Label23_6", lit("(") + shell(20) + ")");
  page.caption("Label78", shell(520));
  page.fitted("Label24_6", lit("(") + shell(605) + ")");
  return page.take();
}

}  // namespace qj
