#include <QImage>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include "core/player_names.h"
#include "core/settings.h"
#include "tests/shell/shell_test_classes.h"
#include "tests/shell/shell_test_support.h"

namespace vell::testing {

namespace {

QPoint CellCentre(int square) {
    return QPoint(BoardLeft + (square / 8) * CellWidth + CellWidth / 2,
                  BoardTop + (square % 8) * CellHeight + CellHeight / 2);
}

QColor PixelAt(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

}  // namespace

class ViewTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { ClearStoredSettings(); }

    void startGameAnnouncesWhiteAndTheComputerMovesFirst() {
        TestApp t;
        t.view().StartGame();
        t.Tick();
        QCOMPARE(t.Pane(0), QStringLiteral("白の番です。"));
        QCOMPARE(t.Pane(2), QStringLiteral("思考中です"));
        const int expected = LowestLegalSquare(StartPosition(), White);
        QVERIFY(t.PlayComputerMove());
        QCOMPARE(t.flow().History().moveCount, 1);
        QCOMPARE(t.flow().History().sideAtPly[0], White);
        QCOMPARE(t.flow().History().SquareOfMove(1), expected);
        // Black ("Human" by default) is next.
        QCOMPARE(t.Pane(0), QStringLiteral("黒の番です。"));
        QCOMPARE(t.Pane(1), QStringLiteral("打ってください。"));
    }

    void clicksInAPersonsTurn_data() {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("applied");
        QTest::addColumn<QString>("pane");
        const int legal = LowestLegalSquare(StartPosition(), White);
        const QString turn = QStringLiteral("白の番です。");
        const QString refused = QStringLiteral("打てませんよ。");
        QTest::newRow("legal square") << CellCentre(legal) << int(Qt::LeftButton) << true << turn;
        QTest::newRow("legal square, its corner pixel")
            << QPoint(BoardLeft + (legal / 8) * CellWidth, BoardTop + (legal % 8) * CellHeight)
            << int(Qt::LeftButton) << true << turn;
        QTest::newRow("occupied square")
            << CellCentre(27) << int(Qt::LeftButton) << false << refused;
        QTest::newRow("square that turns nothing")
            << CellCentre(0) << int(Qt::LeftButton) << false << refused;
        QTest::newRow("exactly on the left edge lands in column 0")
            << QPoint(BoardLeft, BoardTop + 3 * CellHeight + 5) << int(Qt::LeftButton) << false
            << refused;
        QTest::newRow("10 pixels left of the board is ignored")
            << QPoint(BoardLeft - 10, BoardTop + 3 * CellHeight + 5) << int(Qt::LeftButton) << false
            << turn;
        QTest::newRow("below the board is ignored")
            << QPoint(BoardLeft + 5, BoardTop + 8 * CellHeight) << int(Qt::LeftButton) << false
            << turn;
        QTest::newRow("right button is ignored")
            << CellCentre(legal) << int(Qt::RightButton) << false << turn;
    }
    void clicksInAPersonsTurn() {
        QFETCH(QPoint, point);
        QFETCH(int, button);
        QFETCH(bool, applied);
        QFETCH(QString, pane);
        TestApp t;
        t.app.store().WriteSetting(WhitePlayerSetting, HumanPlayer);
        t.view().StartGame();
        t.Tick();
        QCOMPARE(t.flow().State(), FlowState::AwaitingMove);
        const Board before = t.flow().CurrentBoard();

        QTest::mouseClick(&t.view(), Qt::MouseButton(button), Qt::NoModifier, point);
        QCOMPARE(t.Pane(0), pane);
        // Nothing is played before the next tick.
        QVERIFY(t.flow().CurrentBoard() == before);
        t.Tick();
        QCOMPARE(t.flow().History().moveCount, applied ? 1 : 0);
        if (applied) {
            QCOMPARE(t.flow().History().sideAtPly[0], White);
        }
    }

    void clickDuringTheComputersTurnDoesNothing() {
        std::atomic<bool> release{false};
        TestApp t([&release](const ThinkRequest& request, ThinkControl& control) {
            while (!release && !control.AbortRequested())
                QThread::msleep(1);
            return LowestLegalMove(request, control);
        });
        t.view().StartGame();
        t.Tick();
        QTest::mouseClick(&t.view(), Qt::LeftButton, Qt::NoModifier,
                          CellCentre(LowestLegalSquare(StartPosition(), White)));
        QCOMPARE(t.Pane(0), QStringLiteral("白の番です。"));
        QCOMPARE(t.flow().State(), FlowState::AwaitingMove);
        release = true;
        QVERIFY(t.PlayComputerMove());
    }

    void highlightAndMarkerAreDrawnInTheirColours() {
        TestApp t;  // black a person, white the computer
        t.view().StartGame();
        t.Tick();
        QVERIFY(t.PlayComputerMove());
        const int whiteMove = t.flow().History().SquareOfMove(1);
        const QImage image = t.view().grab().toImage();

        const QColor highlight(255, 192, 0), green(0, 128, 0), yellow(255, 255, 0);
        LegalMap legal;
        QVERIFY(CountLegalMoves(t.flow().CurrentBoard(), Black, &legal) > 0);
        for (int s = 0; s < 64; ++s) {
            const int left = BoardLeft + (s / 8) * CellWidth, top = BoardTop + (s % 8) * CellHeight;
            if (legal[s]) {
                QCOMPARE(PixelAt(image, left + 1, top + 1), highlight);
                QCOMPARE(PixelAt(image, left + 30, top + 30), highlight);
                QCOMPARE(PixelAt(image, left + 16, top + 16), highlight);
                // The one-pixel border of the cell underneath still shows.
                QVERIFY(PixelAt(image, left, top + 16) != highlight);
                QVERIFY(PixelAt(image, left + 31, top + 16) != highlight);
            } else if (t.flow().CurrentBoard()[s] == Empty) {
                QCOMPARE(PixelAt(image, left + 4, top + 4), green);
            }
            const bool marked = s == whiteMove;
            QCOMPARE(PixelAt(image, left, top + 16) == yellow, marked);
            QCOMPARE(PixelAt(image, left + 31, top + 1) == yellow, marked);
        }

        // Paused, no square is highlighted; the marker stays.
        t.view().PauseGame();
        const QImage paused = t.view().grab().toImage();
        for (int s = 0; s < 64; ++s) {
            const int left = BoardLeft + (s / 8) * CellWidth, top = BoardTop + (s % 8) * CellHeight;
            QVERIFY(PixelAt(paused, left + 16, top + 16) != highlight);
        }
        QCOMPARE(PixelAt(paused, BoardLeft + (whiteMove / 8) * CellWidth,
                         BoardTop + (whiteMove % 8) * CellHeight + 16),
                 yellow);
    }

    void countsAreDrawnBesideTheBoard() {
        TestApp t;
        const QImage image = t.view().grab().toImage();
        QVERIFY(image.width() >= BoardLeft + 19 * CellWidth);
        // Each count's stone at cell column 10 and text pixels in the count colour after it.
        for (int row : {2, 3}) {
            const int top = BoardTop + row * CellHeight;
            const QColor stone = PixelAt(image, BoardLeft + 10 * CellWidth + 16, top + 16);
            QCOMPARE(stone, row == 2 ? QColor(0, 0, 0) : QColor(255, 255, 255));
            int textPixels = 0, digitPixels = 0;
            for (int y = top; y < top + CellHeight; ++y)
                for (int x = BoardLeft + 11 * CellWidth; x < BoardLeft + 19 * CellWidth; ++x) {
                    if (PixelAt(image, x, y) != QColor(127, 255, 127)) continue;
                    ++textPixels;
                    // "%2d" puts a single-digit count in the second half-width place.
                    if (x < BoardLeft + 11 * CellWidth + 16) ++digitPixels;
                }
            QVERIFY(textPixels > 20);
            QCOMPARE(digitPixels, 0);
        }
    }

    void paneTextFromTheThinkingThreadArrivesOnTheWindowThread() {
        std::atomic<bool> wrote{false};
        TestApp t([&wrote](const ThinkRequest& request, ThinkControl& control) {
            control.ShowPaneText(request.sideToMove + 1, "読んでいます");
            wrote = true;
            return LowestLegalMove(request, control);
        });
        QThread* windowThread = QThread::currentThread();
        QList<QThread*> threads;
        QObject::connect(
            &t.view(), &CVellView::PaneTextChanged, &t.view(),
            [&threads](int, const QString&) { threads << QThread::currentThread(); },
            Qt::DirectConnection);
        t.view().StartGame();
        t.Tick();
        QTRY_VERIFY(wrote.load());
        QTRY_COMPARE(t.Pane(2), QStringLiteral("読んでいます"));
        for (QThread* thread : threads)
            QCOMPARE(thread, windowThread);
    }
};

QObject* MakeViewTest(QObject* parent) {
    auto* test = new ViewTest;
    test->setParent(parent);
    return test;
}

}  // namespace vell::testing

#include "view_test.moc"
