#include "shell/research_commands.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>

#include "shell/language.h"
#include "shell/learning_chart_dialog.h"
#include "shell/text.h"
#include "shell/vell_view.h"

namespace vell {

namespace {

// The texts of the research commands.
const char* const HintText = QT_TRANSLATE_NOOP("Vell", "ヒント(&H)");
const char* const HintPrompt = QT_TRANSLATE_NOOP("Vell", "次の一手のヒントを表示します");
const char* const ChartText = QT_TRANSLATE_NOOP("Vell", "学習グラフ(&G)");
const char* const ChartPrompt = QT_TRANSLATE_NOOP("Vell", "学習の経過をグラフで表示します");

}  // namespace

void AddResearchCommands(QMainWindow* frame, QMenu* research, CVellView* view) {
    auto* hint = new QAction(frame);
    Retranslated(hint, [hint] {
        hint->setText(Text(HintText));
        hint->setStatusTip(Text(HintPrompt));
    });
    hint->setObjectName(QStringLiteral("hintAction"));
    hint->setShortcut(QKeySequence(Qt::Key_H));
    QObject::connect(hint, &QAction::triggered, view, &CVellView::ShowHint);
    QObject::connect(view, &CVellView::FlowChanged, hint,
                     [hint, view] { hint->setEnabled(view->CanShowHint()); });
    hint->setEnabled(view->CanShowHint());
    research->addAction(hint);
    // The key works wherever the focus is in the window.
    frame->addAction(hint);

    auto* chart = new QAction(frame);
    Retranslated(chart, [chart] {
        chart->setText(Text(ChartText));
        chart->setStatusTip(Text(ChartPrompt));
    });
    chart->setObjectName(QStringLiteral("learningChartAction"));
    auto dialog = std::make_shared<QPointer<LearningChartDialog>>();
    QObject::connect(chart, &QAction::triggered, frame, [frame, view, dialog] {
        if (!*dialog) {
            *dialog = new LearningChartDialog(view->WorkDir(), frame);
            (*dialog)->setAttribute(Qt::WA_DeleteOnClose);
        }
        (*dialog)->show();
        (*dialog)->raise();
        (*dialog)->activateWindow();
    });
    research->addAction(chart);
}

}  // namespace vell
