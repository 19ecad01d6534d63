#include "frame/ui/viewer_kind.h"

#include <QVariant>

namespace qj::ui {
namespace {
constexpr const char* kViewerProperty = "qjViewerKind";
}  // namespace

void markViewer(QWidget* viewer, ViewerKind kind) {
  viewer->setProperty(kViewerProperty, static_cast<int>(kind));
}

ViewerKind viewerKind(const QWidget* window) {
  if (!window) return ViewerKind::None;
  return static_cast<ViewerKind>(window->property(kViewerProperty).toInt());
}

}  // namespace qj::ui
