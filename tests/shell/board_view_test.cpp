#include <cmath>

#include <QAccessible>
#include <QPointer>
#include <QtTest>

#include "core/player_names.h"
#include "core/settings.h"
#include "shell/flip_animation.h"
#include "shell/players_dialog.h"
#include "tests/shell/shell_test_classes.h"
#include "tests/shell/shell_test_support.h"

namespace vell::testing {

namespace {

// Presses arrow keys on the view until its cursor stands on `square`, then Return.
void PlayByKeys(CVellView& view, int square) {
    if (view.CursorSquare() < 0) QTest::keyClick(&view, Qt::Key_Right);
    while (view.CursorSquare() / 8 != square / 8)
        QTest::keyClick(&view, view.CursorSquare() / 8 < square / 8 ? Qt::Key_Right : Qt::Key_Left);
    while (view.CursorSquare() % 8 != square % 8)
        QTest::keyClick(&view, view.CursorSquare() % 8 < square % 8 ? Qt::Key_Down : Qt::Key_Up);
    QTest::keyClick(&view, Qt::Key_Return);
}

// Plays the game on to its end, the computer's think and a person's lowest legal square by
// keys; false when it does not end (a guard against hangs).
bool PlayToTheEnd(TestApp& t) {
    for (int move = 0; move < 64 && t.flow().ResultText().empty(); ++move) {
        if (t.flow().PlayerOf(t.flow().SideToMove()) != HumanPlayer) {
            if (!t.PlayComputerMove()) return false;
            continue;
        }
        PlayByKeys(t.view(), LowestLegalSquare(t.flow().CurrentBoard(), t.flow().SideToMove()));
        t.Tick();
    }
    return !t.flow().ResultText().empty();
}

}  // namespace

class BoardViewTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { ClearStoredSettings(); }

    // The board is as large as the view allows, in whole device pixels a cell, centred, and
    // every square's centre maps back to that square.
    void layoutFillsTheView_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<double>("ratio");
        for (double ratio : {1.0, 1.5, 2.0}) {
            const QByteArray tag = " x" + QByteArray::number(ratio);
            QTest::newRow("1400 x 900" + tag) << QSize(1400, 900) << ratio;
            QTest::newRow("1660 x 960 (1920 x 1080 maximised)" + tag) << QSize(1660, 960) << ratio;
            QTest::newRow("760 x 640 (1024 x 768)" + tag) << QSize(760, 640) << ratio;
            QTest::newRow("narrow 600 x 900" + tag) << QSize(600, 900) << ratio;
            QTest::newRow("base size" + tag) << QSize(SceneWidth, SceneHeight) << ratio;
        }
    }
    void layoutFillsTheView() {
        QFETCH(QSize, size);
        QFETCH(double, ratio);
        const BoardGeometry geometry = BoardGeometry::Fit(size, ratio);
        const QRect device(0, 0, int(size.width() * ratio), int(size.height() * ratio));
        const QRect board = geometry.BoardRect();
        const QRect scene = geometry.SceneRect();
        QCOMPARE(board.width(), 8 * geometry.Cell());
        QCOMPARE(board.height(), board.width());
        QVERIFY(device.contains(scene));
        // At least 85% of the height, or of the width less what lies right of the board.
        const int countsRoom = scene.right() - board.right();
        const double limit = std::min(device.height(), device.width() - countsRoom);
        QVERIFY2(board.width() >= 0.85 * limit,
                 qPrintable(QStringLiteral("board %1 of %2").arg(board.width()).arg(limit)));
        QVERIFY(std::abs(scene.top() - (device.bottom() - scene.bottom())) <= 1);
        // The labels stand outside the board; the counts beside it.
        QVERIFY(geometry.ColumnLabelRect(0).bottom() < board.top());
        QVERIFY(geometry.RowLabelRect(7).right() < board.left());
        QVERIFY(geometry.CountStoneRect(Black).left() > board.right());
        QVERIFY(scene.contains(geometry.CountTextRect(White)));
        for (int s = 0; s < 64; ++s)
            QCOMPARE(geometry.SquareAt(geometry.SquareCentre(s)), s);
        const QPointF corner = QPointF(board.topLeft()) / ratio;
        QCOMPARE(geometry.SquareAt(corner + QPointF(0.01, 0.01)), 0);
        QCOMPARE(geometry.SquareAt(corner - QPointF(1, 0)), -1);
        QCOMPARE(geometry.SquareAt(QPointF(board.bottomRight() + QPoint(1, 1)) / ratio), -1);
    }

    // The mark stands on the stone of the move that made the shown position, also while the
    // history is walked back; the flow's marker then frames the next move.
    void lastMoveMarkFollowsTheShownPosition() {
        TestApp t;
        t.app.store().WriteSetting(BlackPlayerSetting, Cpu1Player);
        t.view().StartGame();
        t.Tick();
        for (int i = 0; i < 3; ++i)
            QVERIFY(t.PlayComputerMove());
        t.view().PauseGame();
        const GameHistory& history = t.flow().History();
        QCOMPARE(t.view().LastMoveSquare(), history.SquareOfMove(3));
        t.view().GoToPrevious();
        QCOMPARE(t.view().LastMoveSquare(), history.SquareOfMove(2));
        const QImage image = t.view().grab().toImage();
        const QRect marked = SquareRect(t.view(), history.SquareOfMove(2));
        const QRect next = SquareRect(t.view(), history.SquareOfMove(3));
        QCOMPARE(image.pixelColor(marked.center()), QColor(230, 40, 40));
        QCOMPARE(image.pixelColor(marked.left(), marked.center().y()), QColor(255, 255, 0));
        QVERIFY(image.pixelColor(next.left(), next.center().y()) != QColor(255, 255, 0));
        t.view().GoToFirst();
        QCOMPARE(t.view().LastMoveSquare(), -1);
    }

    // One "対局者" command opens one dialog: a tick while it is open opens no second one.
    void playersCommandOpensOneDialog() {
        TestApp t;
        QList<QPointer<QDialog>> seen;
        bool ticked = false;
        QTimer closer;
        closer.setInterval(5);
        QObject::connect(&closer, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<CPlayersDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            if (!seen.contains(dialog)) seen << dialog;
            if (!ticked) {
                ticked = true;
                QTimer::singleShot(0, [&t] { t.Tick(); });
                return;
            }
            dialog->reject();
        });
        closer.start();
        t.frame().CommandAction(Command::Players)->trigger();
        t.Tick();
        QCOMPARE(seen.size(), 1);
    }

    // A whole game against the computer by keys alone: Ctrl+N starts it, arrows and Return
    // play. The result is shown only at the game's end position.
    void keyboardPlaysAWholeGame() {
        TestApp t;
        t.app.store().WriteSetting(WhitePlayerSetting, HumanPlayer);
        t.app.store().WriteSetting(BlackPlayerSetting, Cpu1Player);
        t.frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&t.frame()));
        QTest::keyClick(&t.frame(), Qt::Key_N, Qt::ControlModifier);
        t.Tick();
        QCOMPARE(t.Pane(0), QStringLiteral("白の番です。"));
        // A refused square by keys as by a click; the cursor describes its square.
        PlayByKeys(t.view(), 27);
        QCOMPARE(t.Pane(0), QStringLiteral("打てませんよ。"));
        QCOMPARE(t.view().accessibleDescription(), QStringLiteral("d4 白"));
        QCOMPARE(t.view().accessibleName(), QStringLiteral("盤"));
        const int first = LowestLegalSquare(t.flow().CurrentBoard(), White);
        PlayByKeys(t.view(), first);
        t.Tick();
        QCOMPARE(t.flow().History().SquareOfMove(1), first);
        QVERIFY(PlayToTheEnd(t));

        const std::string result = t.flow().ResultText();
        t.view().GoToPrevious();
        QCOMPARE(t.flow().ResultText(), std::string());
        QTest::keyClick(&t.frame(), Qt::Key_End);
        QCOMPARE(t.flow().ResultText(), result);
    }

    // The game applies a move and goes on at once; the picture of its stones turning follows
    // on its own, and a command ends it.
    void flowDoesNotWaitForTheAnimation() {
        TestApp t;
        t.view().SetAnimationDuration(60000);  // still turning whatever the machine's speed
        t.view().StartGame();
        t.Tick();
        QVERIFY(t.PlayComputerMove());
        QVERIFY(t.view().Animating());
        QCOMPARE(t.flow().State(), FlowState::AwaitingMove);
        QCOMPARE(t.flow().SideToMove(), Black);
        QCOMPARE(t.Pane(1), QStringLiteral("打ってください。"));
        QVERIFY(t.flow().ClickSquare(LowestLegalSquare(t.flow().CurrentBoard(), Black)));
        t.Tick();
        QCOMPARE(t.flow().History().moveCount, 2);
        t.view().PauseGame();
        QVERIFY(!t.view().Animating());

        // Switched off (and the choice kept): nothing moves.
        t.frame().CommandAction(Command::Animation)->trigger();
        t.view().StartGame();
        t.Tick();
        QVERIFY(t.PlayComputerMove());
        QVERIFY(!t.view().Animating());
        QVERIFY(!ViewOptions::Load().animation);

        // Both sides computers in training: nothing moves, whatever the choice.
        t.frame().CommandAction(Command::Animation)->trigger();
        t.app.store().WriteSetting(BlackPlayerSetting, Cpu1Player);
        t.app.store().WriteSetting(TrainingModeSetting, 1);
        QVERIFY(t.view().Unattended());
        QVERIFY(t.PlayComputerMove());
        QVERIFY(!t.view().Animating());
    }

    void stonesFartherFromThePlacedOneTurnLater() {
        Board before;
        before.fill(Empty);
        // Black places on a1 (0) and turns b1 (8) and c1 (16); a white stone far off stays.
        before[8] = before[16] = White;
        before[63] = White;
        Board after = before;
        after[0] = after[8] = after[16] = Black;
        FlipAnimation flips;
        QVERIFY(flips.Start(before, after, 300));
        QCOMPARE(flips.Turn(63, 100), -1.0);
        QCOMPARE(flips.Turn(0, 100), -1.0);  // placed, not turned
        QVERIFY(flips.Turn(8, 120) > flips.Turn(16, 120));
        QCOMPARE(flips.Turn(16, 300), 1.0);
        QVERIFY(!flips.Running(300));
        // A change that is no single move (a stone taken away) is not animated.
        QVERIFY(!flips.Start(after, before, 300));
        after[63] = Empty;
        QVERIFY(!flips.Start(before, after, 300));
    }
};

QObject* MakeBoardViewTest(QObject* parent) {
    auto* test = new BoardViewTest;
    test->setParent(parent);
    return test;
}

}  // namespace vell::testing

#include "board_view_test.moc"
