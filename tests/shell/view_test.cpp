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

    // Points are given in cells from the board's top-left corner plus pixels.
    void clicksInAPersonsTurn_data() {
        QTest::addColumn<QPointF>("cells");
        QTest::addColumn<QPointF>("pixels");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("applied");
        QTest::addColumn<QString>("pane");
        const int legal = LowestLegalSquare(StartPosition(), White);
        const QPointF legalCorner(legal / 8, legal % 8);
        const QPointF centre(0.5, 0.5);
        const QString turn = QStringLiteral("白の番です。");
        const QString refused = QStringLiteral("打てませんよ。");
        QTest::newRow("legal square")
            << legalCorner + centre << QPointF() << int(Qt::LeftButton) << true << turn;
        QTest::newRow("legal square, its corner pixel")
            << legalCorner << QPointF() << int(Qt::LeftButton) << true << turn;
        QTest::newRow("occupied square")
            << QPointF(3, 3) + centre << QPointF() << int(Qt::LeftButton) << false << refused;
        QTest::newRow("square that turns nothing")
            << centre << QPointF() << int(Qt::LeftButton) << false << refused;
        QTest::newRow("exactly on the left edge lands in column 0")
            << QPointF(0, 3) << QPointF(0, 5) << int(Qt::LeftButton) << false << refused;
        QTest::newRow("10 pixels left of the board is ignored")
            << QPointF(0, 3) << QPointF(-10, 5) << int(Qt::LeftButton) << false << turn;
        QTest::newRow("below the board is ignored")
            << QPointF(0, 8) << QPointF(5, 0) << int(Qt::LeftButton) << false << turn;
        QTest::newRow("right button is ignored")
            << legalCorner + centre << QPointF() << int(Qt::RightButton) << false << turn;
    }
    void clicksInAPersonsTurn() {
        QFETCH(QPointF, cells);
        QFETCH(QPointF, pixels);
        QFETCH(int, button);
        QFETCH(bool, applied);
        QFETCH(QString, pane);
        TestApp t;
        t.app.store().WriteSetting(WhitePlayerSetting, HumanPlayer);
        t.view().StartGame();
        t.Tick();
        QCOMPARE(t.flow().State(), FlowState::AwaitingMove);
        const Board before = t.flow().CurrentBoard();

        const QPoint point = BoardPoint(t.view(), cells, pixels);
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
                          SquareCentre(t.view(), LowestLegalSquare(StartPosition(), White)));
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
        const int line = t.view().geometry().Line();
        for (int s = 0; s < 64; ++s) {
            const QRect cell = SquareRect(t.view(), s);
            const int left = cell.left(), top = cell.top(), middle = cell.height() / 2;
            if (legal[s]) {
                QCOMPARE(PixelAt(image, left + line, top + line), highlight);
                QCOMPARE(PixelAt(image, cell.right() - line, cell.bottom() - line), highlight);
                QCOMPARE(PixelAt(image, left + middle, top + middle), highlight);
                // The one-pixel border of the cell underneath still shows.
                QVERIFY(PixelAt(image, left, top + middle) != highlight);
                QVERIFY(PixelAt(image, cell.right(), top + middle) != highlight);
            } else if (t.flow().CurrentBoard()[s] == Empty) {
                QCOMPARE(PixelAt(image, left + line + 2, top + line + 2), green);
            }
            const bool marked = s == whiteMove;
            QCOMPARE(PixelAt(image, left, top + middle) == yellow, marked);
            QCOMPARE(PixelAt(image, cell.right(), top + 1) == yellow, marked);
        }

        // Paused, no square is highlighted; the marker stays.
        t.view().PauseGame();
        const QImage paused = t.view().grab().toImage();
        for (int s = 0; s < 64; ++s)
            QVERIFY(PixelAt(paused, SquareRect(t.view(), s).center().x(),
                            SquareRect(t.view(), s).center().y()) != highlight);
        const QRect marked = SquareRect(t.view(), whiteMove);
        QCOMPARE(PixelAt(paused, marked.left(), marked.center().y()), yellow);
    }

    void countsAreDrawnBesideTheBoard() {
        TestApp t;
        const QImage image = t.view().grab().toImage();
        const BoardGeometry& geometry = t.view().geometry();
        // Each count's stone and text pixels in the count colour after it.
        for (int side : {Black, White}) {
            const QRect stone = geometry.CountStoneRect(side);
            QVERIFY(geometry.BoardRect().right() < stone.left());
            QCOMPARE(PixelAt(image, stone.center().x(), stone.center().y()),
                     side == Black ? QColor(0, 0, 0) : QColor(255, 255, 255));
            const QRect text = geometry.CountTextRect(side);
            QVERIFY(image.rect().contains(text));
            int textPixels = 0, digitPixels = 0;
            for (int y = text.top(); y <= text.bottom(); ++y)
                for (int x = text.left(); x <= text.right(); ++x) {
                    if (PixelAt(image, x, y) != QColor(127, 255, 127)) continue;
                    ++textPixels;
                    // "%2d" puts a single-digit count in the second half-width place.
                    if (x < text.left() + geometry.Cell() / 2) ++digitPixels;
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
