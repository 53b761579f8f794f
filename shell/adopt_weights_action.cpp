#include "shell/adopt_weights_action.h"

#include <QMessageBox>
#include <QString>

#include "learning/adopt_weights.h"
#include "shell/logic_texts.h"
#include "shell/message_box.h"

namespace vell {

namespace {

const char* const Caption = "Tamu3";

}  // namespace

void AdoptTrainedWeightsCommand(QWidget* parent, const std::filesystem::path& workDir,
                                const std::function<AdoptResult()>& adopt) {
    const TrainedWeights candidate = ReadTrainedWeights(workDir);
    if (!candidate.ok) {
        ShowMessageBox(parent, LogicText(candidate.message));
        return;
    }
    const QMessageBox::StandardButton answer = QMessageBox::question(
        parent, QString::fromUtf8(Caption), LogicText(AdoptQuestion(candidate.weights)),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes) return;
    ShowMessageBox(parent, LogicText(adopt().message));
}

}  // namespace vell
