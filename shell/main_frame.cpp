#include "shell/main_frame.h"

#include <utility>

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QString>
#include <QToolBar>

#include "shell/artwork.h"
#include "shell/display_name.h"
#include "shell/language.h"
#include "shell/move_list_dock.h"
#include "shell/research_commands.h"
#include "shell/review_dock.h"
#include "shell/vell_view.h"
#include "shell/text.h"

namespace vell {

namespace {

// The texts of the main window. A prompt holds the status-bar text, a line break and the
// tooltip.
const char* const FileMenuText = QT_TRANSLATE_NOOP("Vell", "ﾌｧｲﾙ(&F)");
const char* const OpenRecordText = QT_TRANSLATE_NOOP("Vell", "棋譜を開く(&O)");
const char* const SaveRecordText = QT_TRANSLATE_NOOP("Vell", "棋譜保存(&S)");
const char* const RecentFilesText = QT_TRANSLATE_NOOP("Vell", "最近使ったﾌｧｲﾙ");
const char* const ExitText = QT_TRANSLATE_NOOP("Vell", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)");
const char* const ViewMenuText = QT_TRANSLATE_NOOP("Vell", "表示(&V)");
const char* const ToolBarText = QT_TRANSLATE_NOOP("Vell", "ﾂｰﾙ ﾊﾞｰ(&T)");
const char* const StatusBarText = QT_TRANSLATE_NOOP("Vell", "ｽﾃｰﾀｽ ﾊﾞｰ(&S)");
const char* const NavigateMenuText = QT_TRANSLATE_NOOP("Vell", "ナビゲート(&N)");
const char* const StartGameText = QT_TRANSLATE_NOOP("Vell", "対局を開始(&B)");
const char* const PauseGameText = QT_TRANSLATE_NOOP("Vell", "一時停止(&S)");
const char* const PreviousText = QT_TRANSLATE_NOOP("Vell", "前へ(&P)");
const char* const NextText = QT_TRANSLATE_NOOP("Vell", "次へ(&N)");
const char* const FirstText = QT_TRANSLATE_NOOP("Vell", "最初に移動(&I)");
const char* const LastText = QT_TRANSLATE_NOOP("Vell", "最後へ移動(&L)");
const char* const SettingsMenuText = QT_TRANSLATE_NOOP("Vell", "設定(&C)");
const char* const PlayersText = QT_TRANSLATE_NOOP("Vell", "対局者(&P)");
const char* const HelpMenuText = QT_TRANSLATE_NOOP("Vell", "ﾍﾙﾌﾟ(&H)");
const char* const DataInfoText = QT_TRANSLATE_NOOP("Vell", "データ情報(&D)");
// %1 is the program's name.
const char* const AboutText = QT_TRANSLATE_NOOP("Vell", "%1 のﾊﾞｰｼﾞｮﾝ情報(&A)...");
const char* const ResearchMenuText = QT_TRANSLATE_NOOP("Vell", "研究(&S)");
const char* const BookValueText = QT_TRANSLATE_NOOP("Vell", "BOOK評価値(&B)");
const char* const AdoptWeightsText = QT_TRANSLATE_NOOP("Vell", "学習した重みを使う(&W)");
const char* const NewGameText = QT_TRANSLATE_NOOP("Vell", "新しい対局(&N)");
const char* const TakeBackText = QT_TRANSLATE_NOOP("Vell", "一手戻す(&U)");
const char* const PlayNowText = QT_TRANSLATE_NOOP("Vell", "今すぐ打つ(&M)");
const char* const RulesText = QT_TRANSLATE_NOOP("Vell", "遊び方(&R)");
const char* const SquareNamesText = QT_TRANSLATE_NOOP("Vell", "マスの名前(&N)");
const char* const AnimationText = QT_TRANSLATE_NOOP("Vell", "石が返る動き(&A)");
const char* const SoundText = QT_TRANSLATE_NOOP("Vell", "効果音(&O)");
const char* const LanguageMenuText = QT_TRANSLATE_NOOP("Vell", "言語 / Language");
const char* const AutomaticLanguageText = QT_TRANSLATE_NOOP("Vell", "自動");
const char* const JapaneseText = QT_TRANSLATE_NOOP("Vell", "日本語");
const char* const EnglishText = QT_TRANSLATE_NOOP("Vell", "English");

const char* const StartGamePrompt = QT_TRANSLATE_NOOP("Vell", "対局を開始\n対局開始");
const char* const PausePrompt = QT_TRANSLATE_NOOP("Vell", "一時停止\n一時停止");
const char* const FirstPrompt = QT_TRANSLATE_NOOP("Vell", "最初に戻る\n最初に戻る");
const char* const PlayersPrompt = QT_TRANSLATE_NOOP("Vell", "設定\n設定");
const char* const PreviousPrompt = QT_TRANSLATE_NOOP("Vell", "一手戻る\n一手戻る");
const char* const NextPrompt = QT_TRANSLATE_NOOP("Vell", "一つ次へ移動\n次へ移動");
const char* const LastPrompt = QT_TRANSLATE_NOOP("Vell", "最後へ移動\n最後へ移動");
const char* const SaveRecordPrompt = QT_TRANSLATE_NOOP("Vell", "棋譜を保存します\n棋譜を保存");
const char* const OpenRecordPrompt = QT_TRANSLATE_NOOP("Vell", "棋譜を開きます\n棋譜を開く");
const char* const DataInfoPrompt =
    QT_TRANSLATE_NOOP("Vell", "データのバージョン情報など\nデータ情報");
const char* const ExitPrompt = QT_TRANSLATE_NOOP("Vell", "ｱﾌﾟﾘｹｰｼｮﾝを終了します\n終了");
const char* const ToolBarPrompt = QT_TRANSLATE_NOOP("Vell", "ﾂｰﾙ ﾊﾞｰの表示/非表示\nﾂｰﾙ ﾊﾞｰ");
const char* const StatusBarPrompt = QT_TRANSLATE_NOOP("Vell", "ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示\nｽﾃｰﾀｽ ﾊﾞｰ");
const char* const NewGamePrompt =
    QT_TRANSLATE_NOOP("Vell", "初めから新しい対局を始めます\n新しい対局");
const char* const TakeBackPrompt =
    QT_TRANSLATE_NOOP("Vell", "あなたの前の手番まで戻します\n一手戻す");
const char* const PlayNowPrompt = QT_TRANSLATE_NOOP(
    "Vell", "考えているコンピュータに、読み終えた一番深い手を今すぐ打たせます\n今すぐ打つ");
const char* const RulesPrompt = QT_TRANSLATE_NOOP("Vell", "この対局の遊び方を表示します\n遊び方");
const char* const SquareNamesPrompt =
    QT_TRANSLATE_NOOP("Vell", "盤のまわりに列の文字と行の数字を表示します");
const char* const AnimationPrompt =
    QT_TRANSLATE_NOOP("Vell", "打った手で石が裏返るところを見せます");
const char* const SoundPrompt =
    QT_TRANSLATE_NOOP("Vell", "石を打ったとき、パスと終局で音を鳴らします");
const char* const AboutPrompt =
    QT_TRANSLATE_NOOP("Vell", "ﾌﾟﾛｸﾞﾗﾑの名前とﾊﾞｰｼﾞｮﾝを表示します\nﾊﾞｰｼﾞｮﾝ情報");

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
    auto* action = new QAction(this);
    Retranslated(action, [action, text, prompt] {
        action->setText(Text(text));
        if (!prompt) return;
        const QString both = Text(prompt);
        action->setStatusTip(both.section(QLatin1Char('\n'), 0, 0));
        action->setToolTip(both.section(QLatin1Char('\n'), 1, 1));
    });
    commandActions[static_cast<int>(command)] = action;
    return action;
}

QMenu* CMainFrame::AddMenu(const char* title) {
    QMenu* menu = menuBar()->addMenu(QString());
    Retranslated(menu, [menu, title] { menu->setTitle(Text(title)); });
    return menu;
}

void CMainFrame::AddLanguageMenu(QMenu* viewMenu) {
    QMenu* languages = viewMenu->addMenu(QString());
    languages->setObjectName(QStringLiteral("languageMenu"));
    Retranslated(languages, [languages] { languages->setTitle(Text(LanguageMenuText)); });
    auto* group = new QActionGroup(languages);
    const std::pair<LanguageChoice, const char*> choices[] = {
        {LanguageChoice::Automatic, AutomaticLanguageText},
        {LanguageChoice::Japanese, JapaneseText},
        {LanguageChoice::English, EnglishText}};
    for (const auto& [choice, text] : choices) {
        QAction* action = languages->addAction(QString());
        Retranslated(action, [action, text = text] { action->setText(Text(text)); });
        action->setCheckable(true);
        action->setChecked(choice == view->Options().language);
        group->addAction(action);
        connect(action, &QAction::triggered, view,
                [this, choice = choice] { view->SetLanguageChoice(choice); });
    }
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
    QMenu* file = AddMenu(FileMenuText);
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

    QMenu* show = AddMenu(ViewMenuText);
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

    QMenu* navigate = AddMenu(NavigateMenuText);
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

    QMenu* settings = AddMenu(SettingsMenuText);
    settings->addAction(CommandAction(Command::Players));

    QMenu* help = AddMenu(HelpMenuText);
    QAction* dataInfo = MakeAction(Command::DataInfo, DataInfoText, DataInfoPrompt);
    connect(dataInfo, &QAction::triggered, view, &CVellView::ShowDataInfo);
    help->addAction(dataInfo);
    QAction* rules = MakeAction(Command::Rules, RulesText, RulesPrompt);
    rules->setShortcut(QKeySequence(Qt::Key_F1));
    connect(rules, &QAction::triggered, this, &CMainFrame::RulesRequested);
    help->addAction(rules);
    help->addSeparator();
    QAction* about = new QAction(this);
    Retranslated(about, [about] {
        about->setText(Text(AboutText).arg(QString::fromUtf8(DisplayName)));
        about->setStatusTip(Text(AboutPrompt).section(QLatin1Char('\n'), 0, 0));
    });
    commandActions[static_cast<int>(Command::About)] = about;
    connect(about, &QAction::triggered, this, &CMainFrame::AboutRequested);
    help->addAction(about);

    QMenu* research = AddMenu(ResearchMenuText);
    QAction* bookValue = MakeAction(Command::BookValue, BookValueText);
    connect(bookValue, &QAction::triggered, view, &CVellView::ShowBookValue);
    research->addAction(bookValue);
    QAction* adoptWeights = MakeAction(Command::AdoptWeights, AdoptWeightsText);
    connect(adoptWeights, &QAction::triggered, this, &CMainFrame::AdoptWeightsRequested);
    research->addAction(adoptWeights);
    AddResearchCommands(this, research, view);
    AddReviewCommands(this, research, show, view);
    show->addSeparator();
    AddLanguageMenu(show);

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
