#pragma once

class QMainWindow;
class QMenu;

namespace vell {

class CVellView;

// Adds the hint ("ヒント(&H)", key H) and the learning chart to the research menu of `frame`.
// The hint is enabled only while the hint runner can start one; the chart opens once and is
// raised when asked for again.
void AddResearchCommands(QMainWindow* frame, QMenu* research, CVellView* view);

}  // namespace vell
