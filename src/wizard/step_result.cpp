#include "wizard/step_result.h"

namespace qj {

void setText(ControlUpdates& u, std::string name, Text text) {
  u.push_back({std::move(name), std::move(text), false, std::nullopt, std::nullopt});
}

void setFitted(ControlUpdates& u, std::string name, Text text) {
  u.push_back({std::move(name), std::move(text), true, std::nullopt, std::nullopt});
}

void setShown(ControlUpdates& u, std::string name, bool visible) {
  u.push_back({std::move(name), std::nullopt, false, visible, std::nullopt});
}

void setSized(ControlUpdates& u, std::string name, int width, int height) {
  u.push_back({std::move(name), std::nullopt, false, std::nullopt, std::pair{width, height}});
}

void setChecked(ControlUpdates& u, std::string name, bool checked) {
  ControlUpdate c{std::move(name)};
  c.checked = checked;
  u.push_back(std::move(c));
}

void setEnabled(ControlUpdates& u, std::string name, bool enabled) {
  ControlUpdate c{std::move(name)};
  c.enabled = enabled;
  u.push_back(std::move(c));
}

std::optional<Text> updatedText(const ControlUpdates& u, std::string_view name) {
  for (auto it = u.rbegin(); it != u.rend(); ++it)
    if (it->name == name && it->text) return it->text;
  return std::nullopt;
}

std::optional<bool> updatedVisibility(const ControlUpdates& u, std::string_view name) {
  for (auto it = u.rbegin(); it != u.rend(); ++it)
    if (it->name == name && it->visible) return it->visible;
  return std::nullopt;
}

}  // namespace qj
