#include "shell/main_frame.h"

#include <utility>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QString>
#include <QToolBar>

#include "shell/artwork.h"
#include "shell/display_name.h"
#include "shell/move_list_dock.h"
#include "shell/research_commands.h"
#include "shell/review_dock.h"
#include "shell/vell_view.h"
#include "shell/text.h"

namespace vell {

namespace {

// The texts of the main window. A prompt holds the status-bar text, a line break and the
// tooltip.
const char* const FileMenuText = "ﾌｧｲﾙ(&F)";
const char* const OpenRecordText = "棋譜を開く(&O)";
const char* const SaveRecordText = "棋譜保存(&S)";
const char* const RecentFilesText = "最近使ったﾌｧｲﾙ";
const char* const ExitText = "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)";
const char* const ViewMenuText = "表示(&V)";
const char* const ToolBarText = "ﾂｰﾙ ﾊﾞｰ(&T)";
const char* const StatusBarText = "ｽﾃｰﾀｽ ﾊﾞｰ(&S)";
const char* const NavigateMenuText = "ナビゲート(&N)";
const char* const StartGameText = "対局を開始(&B)";
const char* const PauseGameText = "一時停止(&S)";
const char* const PreviousText = "前へ(&P)";
const char* const NextText = "次へ(&N)";
const char* const FirstText = "最初に移動(&I)";
const char* const LastText = "最後へ移動(&L)";
const char* const SettingsMenuText = "設定(&C)";
const char* const PlayersText = "対局者(&P)";
const char* const HelpMenuText = "ﾍﾙﾌﾟ(&H)";
const char* const DataInfoText = "データ情報(&D)";
const char* const AboutSuffix = " のﾊﾞｰｼﾞｮﾝ情報(&A)...";
const char* const ResearchMenuText = "研究(&S)";
const char* const BookValueText = "BOOK評価値(&B)";
const char* const AdoptWeightsText = "学習した重みを使う(&W)";
const char* const NewGameText = "新しい対局(&N)";
const char* const TakeBackText = "一手戻す(&U)";
const char* const PlayNowText = "今すぐ打つ(&M)";
const char* const RulesText = "遊び方(&R)";
const char* const SquareNamesText = "マスの名前(&N)";
const char* const AnimationText = "石が返る動き(&A)";
const char* const SoundText = "効果音(&O)";

const char* const StartGamePrompt = "対局を開始\n対局開始";
const char* const PausePrompt = "一時停止\n一時停止";
const char* const FirstPrompt = "最初に戻る\n最初に戻る";
const char* const PlayersPrompt = "設定\n設定";
const char* const PreviousPrompt = "一手戻る\n一手戻る";
const char* const NextPrompt = "一つ次へ移動\n次へ移動";
const char* const LastPrompt = "最後へ移動\n最後へ移動";
const char* const SaveRecordPrompt = "棋譜を保存します\n棋譜を保存";
const char* const OpenRecordPrompt = "棋譜を開きます\n棋譜を開く";
const char* const DataInfoPrompt = "データのバージョン情報など\nデータ情報";
const char* const ExitPrompt = "ｱﾌﾟﾘｹｰｼｮﾝを終了します\n終了";
const char* const ToolBarPrompt = "ﾂｰﾙ ﾊﾞｰの表示/非表示\nﾂｰﾙ ﾊﾞｰ";
const char* const StatusBarPrompt = "ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示\nｽﾃｰﾀｽ ﾊﾞｰ";
const char* const NewGamePrompt = "初めから新しい対局を始めます\n新しい対局";
const char* const TakeBackPrompt = "あなたの前の手番まで戻します\n一手戻す";
const char* const PlayNowPrompt =
    "考えているコンピュータに、読み終えた一番深い手を今すぐ打たせます\n今すぐ打つ";
const char* const RulesPrompt = "この対局の遊び方を表示します\n遊び方";
const char* const SquareNamesPrompt = "盤のまわりに列の文字と行の数字を表示します";
const char* const AnimationPrompt = "打った手で石が裏返るところを見せます";
const char* const SoundPrompt = "石を打ったとき、パスと終局で音を鳴らします";
const char* const AboutPrompt = "ﾌﾟﾛｸﾞﾗﾑの名前とﾊﾞｰｼﾞｮﾝを表示します\nﾊﾞｰｼﾞｮﾝ情報";

constexpr int GamePaneWidth = 128;

}  // namespace

CMainFrame::CMainFrame(CVellView* boardView, QWidget* parent)
    : QMainWindow(parent), view(boardView) {
    setWindowIcon(MakeAppIcon());
    setCentralWidget(view);
    CreateStatusBar();
    CreateToolBar();
    CreateMenus();

    connect(view, &CVellView::PaneTextChanged, this, &CMainFrame::SetPaneText);
    connect(view, &CVellView::FlowChanged, this, &CMainFrame::UpdateCommandStates);
    UpdateCommandStates();
}

QAction* CMainFrame::MakeAction(Command command, const char* text, const char* prompt) {
    auto* action = new QAction(Text(text), this);
    if (prompt) {
        const QString both = Text(prompt);
        action->setStatusTip(both.section(QLatin1Char('\n'), 0, 0));
        action->setToolTip(both.section(QLatin1Char('\n'), 1, 1));
    }
    commandActions[static_cast<int>(command)] = action;
    return action;
}

void CMainFrame::CreateStatusBar() {
    auto* idle = new QLabel(Text(VersionText), this);
    statusBar()->addWidget(idle, 1);
    for (int pane = 0; pane < 3; ++pane) {
        panes[pane] = new QLabel(this);
        panes[pane]->setFixedWidth(GamePaneWidth);
        panes[pane]->setFrameStyle(QFrame::Panel | QFrame::Raised);
        statusBar()->addPermanentWidget(panes[pane]);
    }
}

void CMainFrame::CreateToolBar() {
    tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("toolBar"));
    tools->setIconSize(QSize(16, 15));
    addToolBar(Qt::TopToolBarArea, tools);

    struct Button {
        Command command;
        const char* text;
        const char* prompt;
        ToolIcon icon;
        void (CVellView::*slot)();
        QKeySequence key;
    };
    // The history commands have keys that leave the arrows alone to the board's cursor.
    const Button buttons[] = {
        {Command::GoToLast, LastText, LastPrompt, ToolIcon::Last, &CVellView::GoToLast,
         QKeySequence(Qt::Key_End)},
        {Command::GoToNext, NextText, NextPrompt, ToolIcon::Next, &CVellView::GoToNext,
         QKeySequence(Qt::ControlModifier | Qt::Key_Right)},
        {Command::PauseGame,
         PauseGameText,
         PausePrompt,
         ToolIcon::Pause,
         &CVellView::PauseGame,
         {}},
        {Command::PlayNow, PlayNowText, PlayNowPrompt, ToolIcon::PlayNow, &CVellView::PlayNow,
         QKeySequence(Qt::ControlModifier | Qt::Key_M)},
        {Command::GoToPrevious, PreviousText, PreviousPrompt, ToolIcon::Previous,
         &CVellView::GoToPrevious, QKeySequence(Qt::ControlModifier | Qt::Key_Left)},
        {Command::GoToFirst, FirstText, FirstPrompt, ToolIcon::First, &CVellView::GoToFirst,
         QKeySequence(Qt::Key_Home)},
        {Command::StartGame,
         StartGameText,
         StartGamePrompt,
         ToolIcon::StartGame,
         &CVellView::StartGame,
         {}},
        {Command::Players,
         PlayersText,
         PlayersPrompt,
         ToolIcon::Players,
         &CVellView::ShowPlayersDialog,
         {}},
    };
    for (const Button& button : buttons) {
        QAction* action = MakeAction(button.command, button.text, button.prompt);
        action->setIcon(MakeToolIcon(button.icon));
        action->setShortcut(button.key);
        // Space plays now too; the action is enabled only while a computer thinks, so the key
        // reaches the board at any other time.
        if (button.command == Command::PlayNow)
            action->setShortcuts({button.key, QKeySequence(Qt::Key_Space)});
        connect(action, &QAction::triggered, view, button.slot);
        if (button.command == Command::StartGame) tools->addSeparator();
        tools->addAction(action);
    }
}

void CMainFrame::CreateMenus() {
    QMenu* file = menuBar()->addMenu(Text(FileMenuText));
    QAction* newGame = MakeAction(Command::New, NewGameText, NewGamePrompt);
    newGame->setShortcut(QKeySequence::New);
    connect(newGame, &QAction::triggered, this, &CMainFrame::NewRequested);
    file->addAction(newGame);
    file->addSeparator();
    QAction* open = MakeAction(Command::OpenRecordMenu, OpenRecordText, OpenRecordPrompt);
    open->setShortcut(QKeySequence::Open);
    connect(open, &QAction::triggered, this, &CMainFrame::OpenRequested);
    file->addAction(open);
    QAction* save = MakeAction(Command::SaveRecordMenu, SaveRecordText, SaveRecordPrompt);
    save->setShortcut(QKeySequence::Save);
    connect(save, &QAction::triggered, this, &CMainFrame::SaveRequested);
    file->addAction(save);
    file->addSeparator();
    file->addAction(MakeAction(Command::RecentFiles, RecentFilesText));
    CommandAction(Command::RecentFiles)->setEnabled(false);
    file->addSeparator();
    QAction* exit = MakeAction(Command::Exit, ExitText, ExitPrompt);
    exit->setShortcut(QKeySequence(Qt::ControlModifier | Qt::Key_Q));
    file->addAction(exit);
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu* show = menuBar()->addMenu(Text(ViewMenuText));
    QAction* toolBarToggle = MakeAction(Command::ToggleToolBar, ToolBarText, ToolBarPrompt);
    toolBarToggle->setCheckable(true);
    toolBarToggle->setChecked(true);
    connect(toolBarToggle, &QAction::toggled, tools, &QWidget::setVisible);
    connect(tools, &QToolBar::visibilityChanged, toolBarToggle, [this, toolBarToggle](bool) {
        // A floating tool bar closed by its own button unticks the menu item too.
        if (!isHidden()) toolBarToggle->setChecked(tools->isVisibleTo(this));
    });
    show->addAction(toolBarToggle);
    QAction* statusToggle = MakeAction(Command::ToggleStatusBar, StatusBarText, StatusBarPrompt);
    statusToggle->setCheckable(true);
    statusToggle->setChecked(true);
    connect(statusToggle, &QAction::toggled, statusBar(), &QWidget::setVisible);
    show->addAction(statusToggle);
    AddMoveListDock(this, show, view);
    show->addSeparator();
    struct Choice {
        Command command;
        const char* text;
        const char* prompt;
        bool on;
        void (CVellView::*slot)(bool);
    };
    const ViewOptions& options = view->Options();
    const Choice choices[] = {
        {Command::SquareNames, SquareNamesText, SquareNamesPrompt, options.squareNames,
         &CVellView::SetSquareNamesShown},
        {Command::Animation, AnimationText, AnimationPrompt, options.animation,
         &CVellView::SetAnimationOn},
        {Command::Sound, SoundText, SoundPrompt, options.sound, &CVellView::SetSoundOn}};
    for (const Choice& choice : choices) {
        QAction* action = MakeAction(choice.command, choice.text, choice.prompt);
        action->setCheckable(true);
        action->setChecked(choice.on);
        connect(action, &QAction::toggled, view, choice.slot);
        show->addAction(action);
    }

    QMenu* navigate = menuBar()->addMenu(Text(NavigateMenuText));
    navigate->addAction(CommandAction(Command::StartGame));
    navigate->addAction(CommandAction(Command::PauseGame));
    navigate->addAction(CommandAction(Command::PlayNow));
    navigate->addSeparator();
    navigate->addAction(CommandAction(Command::GoToPrevious));
    navigate->addAction(CommandAction(Command::GoToNext));
    navigate->addAction(CommandAction(Command::GoToFirst));
    navigate->addAction(CommandAction(Command::GoToLast));
    navigate->addSeparator();
    QAction* takeBack = MakeAction(Command::TakeBack, TakeBackText, TakeBackPrompt);
    takeBack->setShortcut(QKeySequence::Undo);
    connect(takeBack, &QAction::triggered, view, &CVellView::TakeBack);
    navigate->addAction(takeBack);

    QMenu* settings = menuBar()->addMenu(Text(SettingsMenuText));
    settings->addAction(CommandAction(Command::Players));

    QMenu* help = menuBar()->addMenu(Text(HelpMenuText));
    QAction* dataInfo = MakeAction(Command::DataInfo, DataInfoText, DataInfoPrompt);
    connect(dataInfo, &QAction::triggered, view, &CVellView::ShowDataInfo);
    help->addAction(dataInfo);
    QAction* rules = MakeAction(Command::Rules, RulesText, RulesPrompt);
    rules->setShortcut(QKeySequence(Qt::Key_F1));
    connect(rules, &QAction::triggered, this, &CMainFrame::RulesRequested);
    help->addAction(rules);
    help->addSeparator();
    QAction* about = new QAction(Text(DisplayName) + Text(AboutSuffix), this);
    const QString aboutPrompt = Text(AboutPrompt);
    about->setStatusTip(aboutPrompt.section(QLatin1Char('\n'), 0, 0));
    commandActions[static_cast<int>(Command::About)] = about;
    connect(about, &QAction::triggered, this, &CMainFrame::AboutRequested);
    help->addAction(about);

    QMenu* research = menuBar()->addMenu(Text(ResearchMenuText));
    QAction* bookValue = MakeAction(Command::BookValue, BookValueText);
    connect(bookValue, &QAction::triggered, view, &CVellView::ShowBookValue);
    research->addAction(bookValue);
    QAction* adoptWeights = MakeAction(Command::AdoptWeights, AdoptWeightsText);
    connect(adoptWeights, &QAction::triggered, this, &CMainFrame::AdoptWeightsRequested);
    research->addAction(adoptWeights);
    AddResearchCommands(this, research, view);
    AddReviewCommands(this, research, show, view);

    // Opening and saving are the file menu's items, keys included; printing lives on its key
    // only, which the window carries so it works wherever the focus is.
    commandActions[static_cast<int>(Command::Open)] = open;
    commandActions[static_cast<int>(Command::Save)] = save;
    auto* print = new QAction(this);
    print->setShortcut(QKeySequence::Print);
    commandActions[static_cast<int>(Command::Print)] = print;
    connect(print, &QAction::triggered, view, &CVellView::Print);
    addAction(print);
}

void CMainFrame::UpdateCommandStates() {
    // Called once per tick and after each command. The flow's Accepts counts a command given
    // while it settles as allowed (it runs at the next tick), so nothing flickers.
    const GameFlow& flow = view->flow();
    const std::pair<Command, FlowCommand> rules[] = {
        {Command::StartGame, FlowCommand::StartGame},
        {Command::PauseGame, FlowCommand::PauseGame},
        {Command::GoToFirst, FlowCommand::GoToFirst},
        {Command::GoToPrevious, FlowCommand::GoToPrevious},
        {Command::GoToNext, FlowCommand::GoToNext},
        {Command::GoToLast, FlowCommand::GoToLast},
        {Command::Players, FlowCommand::ChangePlayers},
        {Command::TakeBack, FlowCommand::TakeBack}};
    for (const auto& [command, rule] : rules)
        CommandAction(command)->setEnabled(flow.Accepts(rule));
    CommandAction(Command::PlayNow)->setEnabled(flow.CanPlayNow());
}

QString CMainFrame::PaneText(int pane) const {
    return pane >= 0 && pane < 3 ? panes[pane]->text() : QString();
}

void CMainFrame::SetPaneText(int pane, const QString& text) {
    if (pane < 0 || pane >= 3) return;
    panes[pane]->setText(text);
    panes[pane]->setToolTip(text);
    FitPane(pane, text);
}

void CMainFrame::FitPane(int pane, const QString& text) {
    // A pane grows to hold the longest text it has shown (never below 128 pixels) and keeps
    // that width, so the status bar does not jump about from move to move.
    QLabel* label = panes[pane];
    const QMargins margins = label->contentsMargins();
    const int needed = label->fontMetrics().horizontalAdvance(text) + margins.left() +
                       margins.right() + 2 * label->frameWidth() + 2 * label->margin() + 4;
    if (needed > label->width()) label->setFixedWidth(needed);
}

}  // namespace vell
