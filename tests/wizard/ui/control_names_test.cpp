// A name that a step hands to the wizard window and no widget carries is reported: the core
// and the pages keep their names in step only through this check.

#include "wizard/ui/control_names.h"

#include <string>
#include <vector>

#include "dbrn/ui/dbrn_wizard_window.h"

namespace qj::ui {
namespace {

using ControlNames = DbrnWizardWindow;

TEST_F(ControlNames, ANameNoWidgetCarriesIsReportedOnceAndChangesNothing) {
  start();
  open(MenuItem::N10);
  ASSERT_NE(wizard(), nullptr);
  std::vector<std::string> missed;
  const MissingControlHandler before = setMissingControlHandler(
      [&missed](const QWidget&, std::string_view name) { missed.emplace_back(name); });

  ControlUpdates updates;
  setText(updates, "NoSuchLabel", lit("x"));
  setShown(updates, "txtKod", false);
  wizard()->applyUpdates(updates);
  wizard()->focusControl("NoSuchEdit");
  wizard()->focusControl("");  // no control named, nothing missed
  wizard()->applyCheck(StepCheck::refuse(warningMessage(lit("w")), "NoSuchGrid", 2));
  setMissingControlHandler(before);

  EXPECT_EQ(missed, (std::vector<std::string>{"NoSuchLabel", "NoSuchEdit", "NoSuchGrid"}));
  EXPECT_TRUE(control("txtKod")->isHidden());
}

}  // namespace
}  // namespace qj::ui
