#pragma once

#include <array>

#include <QMainWindow>

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace vell {

class CVellView;

// The window's commands. The game commands go to the view; the file commands and the About
// box are announced by signals for the application.
enum class Command {
    OpenRecordMenu,  // "棋譜を開く(&O)", Ctrl+O
    SaveRecordMenu,  // "棋譜保存(&S)", Ctrl+S
    RecentFiles,     // never enabled
    Exit,
    ToggleToolBar,
    ToggleStatusBar,
    StartGame,
    PauseGame,
    GoToPrevious,
    GoToNext,
    GoToFirst,
    GoToLast,
    Players,
    DataInfo,
    About,
    BookValue,
    AdoptWeights,  // "学習した重みを使う(&W)"
    New,           // "新しい対局(&N)", Ctrl+N
    Open,          // Ctrl+O
    Save,          // Ctrl+S
    Print,         // Ctrl+P
    TakeBack,      // "一手戻す", Ctrl+Z
    Rules,         // "遊び方(&R)", F1
    SquareNames,   // "マスの名前(&N)": letters and numbers round the board
    Animation,     // "石が返る動き(&A)"
    Sound,         // "効果音(&O)"
    PlayNow,       // "今すぐ打つ(&M)", Ctrl+M, or Space while a computer thinks
    Count
};

// The main window: menu bar, tool bar, status bar with the message pane and the three game
// panes, and the board view as its client.
class CMainFrame : public QMainWindow {
    Q_OBJECT

  public:
    explicit CMainFrame(CVellView* view, QWidget* parent = nullptr);

    QAction* CommandAction(Command command) const {
        return commandActions[static_cast<int>(command)];
    }
    // The text of game pane 0 (general), 1 (black) or 2 (white).
    QString PaneText(int pane) const;
    QToolBar* toolBar() const { return tools; }

  public Q_SLOTS:
    // Enables each game command as the flow's state allows.
    void UpdateCommandStates();
    void SetPaneText(int pane, const QString& text);

  Q_SIGNALS:
    void NewRequested();
    void OpenRequested();
    void SaveRequested();
    void AboutRequested();
    void AdoptWeightsRequested();
    void RulesRequested();

  private:
    QAction* MakeAction(Command command, const char* text, const char* prompt = nullptr);
    // A menu of the menu bar whose title follows the language.
    QMenu* AddMenu(const char* title);
    // "言語 / Language" under the view menu: automatic, Japanese or English, applied at once.
    void AddLanguageMenu(QMenu* viewMenu);
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void FitPane(int pane, const QString& text);

    CVellView* view;
    std::array<QAction*, static_cast<int>(Command::Count)> commandActions{};
    QToolBar* tools = nullptr;
    std::array<QLabel*, 3> panes{};
};

}  // namespace vell
