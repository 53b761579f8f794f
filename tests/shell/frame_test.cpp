#include <QAction>
#include <QLabel>
#include <QPainter>
#include <QStatusBar>
#include <QMenu>
#include <QMenuBar>
#include <QThread>
#include <QToolBar>
#include <QtTest>

#include "core/player_names.h"
#include "core/settings.h"
#include "tests/shell/shell_test_classes.h"
#include "tests/shell/shell_test_support.h"

namespace vell::testing {

namespace {

// The items of a menu as "text" or "text (disabled)", separators as "-".
QStringList MenuItems(QMenu* menu) {
    QStringList items;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            items << QStringLiteral("-");
        else
            items << action->text() +
                         (action->isEnabled() ? QString() : QStringLiteral(" (disabled)"));
    }
    return items;
}

QMenu* MenuTitled(CMainFrame& frame, const QString& title) {
    for (QAction* action : frame.menuBar()->actions())
        if (action->text() == title) return action->menu();
    return nullptr;
}

// Which of start, pause, first, previous, next, last and players are enabled, as a string of
// seven 0/1 digits in that order.
QString EnableStates(CMainFrame& frame) {
    QString states;
    for (Command c :
         {Command::StartGame, Command::PauseGame, Command::GoToFirst, Command::GoToPrevious,
          Command::GoToNext, Command::GoToLast, Command::Players})
        states += frame.CommandAction(c)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return states;
}

}  // namespace

class FrameTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { ClearStoredSettings(); }

    void menusHoldTheirItems_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("file") << QStringLiteral("ﾌｧｲﾙ(&F)")
                              << QStringList{QStringLiteral("新しい対局(&N)"),
                                             QStringLiteral("-"),
                                             QStringLiteral("棋譜を開く(&O)"),
                                             QStringLiteral("棋譜保存(&S)"),
                                             QStringLiteral("-"),
                                             QStringLiteral("最近使ったﾌｧｲﾙ (disabled)"),
                                             QStringLiteral("-"),
                                             QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)")};
        QTest::newRow("view") << QStringLiteral("表示(&V)")
                              << QStringList{QStringLiteral("ﾂｰﾙ ﾊﾞｰ(&T)"),
                                             QStringLiteral("ｽﾃｰﾀｽ ﾊﾞｰ(&S)"),
                                             QStringLiteral("棋譜一覧(&M)"),
                                             QStringLiteral("-"),
                                             QStringLiteral("マスの名前(&N)"),
                                             QStringLiteral("石が返る動き(&A)"),
                                             QStringLiteral("効果音(&O)"),
                                             QStringLiteral("候補手の評価値(&E)"),
                                             QStringLiteral("-"),
                                             QStringLiteral("言語 / Language")};
        QTest::newRow("navigate") << QStringLiteral("ナビゲート(&N)")
                                  << QStringList{QStringLiteral("対局を開始(&B)"),
                                                 QStringLiteral("一時停止(&S) (disabled)"),
                                                 QStringLiteral("今すぐ打つ(&M) (disabled)"),
                                                 QStringLiteral("-"),
                                                 QStringLiteral("前へ(&P) (disabled)"),
                                                 QStringLiteral("次へ(&N) (disabled)"),
                                                 QStringLiteral("最初に移動(&I)"),
                                                 QStringLiteral("最後へ移動(&L)"),
                                                 QStringLiteral("-"),
                                                 QStringLiteral("一手戻す(&U) (disabled)")};
        QTest::newRow("settings") << QStringLiteral("設定(&C)")
                                  << QStringList{QStringLiteral("対局者(&P)")};
        QTest::newRow("help") << QStringLiteral("ﾍﾙﾌﾟ(&H)")
                              << QStringList{QStringLiteral("データ情報(&D)"),
                                             QStringLiteral("遊び方(&R)"), QStringLiteral("-"),
                                             QStringLiteral("Vell のﾊﾞｰｼﾞｮﾝ情報(&A)...")};
        QTest::newRow("research") << QStringLiteral("研究(&S)")
                                  << QStringList{QStringLiteral("BOOK評価値(&B)"),
                                                 QStringLiteral("学習した重みを使う(&W)"),
                                                 QStringLiteral("ヒント(&H) (disabled)"),
                                                 QStringLiteral("学習グラフ(&G)"),
                                                 QStringLiteral("対局の検討(&K) (disabled)")};
    }
    void menusHoldTheirItems() {
        QFETCH(QString, menu);
        QFETCH(QStringList, items);
        TestApp t;
        QMenu* found = MenuTitled(t.frame(), menu);
        QVERIFY2(found, qPrintable(menu));
        QCOMPARE(MenuItems(found), items);
    }

    void menuBarOrder() {
        TestApp t;
        QStringList titles;
        for (QAction* action : t.frame().menuBar()->actions())
            titles << action->text();
        QCOMPARE(titles, (QStringList{"ﾌｧｲﾙ(&F)", "表示(&V)", "ナビゲート(&N)", "設定(&C)",
                                      "ﾍﾙﾌﾟ(&H)", "研究(&S)"}));
    }

    void toolBarButtonsInOrderWithPromptsAndTooltips() {
        TestApp t;
        QStringList buttons;
        for (QAction* action : t.frame().toolBar()->actions())
            buttons << (action->isSeparator() ? QStringLiteral("-")
                                              : action->statusTip() + "|" + action->toolTip());
        QCOMPARE(buttons,
                 (QStringList{
                     "最後へ移動|最後へ移動", "一つ次へ移動|次へ移動", "一時停止|一時停止",
                     "考えているコンピュータに、読み終えた一番深い手を今すぐ打たせます|今すぐ打つ",
                     "一手戻る|一手戻る", "最初に戻る|最初に戻る", "-", "対局を開始|対局開始",
                     "設定|設定"}));
        QCOMPARE(t.frame().CommandAction(Command::DataInfo)->statusTip(),
                 QStringLiteral("データのバージョン情報など"));
        QCOMPARE(t.frame().CommandAction(Command::SaveRecordMenu)->statusTip(),
                 QStringLiteral("棋譜を保存します"));
        QCOMPARE(t.frame().CommandAction(Command::OpenRecordMenu)->toolTip(),
                 QStringLiteral("棋譜を開く"));
    }

    void keysReachTheirCommands_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("new") << int(Command::New) << QKeySequence(QStringLiteral("Ctrl+N"));
        QTest::newRow("open") << int(Command::Open) << QKeySequence(QStringLiteral("Ctrl+O"));
        QTest::newRow("save") << int(Command::Save) << QKeySequence(QStringLiteral("Ctrl+S"));
        QTest::newRow("print") << int(Command::Print) << QKeySequence(QStringLiteral("Ctrl+P"));
        QTest::newRow("quit") << int(Command::Exit) << QKeySequence(QStringLiteral("Ctrl+Q"));
        QTest::newRow("rules") << int(Command::Rules) << QKeySequence(QStringLiteral("F1"));
        QTest::newRow("first") << int(Command::GoToFirst) << QKeySequence(QStringLiteral("Home"));
        QTest::newRow("last") << int(Command::GoToLast) << QKeySequence(QStringLiteral("End"));
        QTest::newRow("previous") << int(Command::GoToPrevious)
                                  << QKeySequence(QStringLiteral("Ctrl+Left"));
    }
    void keysReachTheirCommands() {
        QFETCH(int, command);
        QFETCH(QKeySequence, keys);
        TestApp t;
        QAction* action = t.frame().CommandAction(Command(command));
        QCOMPARE(action->shortcut(), keys);
        QVERIFY(t.frame().actions().contains(action) || !action->associatedObjects().isEmpty());
        // Enabled wherever its key works (the history keys once there is history to walk).
        QVERIFY(action->isEnabled() || command == int(Command::GoToPrevious));
    }

    void statusBarHasThreeGamePanesOf128Pixels() {
        TestApp t;
        for (int pane = 0; pane < 3; ++pane)
            QCOMPARE(t.Pane(pane), QString());
        const QList<QLabel*> labels = t.frame().statusBar()->findChildren<QLabel*>();
        int gamePanes = 0;
        for (QLabel* label : labels)
            if (label->width() == 128 && label->frameShadow() == QFrame::Raised) ++gamePanes;
        QCOMPARE(gamePanes, 3);
    }

    // Start, pause, first, previous, next, last, players as 0/1 in that order.
    void navigationFollowsTheFlowState_data() {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QString>("states");
        QTest::newRow("stopped at the start") << "start"
                                              << "1010011";
        QTest::newRow("person to move after one move") << "person"
                                                       << "0101011";
        QTest::newRow("computer thinking") << "thinking"
                                           << "0101011";
        // The move is applied at the next tick: the commands show as they will be then.
        QTest::newRow("legal click waiting for the tick") << "clicked"
                                                          << "0101011";
        QTest::newRow("stopped at the first of two moves") << "first"
                                                           << "1010111";
        QTest::newRow("stopped in the middle") << "middle"
                                               << "1011111";
        QTest::newRow("stopped at the last move") << "paused"
                                                  << "1011011";
    }
    void navigationFollowsTheFlowState() {
        QFETCH(QString, scenario);
        QFETCH(QString, states);
        std::atomic<bool> hold{false};
        TestApp t([&hold](const ThinkRequest& request, ThinkControl& control) {
            while (hold && !control.AbortRequested())
                QThread::msleep(1);
            return LowestLegalMove(request, control);
        });
        CVellView& view = t.view();
        if (scenario != "start") {
            // White (the computer) moves, then black (a person) is to move.
            view.StartGame();
            t.Tick();
            QVERIFY(t.PlayComputerMove());
        }
        if (scenario == "thinking" || scenario == "first" || scenario == "middle") {
            QTest::mouseClick(
                &view, Qt::LeftButton, Qt::NoModifier,
                SquareCentre(view, LowestLegalSquare(t.flow().CurrentBoard(), Black)));
            hold = true;
            t.Tick();  // black's move applied; white starts thinking and is held
            QCOMPARE(t.flow().History().moveCount, 2);
        }
        if (scenario == "clicked") {
            const int s = LowestLegalSquare(t.flow().CurrentBoard(), Black);
            QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, SquareCentre(view, s));
        }
        if (scenario == "first") view.GoToLast(), view.GoToFirst();
        if (scenario == "middle") view.GoToPrevious(), view.PauseGame();
        if (scenario == "paused") view.PauseGame();
        QCOMPARE(EnableStates(t.frame()), states);
        if (scenario == "clicked") {
            // Given before the tick, "前へ" runs at the tick, after the move.
            t.frame().CommandAction(Command::GoToPrevious)->trigger();
            t.Tick();
            QCOMPARE(t.flow().History().moveCount, 2);
            QCOMPARE(t.flow().History().currentPly, 1);
            return;
        }
        // Navigation commands given while refused change nothing.
        const int ply = t.flow().History().currentPly;
        if (!t.frame().CommandAction(Command::GoToPrevious)->isEnabled()) {
            t.frame().CommandAction(Command::GoToPrevious)->trigger();
            QCOMPARE(t.flow().History().currentPly, ply);
        }
        hold = false;
    }

    void researchCommandsStayEnabledWhileAComputerThinks() {
        std::atomic<bool> hold{true};
        TestApp t([&hold](const ThinkRequest& request, ThinkControl& control) {
            while (hold && !control.AbortRequested())
                QThread::msleep(1);
            return LowestLegalMove(request, control);
        });
        t.view().StartGame();
        t.Tick();
        QVERIFY(t.flow().ThinkRunning());
        QVERIFY(t.frame().CommandAction(Command::DataInfo)->isEnabled());
        QVERIFY(t.frame().CommandAction(Command::BookValue)->isEnabled());
        MessageBoxCloser closer;
        t.frame().CommandAction(Command::BookValue)->trigger();
        t.frame().CommandAction(Command::DataInfo)->trigger();
        hold = false;
        QCOMPARE(closer.texts.size(), 2);
        // No book file and no weight file in the test's folder.
        QCOMPARE(closer.texts[0], QStringLiteral("ブックにありません。"));
        QVERIFY2(closer.texts[1].startsWith(
                     QStringLiteral("ファイル名:weight4.dat\nバージョン: 4.00.01\n")),
                 qPrintable(closer.texts[1]));
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(closer.captions[i], QStringLiteral("Tamu3"));
            QCOMPARE(closer.icons[i], QMessageBox::Warning);
            QCOMPARE(closer.buttons[i], QMessageBox::StandardButtons(QMessageBox::Ok));
        }
    }

    void hidingTheToolBarKeepsItsCommandsInTheMenu() {
        TestApp t;
        QAction* toggle = t.frame().CommandAction(Command::ToggleToolBar);
        QVERIFY(toggle->isChecked());
        toggle->trigger();
        QVERIFY(!toggle->isChecked());
        QVERIFY(!t.frame().toolBar()->isVisible());
        t.frame().CommandAction(Command::StartGame)->trigger();
        QCOMPARE(t.flow().State(), FlowState::StartTurn);
    }

    void printingDrawsTheBoard() {
        TestApp t;
        QImage page(850, 1100, QImage::Format_RGB32);
        page.fill(Qt::white);
        {
            QPainter painter(&page);
            t.view().PaintPage(painter, page.rect());
        }
        // The board is scaled to the page width; a cell of the start position lies inside.
        const double scale = 850.0 / t.view().width();
        const QRect corner = SquareRect(t.view(), 0);
        const int inside = t.view().geometry().Cell() / 8;
        const QColor cell = page.pixelColor(int((corner.left() + inside) * scale),
                                            int((corner.top() + inside) * scale));
        QCOMPARE(cell, QColor(0, 128, 0));
        const QPoint stone = SquareRect(t.view(), 27).center();
        const QColor whiteStone = page.pixelColor(int(stone.x() * scale), int(stone.y() * scale));
        QCOMPARE(whiteStone, QColor(255, 255, 255));
    }
};

QObject* MakeFrameTest(QObject* parent) {
    auto* test = new FrameTest;
    test->setParent(parent);
    return test;
}

}  // namespace vell::testing

#include "frame_test.moc"
