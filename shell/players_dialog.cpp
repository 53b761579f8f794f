#include "shell/players_dialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

#include "core/player_names.h"
#include "shell/message_box.h"
#include "shell/strength_levels.h"
#include "shell/text.h"

namespace vell {

namespace {

// The texts of the dialog.
const char* const CaptionText = QT_TRANSLATE_NOOP("Vell", "ﾀﾞｲｱﾛｸﾞ");
const char* const OkText = "OK";
const char* const CancelText = QT_TRANSLATE_NOOP("Vell", "ｷｬﾝｾﾙ");
const char* const BlackText = QT_TRANSLATE_NOOP("Vell", "黒");
const char* const WhiteText = QT_TRANSLATE_NOOP("Vell", "白");
const char* const OpeningModeText = QT_TRANSLATE_NOOP("Vell", "定石モード");
const char* const TrainingText = QT_TRANSLATE_NOOP("Vell", "トレーニング");
const char* const NormalDepthText = QT_TRANSLATE_NOOP("Vell", "通常読みの深さ");
const char* const FinalDepthText = QT_TRANSLATE_NOOP("Vell", "最終読みの深さ");
const char* const MoveTimeText = QT_TRANSLATE_NOOP("Vell", "1手の制限時間");
const char* const MoveTimeOffText = QT_TRANSLATE_NOOP("Vell", "なし");
const char* const SecondsSuffixText = QT_TRANSLATE_NOOP("Vell", " 秒");
const char* const MoveTimeTip =
    QT_TRANSLATE_NOOP("Vell",
                      "コンピュータはこの時間まで深く読み、読み終えた一番深い手を打ちます。"
                      "「なし」では深さの設定どおりに読みます。");
const char* const PliesText = QT_TRANSLATE_NOOP("Vell", "手");
const char* const NotANumberText = QT_TRANSLATE_NOOP("Vell", "整数を入力してください。");
const char* const OutOfRangeText =
    QT_TRANSLATE_NOOP("Vell", "%1 から %2 までの整数を入力してください。");
const char* const PlayerTips[] = {
    QT_TRANSLATE_NOOP("Vell", "あなたが盤をクリックして打ちます。"),
    QT_TRANSLATE_NOOP("Vell", "コンピュータ: 手作りの評価で読みます。"),
    QT_TRANSLATE_NOOP("Vell",
                      "コンピュータ: 手作りの評価と学習したパターン評価を合わせて読みます。"),
    QT_TRANSLATE_NOOP("Vell", "コンピュータ: 学習したパターン評価で読みます。"),
    QT_TRANSLATE_NOOP("Vell", "コンピュータ: でたらめな評価で打ちます。"),
};
const char* const NormalDepthTip =
    QT_TRANSLATE_NOOP("Vell", "何手先まで読むかです。深いほど強く、時間がかかります。");
const char* const FinalDepthTip =
    QT_TRANSLATE_NOOP("Vell", "空きマスがこの数以下になると、最後まで読み切ります。");
const char* const SlowDepthTip =
    QT_TRANSLATE_NOOP("Vell", "この深さだと、1手にかなり時間がかかります。");
const char* const StrengthText = QT_TRANSLATE_NOOP("Vell", "強さ");
const char* const CustomStrengthText = QT_TRANSLATE_NOOP("Vell", "自分で設定");
const char* const SecondsText = QT_TRANSLATE_NOOP("Vell", "1手 約%1秒");
const char* const FastMoveText = QT_TRANSLATE_NOOP("Vell", "1手 0.1秒未満");
const char* const NoEstimateText = QT_TRANSLATE_NOOP("Vell", "1手の時間: 目安なし");
// One line on each player type, shown in the dialog below the lists.
const char* const PlayerLines[] = {
    QT_TRANSLATE_NOOP("Vell", "Human: あなたが盤をクリックするかキーで打ちます。"),
    QT_TRANSLATE_NOOP("Vell", "CPU-1: 手作りの評価で読みます。"),
    QT_TRANSLATE_NOOP("Vell", "CPU-PAT1: 手作りの評価と学習したパターン評価を合わせます。"),
    QT_TRANSLATE_NOOP("Vell", "CPU-PAT2: 学習したパターン評価で読みます。"),
    QT_TRANSLATE_NOOP("Vell", "CPU-1-2: でたらめな評価で打ちます。いちばん弱い型です。"),
};

// From these depths on, a move takes long on an ordinary machine.
constexpr int SlowNormalDepth = 10;
constexpr int SlowFinalDepth = 20;

// The tip of a depth edit, with a warning once the depth will take long.
void SetDepthTip(QSpinBox* edit, const char* tip, int slowFrom) {
    QString text = Text(tip);
    if (edit->value() >= slowFrom) text += QLatin1Char('\n') + Text(SlowDepthTip);
    edit->setToolTip(text);
}

QListWidget* MakePlayerList(QWidget* parent, const char* name) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    for (int type = 0; type < PlayerTypeCount; ++type) {
        const std::string_view playerName = PlayerTypeNames[type];
        list->addItem(QString::fromUtf8(playerName.data(), qsizetype(playerName.size())));
        list->item(type)->setToolTip(Text(PlayerTips[type]));
    }
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Narrow, as tall as the five names with room to spare.
    const QFontMetrics metrics = list->fontMetrics();
    list->setFixedWidth(metrics.horizontalAdvance(QStringLiteral("CPU-PAT2")) +
                        list->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                        4 * metrics.averageCharWidth());
    list->setMinimumHeight(8 * metrics.height());
    return list;
}

// Selects the stored player type; a type outside the list selects nothing.
void SelectPlayer(QListWidget* list, int type) {
    if (type >= 0 && type < PlayerTypeCount)
        list->setCurrentRow(type);
    else
        list->setCurrentRow(-1);
}

// A depth box that refuses every key that would leave its range; only an empty box is left
// to the check on OK.
class DepthBox : public QSpinBox {
  public:
    using QSpinBox::QSpinBox;

  protected:
    QValidator::State validate(QString& text, int&) const override {
        if (text.isEmpty()) return QValidator::Intermediate;
        bool isNumber = false;
        const int value = text.toInt(&isNumber);
        const bool digits =
            std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
        if (!isNumber || !digits || value < minimum() || value > maximum())
            return QValidator::Invalid;
        return QValidator::Acceptable;
    }
};

// A whole-number edit with up-down arrows over `low`..`high`, the up arrow raising the number;
// a key that would leave the range is refused. A stored depth outside it shows at the nearer end.
QSpinBox* MakeDepthEdit(QWidget* parent, const char* name, int low, int high, int value) {
    auto* edit = new DepthBox(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setRange(low, high);
    edit->setValue(value);
    return edit;
}

}  // namespace

CPlayersDialog::CPlayersDialog(const Settings& current, QWidget* parent)
    : QDialog(parent), copy(current) {
    setWindowTitle(Text(CaptionText));

    auto* blackGroup = new QGroupBox(Text(BlackText), this);
    blackList = MakePlayerList(blackGroup, "blackList");
    (new QVBoxLayout(blackGroup))->addWidget(blackList);
    auto* whiteGroup = new QGroupBox(Text(WhiteText), this);
    whiteList = MakePlayerList(whiteGroup, "whiteList");
    (new QVBoxLayout(whiteGroup))->addWidget(whiteList);

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    QPushButton* ok = buttons->addButton(Text(OkText), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(Text(CancelText), QDialogButtonBox::RejectRole);
    ok->setObjectName(QStringLiteral("okButton"));
    cancel->setObjectName(QStringLiteral("cancelButton"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    openingModeCheck = new QCheckBox(Text(OpeningModeText), this);
    openingModeCheck->setObjectName(QStringLiteral("openingModeCheck"));
    trainingCheck = new QCheckBox(Text(TrainingText), this);
    trainingCheck->setObjectName(QStringLiteral("trainingCheck"));
    normalDepthEdit = MakeDepthEdit(this, "normalDepthEdit", MinNormalDepth, MaxNormalDepth,
                                    copy[NormalDepthSetting]);
    finalDepthEdit = MakeDepthEdit(this, "finalDepthEdit", MinFinalDepth, MaxFinalDepth,
                                   copy[FinalDepthSetting]);
    const auto updateTips = [this] {
        SetDepthTip(normalDepthEdit, NormalDepthTip, SlowNormalDepth);
        SetDepthTip(finalDepthEdit, FinalDepthTip, SlowFinalDepth);
    };
    updateTips();
    connect(normalDepthEdit, &QSpinBox::valueChanged, this, updateTips);
    connect(finalDepthEdit, &QSpinBox::valueChanged, this, updateTips);

    auto* options = new QGridLayout;
    options->addWidget(buttons, 0, 0, 1, 2);
    options->addWidget(openingModeCheck, 1, 0, 1, 2);
    options->addWidget(trainingCheck, 2, 0, 1, 2);
    options->addWidget(new QLabel(Text(NormalDepthText), this), 3, 0, 1, 2);
    options->addWidget(normalDepthEdit, 4, 0);
    options->addWidget(new QLabel(Text(PliesText), this), 4, 1);
    options->addWidget(new QLabel(Text(FinalDepthText), this), 5, 0, 1, 2);
    options->addWidget(finalDepthEdit, 6, 0);
    options->addWidget(new QLabel(Text(PliesText), this), 6, 1);

    strengthChoice = new QComboBox(this);
    strengthChoice->setObjectName(QStringLiteral("strengthChoice"));
    for (const StrengthLevel& level : StrengthLevels)
        strengthChoice->addItem(Text(level.name));
    strengthChoice->addItem(Text(CustomStrengthText));
    secondsLabel = new QLabel(this);
    secondsLabel->setObjectName(QStringLiteral("secondsLabel"));
    options->addWidget(new QLabel(Text(StrengthText), this), 7, 0, 1, 2);
    options->addWidget(strengthChoice, 8, 0, 1, 2);
    options->addWidget(secondsLabel, 9, 0, 1, 2);
    // The time limit per move: 0 ("なし") leaves the think to the depths alone.
    moveTimeEdit = new QSpinBox(this);
    moveTimeEdit->setObjectName(QStringLiteral("moveTimeEdit"));
    moveTimeEdit->setRange(0, MaxMoveSeconds);
    moveTimeEdit->setSpecialValueText(Text(MoveTimeOffText));
    moveTimeEdit->setSuffix(Text(SecondsSuffixText));
    moveTimeEdit->setValue(std::clamp(copy[MoveTimeSetting], 0, MaxMoveSeconds));
    moveTimeEdit->setToolTip(Text(MoveTimeTip));
    options->addWidget(new QLabel(Text(MoveTimeText), this), 10, 0, 1, 2);
    options->addWidget(moveTimeEdit, 11, 0, 1, 2);
    options->setRowStretch(12, 1);

    QString lines;
    for (const char* line : PlayerLines)
        lines += (lines.isEmpty() ? QString() : QStringLiteral("\n")) + Text(line);
    auto* typeLines = new QLabel(lines, this);
    typeLines->setObjectName(QStringLiteral("playerTypeLines"));

    auto* columns = new QHBoxLayout;
    columns->addWidget(blackGroup);
    columns->addWidget(whiteGroup);
    columns->addLayout(options);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(typeLines);

    // The list selections and the switches reach the copy as they change; the depths on OK.
    SelectPlayer(blackList, copy[BlackPlayerSetting]);
    SelectPlayer(whiteList, copy[WhitePlayerSetting]);
    openingModeCheck->setChecked(copy[OpeningModeSetting] != 0);
    trainingCheck->setChecked(copy[TrainingModeSetting] != 0);
    connect(blackList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) copy[BlackPlayerSetting] = row;
    });
    connect(whiteList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) copy[WhitePlayerSetting] = row;
    });
    connect(blackList, &QListWidget::currentRowChanged, this, &CPlayersDialog::ShowStrength);
    connect(whiteList, &QListWidget::currentRowChanged, this, &CPlayersDialog::ShowStrength);
    connect(normalDepthEdit, &QSpinBox::valueChanged, this, &CPlayersDialog::ShowStrength);
    connect(finalDepthEdit, &QSpinBox::valueChanged, this, &CPlayersDialog::ShowStrength);
    connect(strengthChoice, &QComboBox::activated, this, &CPlayersDialog::ChooseStrength);
    ShowStrength();
    connect(openingModeCheck, &QCheckBox::toggled, this,
            [this](bool on) { copy[OpeningModeSetting] = on ? 1 : 0; });
    connect(trainingCheck, &QCheckBox::toggled, this,
            [this](bool on) { copy[TrainingModeSetting] = on ? 1 : 0; });

    setTabOrder(ok, cancel);
    setTabOrder(cancel, blackList);
    setTabOrder(blackList, whiteList);
    setTabOrder(whiteList, openingModeCheck);
    setTabOrder(openingModeCheck, trainingCheck);
    setTabOrder(trainingCheck, normalDepthEdit);
    setTabOrder(normalDepthEdit, finalDepthEdit);
    setTabOrder(finalDepthEdit, strengthChoice);
    setTabOrder(strengthChoice, moveTimeEdit);
    ok->setFocus();
}

void CPlayersDialog::accept() {
    const int normal = CheckedDepth(normalDepthEdit, MinNormalDepth, MaxNormalDepth);
    if (normal < 0) return;
    const int finalDepth = CheckedDepth(finalDepthEdit, MinFinalDepth, MaxFinalDepth);
    if (finalDepth < 0) return;
    copy[NormalDepthSetting] = normal;
    copy[FinalDepthSetting] = finalDepth;
    copy[MoveTimeSetting] = moveTimeEdit->value();
    QDialog::accept();
}

void CPlayersDialog::ShowStrength() {
    const int side = copy[WhitePlayerSetting] != HumanPlayer   ? WhitePlayerSetting
                     : copy[BlackPlayerSetting] != HumanPlayer ? BlackPlayerSetting
                                                               : -1;
    const int level =
        side < 0 ? -1
                 : FindStrengthLevel(copy[side], normalDepthEdit->value(), finalDepthEdit->value());
    strengthChoice->setCurrentIndex(level >= 0 ? level : int(StrengthLevels.size()));
    if (level < 0) {
        secondsLabel->setText(Text(NoEstimateText));
        return;
    }
    const double seconds = StrengthLevels[level].secondsPerMove;
    secondsLabel->setText(seconds < 0.1 ? Text(FastMoveText)
                                        : Text(SecondsText).arg(seconds, 0, 'g', 2));
}

void CPlayersDialog::ChooseStrength(int level) {
    if (level < 0 || level >= int(StrengthLevels.size())) return ShowStrength();
    const StrengthLevel& chosen = StrengthLevels[level];
    const bool blackComputer = copy[BlackPlayerSetting] != HumanPlayer;
    const bool whiteComputer = copy[WhitePlayerSetting] != HumanPlayer;
    if (blackComputer) blackList->setCurrentRow(chosen.playerType);
    if (whiteComputer || !blackComputer) whiteList->setCurrentRow(chosen.playerType);
    normalDepthEdit->setValue(chosen.normalDepth);
    finalDepthEdit->setValue(chosen.finalDepth);
    ShowStrength();
}

int CPlayersDialog::CheckedDepth(QSpinBox* edit, int low, int high) {
    bool isNumber = false;
    const int value = edit->cleanText().toInt(&isNumber);
    if (isNumber && value >= low && value <= high) return value;
    ShowMessageBox(this, isNumber ? Text(OutOfRangeText).arg(low).arg(high) : Text(NotANumberText));
    edit->setFocus();
    edit->selectAll();
    return -1;
}

}  // namespace vell
