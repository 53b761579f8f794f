#include <atomic>
#include <fstream>
#include <map>

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QThread>
#include <QtTest>

#include "core/player_names.h"
#include "core/square_name.h"
#include "engine/game_review.h"
#include "shell/learning_chart_dialog.h"
#include "shell/move_list_dock.h"
#include "shell/review_dock.h"
#include "shell/review_graph.h"
#include "tests/shell/shell_test_classes.h"
#include "tests/shell/shell_test_support.h"

namespace vell::testing {

namespace {

// A think that waits until it is released (or stopped), then plays the lowest legal square.
struct HeldThink {
    std::shared_ptr<std::atomic<bool>> release = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<std::atomic<int>> hintType = std::make_shared<std::atomic<int>>(-1);
    ThinkFunction Function() const {
        return [release = release, hintType = hintType](const ThinkRequest& request,
                                                        ThinkControl& control) {
            hintType->store(request.settings[request.sideToMove]);
            while (!*release && !control.AbortRequested())
                QThread::msleep(1);
            if (control.AbortRequested()) return ThinkOutcome{ThinkAborted, -1, {}};
            return LowestLegalMove(request, control);
        };
    }
};

// Every file of a folder by name, with its bytes.
std::map<QString, QByteArray> FolderFiles(const QString& path) {
    std::map<QString, QByteArray> files;
    for (const QFileInfo& info : QDir(path).entryInfoList(QDir::Files)) {
        QFile file(info.filePath());
        if (file.open(QIODevice::ReadOnly)) files[info.fileName()] = file.readAll();
    }
    return files;
}

QAction* Named(CMainFrame& frame, const char* name) {
    return frame.findChild<QAction*>(QString::fromLatin1(name));
}

// Ticks until the hint's think has ended (a guard against hangs, not a timing check).
bool WaitForHint(TestApp& t) {
    for (int i = 0; i < 5000 && t.view().hintRunner().Busy(); ++i)
        QThread::msleep(1);
    t.Tick();
    return !t.view().hintRunner().Busy();
}

void WriteFile(const QString& path, const std::string& bytes) {
    std::ofstream out(path.toStdString(), std::ios::binary);
    out << bytes;
}

}  // namespace

class WindowFeaturesTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { ClearStoredSettings(); }

    // The click rules hold at the base size and at twice it: the board's left and top
    // edges belong to column and row 0, a point just left of or below the board is no square.
    // At the base size the board's corner lies half a cell in from the window's.
    void clicksMapThroughTheScale_data() {
        QTest::addColumn<int>("cell");
        QTest::addColumn<QPointF>("point");  // in pixels of the base size, scaled by cell / 32
        QTest::addColumn<int>("square");
        constexpr double edge = 16, end = edge + 8 * 32;
        for (int cell : {32, 64}) {
            const QByteArray scale = QByteArray::number(cell);
            QTest::newRow(scale + " left edge") << cell << QPointF(edge, edge + 3 * 32 + 5) << 3;
            QTest::newRow(scale + " 10 left of the board") << cell << QPointF(edge - 10, 100) << -1;
            QTest::newRow(scale + " top-left corner") << cell << QPointF(edge, edge) << 0;
            QTest::newRow(scale + " last pixel of h")
                << cell << QPointF(end - 0.1, end - 0.1) << 63;
            QTest::newRow(scale + " right of the board") << cell << QPointF(end, 100) << -1;
            QTest::newRow(scale + " below the board") << cell << QPointF(100, end) << -1;
            QTest::newRow(scale + " centre of e4")
                << cell << QPointF(edge + 4 * 32 + 16, edge + 3 * 32 + 16) << 35;
        }
    }
    void clicksMapThroughTheScale() {
        QFETCH(int, cell);
        QFETCH(QPointF, point);
        QFETCH(int, square);
        TestApp t;
        t.view().resize(QSize(SceneWidth, SceneHeight) * (cell / 32));
        QCOMPARE(t.view().geometry().Cell(), cell);
        const QPointF scaled = point * (cell / 32.0);
        QCOMPARE(t.view().geometry().SquareAt(scaled), square);
        // A screen of pixel ratio 2 shows the base size with 64-pixel cells, and a logical
        // point maps to the same square.
        const BoardGeometry sharp =
            BoardGeometry::Fit(QSize(SceneWidth, SceneHeight) * (cell / 32), 2.0);
        QCOMPARE(sharp.Cell(), cell * 2);
        QCOMPARE(sharp.SquareAt(scaled), square);

        // A real click plays there: white a person, on a legal square the move is made.
        t.app.store().WriteSetting(WhitePlayerSetting, HumanPlayer);
        t.view().StartGame();
        t.Tick();
        const int legal = LowestLegalSquare(t.flow().CurrentBoard(), White);
        QTest::mouseClick(&t.view(), Qt::LeftButton, Qt::NoModifier, SquareCentre(t.view(), legal));
        t.Tick();
        QCOMPARE(t.flow().History().moveCount, 1);
        QCOMPARE(t.flow().History().SquareOfMove(1), legal);
    }

    void theLargerSceneIsDrawnAtItsScale() {
        TestApp t;
        t.app.store().WriteSetting(WhitePlayerSetting, HumanPlayer);
        t.view().resize(QSize(SceneWidth, SceneHeight) * 2);
        t.view().StartGame();
        t.Tick();
        const QImage image = t.view().grab().toImage();
        const int legal = LowestLegalSquare(t.flow().CurrentBoard(), White);
        const QRect cell = t.view().geometry().CellRect(legal / 8, legal % 8);
        const QColor highlight(255, 192, 0);
        // The highlight leaves a two-pixel border at twice the size; a stone's centre is white.
        QCOMPARE(image.pixelColor(cell.left() + 2, cell.top() + 32), highlight);
        QVERIFY(image.pixelColor(cell.left() + 1, cell.top() + 32) != highlight);
        const QRect stone = t.view().geometry().CellRect(3, 3);
        QCOMPARE(image.pixelColor(stone.center()), QColor(255, 255, 255));
    }

    void hintMarksTheSquareAndWritesTheVerdict() {
        HeldThink think;
        *think.release = true;
        TestApp t(think.Function());
        t.app.store().WriteSetting(WhitePlayerSetting, HumanPlayer);
        QAction* hint = Named(t.frame(), "hintAction");
        QVERIFY(hint);
        QVERIFY(!hint->isEnabled());  // stopped: no person's turn
        t.view().StartGame();
        t.Tick();
        QVERIFY(hint->isEnabled());
        hint->trigger();
        QVERIFY(WaitForHint(t));
        const int expected = LowestLegalSquare(t.flow().CurrentBoard(), White);
        QCOMPARE(t.view().HintSquare(), expected);
        // The think's message carries no value: the square alone.
        QCOMPARE(t.Pane(2), QString::fromStdString(SquareName(expected)));
        QCOMPARE(think.hintType->load(), HintPlayerType);
        // Advice only: nothing is played.
        QCOMPARE(t.flow().History().moveCount, 0);
        QCOMPARE(t.flow().State(), FlowState::AwaitingMove);
        // The mark goes with the move.
        QTest::mouseClick(&t.view(), Qt::LeftButton, Qt::NoModifier,
                          SquareCentre(t.view(), expected));
        QCOMPARE(t.view().HintSquare(), -1);
    }

    void hintIsDroppedWhenThePositionChanges_data() {
        QTest::addColumn<QString>("change");
        QTest::newRow("a move") << "move";
        QTest::newRow("a pause") << "pause";
        QTest::newRow("navigation") << "navigate";
    }
    void hintIsDroppedWhenThePositionChanges() {
        QFETCH(QString, change);
        HeldThink think;
        TestApp t(think.Function());
        t.app.store().WriteSetting(WhitePlayerSetting, HumanPlayer);
        t.app.store().WriteSetting(BlackPlayerSetting, HumanPlayer);
        t.view().StartGame();
        t.Tick();
        if (change == "navigate") {
            // A move first, so there is somewhere to go back to.
            QVERIFY(t.flow().ClickSquare(LowestLegalSquare(t.flow().CurrentBoard(), White)));
            t.Tick();
        }
        const int ply = t.flow().History().currentPly;
        t.view().ShowHint();
        QVERIFY(t.view().hintRunner().Thinking());
        const int side = t.flow().SideToMove();
        QCOMPARE(t.Pane(side + 1), QStringLiteral("ヒントを考えています"));
        if (change == "move") {
            QVERIFY(t.flow().ClickSquare(LowestLegalSquare(t.flow().CurrentBoard(), side)));
            t.view().Tick();  // the dropped hint holds the move until its think has ended
        } else if (change == "pause") {
            t.view().PauseGame();
        } else {
            t.view().GoToPrevious();
        }
        QVERIFY(!t.view().hintRunner().Thinking());
        // The think sees its stop flag; had it answered, the answer would be dropped as well.
        *think.release = true;
        QVERIFY(WaitForHint(t));
        QCOMPARE(t.view().HintSquare(), -1);
        QVERIFY(t.Pane(side + 1) != QStringLiteral("lowest"));
        QCOMPARE(t.flow().History().moveCount, change == "move" ? ply + 1 : ply);
    }

    // The review reads a private copy of the game: history, board and files stay as they were;
    // its lines go to the position before their move as the move list would, and a move drops
    // it.
    void reviewLeavesTheGameAndNavigates() {
        TestApp t;
        t.app.store().WriteSetting(BlackPlayerSetting, Cpu1Player);
        t.app.store().WriteSetting(WhitePlayerSetting, Cpu1Player);
        t.app.store().WriteSetting(NormalDepthSetting, 2);
        t.app.store().WriteSetting(FinalDepthSetting, 4);
        t.view().StartGame();
        t.Tick();
        for (int i = 0; i < 6; ++i)
            QVERIFY(t.PlayComputerMove());
        t.view().PauseGame();
        t.app.store().WriteSetting(WhitePlayerSetting, HumanPlayer);
        t.Tick();
        // The think the pause stopped may still be winding down on a loaded machine.
        for (int i = 0; i < 20000 && t.flow().ThinkRunning(); ++i) {
            QThread::msleep(1);
            t.Tick();
        }
        const GameHistory before = t.flow().History();
        const Board board = t.flow().CurrentBoard();
        const auto files = FolderFiles(t.workDir.path());

        QAction* start = Named(t.frame(), "reviewGameAction");
        QVERIFY(start && start->isEnabled());
        start->trigger();
        auto* dock = t.frame().findChild<ReviewDock*>();
        QVERIFY(dock && dock->isVisible());
        // A guard against hangs, not a timing check.
        for (int i = 0; i < 20000 && !t.view().reviewRunner().Result(); ++i) {
            QThread::msleep(1);
            t.Tick();
        }
        const GameReview* review = t.view().reviewRunner().Result();
        QVERIFY(review);
        QCOMPARE(int(review->moves.size()), before.moveCount);
        QCOMPARE(dock->list()->count(), before.moveCount);
        const GameHistory& after = t.flow().History();
        QCOMPARE(after.moveCount, before.moveCount);
        QCOMPARE(after.currentPly, before.currentPly);
        for (int m = 0; m <= before.moveCount; ++m) {
            QCOMPARE(after.SquareOfMove(m), before.SquareOfMove(m));
            QVERIFY(after.boardAtPly[m] == before.boardAtPly[m]);
        }
        QVERIFY(t.flow().CurrentBoard() == board);
        QVERIFY(FolderFiles(t.workDir.path()) == files);

        dock->list()->setCurrentRow(2);
        QCOMPARE(after.currentPly, 2);
        QCOMPARE(dock->list()->currentRow(), 2);
        const MoveReview* shown = t.view().reviewRunner().ShownMove(t.flow());
        QVERIFY(shown && shown->moveNumber == 3);
        QVERIFY(shown->values[shown->best] != NoMove);
        t.view().GoToFirst();
        QCOMPARE(dock->list()->currentRow(), 0);

        // A person's move (white, from the last position) drops the review.
        t.view().GoToLast();
        t.view().StartGame();
        t.Tick();
        QCOMPARE(t.flow().SideToMove(), White);
        QCOMPARE(t.flow().State(), FlowState::AwaitingMove);
        QVERIFY(t.view().reviewRunner().Result());
        t.flow().ClickSquare(LowestLegalSquare(t.flow().CurrentBoard(), White));
        t.Tick();
        QVERIFY(!t.view().reviewRunner().Result());
        QCOMPARE(dock->list()->count(), 0);
    }

    // While a computer thinks (the next move may train the weights) no review starts.
    void reviewWaitsForTheComputersThink() {
        HeldThink think;
        TestApp t(think.Function());
        t.app.store().WriteSetting(BlackPlayerSetting, Cpu1Player);
        t.app.store().WriteSetting(WhitePlayerSetting, Cpu1Player);
        *think.release = true;
        t.view().StartGame();
        t.Tick();
        QVERIFY(t.PlayComputerMove());
        *think.release = false;
        for (int i = 0; i < 5000 && !t.flow().ThinkRunning(); ++i)
            t.Tick();
        QVERIFY(t.flow().ThinkRunning());
        QAction* start = Named(t.frame(), "reviewGameAction");
        QVERIFY(!start->isEnabled());
        t.view().ReviewGame();
        QVERIFY(!t.view().reviewRunner().Running() && !t.view().reviewRunner().Busy());
        *think.release = true;
    }

    // One curve from black's side over the move number: each position's two values (from
    // opposite sides) averaged, values past the board at its edge, marked moves on the curve,
    // and a click at a move's place choosing that move.
    void reviewGraphPlacesItsPoints() {
        GameReview review;
        // moveNumber, side, playedValue, bestValue (mover's side)
        const int rows[][4] = {{1, White, -2000, -2000},
                               {2, Black, 4000, 4000},
                               {3, White, -9000, -1000},
                               {4, Black, 300000, 300000}};
        for (const auto& row : rows) {
            MoveReview move;
            move.moveNumber = row[0];
            move.side = row[1];
            move.played = 8 + row[0];
            move.best = 16 + row[0];
            move.playedValue = row[2];
            move.bestValue = row[3];
            move.loss = row[3] - row[2];
            move.mark = MarkOfLoss(move.loss);
            review.moves.push_back(move);
        }
        ReviewGraph graph;
        graph.resize(400, 240);
        QSignalSpy chosen(&graph, &ReviewGraph::MoveChosen);
        graph.SetReview(&review, 1);
        const auto& points = graph.Points();
        QCOMPARE(int(points.size()), 5);
        // Black's tenths: start +2.0; after 1 (+2.0 +4.0)/2; after 2 (+4.0 +1.0)/2;
        // after 3 (+9.0 +300)/2 clamped; after 4 the board's edge.
        const int tenths[] = {20, 30, 25, 640, 640};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(points[i].tenths, tenths[i]);
        QCOMPARE(graph.Range(), 640);
        QCOMPARE(points[3].mark, ReviewMark::Mistake);
        QCOMPARE(points[3].text, QStringLiteral("3. b4 白 ?  損失 8.0石  最善 c4"));
        const QPointF start = graph.PointPosition(0), edge = graph.PointPosition(4);
        const double step = graph.PointPosition(1).x() - start.x();
        QVERIFY(step > 40);
        for (int i = 1; i < 5; ++i)
            QVERIFY(qAbs(graph.PointPosition(i).x() - start.x() - i * step) < 1e-6);
        // A straight scale, +64 stones at the top and -64 at the bottom, all inside.
        const double k = (start.y() - edge.y()) / 620;
        QVERIFY(k > 0);
        QVERIFY(qAbs(graph.PointPosition(1).y() - (start.y() - 10 * k)) < 1e-6);
        QVERIFY(qAbs(graph.PointPosition(2).y() - (start.y() - 5 * k)) < 1e-6);
        QVERIFY(edge.y() >= 0 && start.y() + 660 * k <= graph.height());
        graph.grab();  // draws without crashing
        QTest::mouseClick(&graph, Qt::LeftButton, Qt::NoModifier,
                          graph.PointPosition(3).toPoint() + QPoint(int(step / 3), 0));
        QTest::mouseClick(&graph, Qt::LeftButton, Qt::NoModifier, graph.PointPosition(0).toPoint());
        QCOMPARE(chosen.count(), 2);
        QCOMPARE(chosen[0][0].toInt(), 2);  // move 3
        QCOMPARE(chosen[1][0].toInt(), 0);  // before move 1: the first move
        // Within ten stones the axis spans ten.
        review.moves.resize(2);
        graph.SetReview(&review, -1);
        QCOMPARE(graph.Range(), 100);
        QCOMPARE(graph.Points().back().tenths, 40);
    }

    void moveListNavigatesLikeTheCommands() {
        HeldThink think;
        *think.release = true;
        TestApp t(think.Function());
        t.app.store().WriteSetting(BlackPlayerSetting, Cpu1Player);
        auto* dock = t.frame().findChild<MoveListDock*>();
        QVERIFY(dock);
        QListWidget* list = dock->list();
        t.view().StartGame();
        t.Tick();
        for (int i = 0; i < 4; ++i)
            QVERIFY(t.PlayComputerMove());
        t.view().PauseGame();
        const GameHistory& history = t.flow().History();
        QCOMPARE(list->count(), 5);
        QCOMPARE(list->item(0)->text(), QStringLiteral("開始局面"));
        const int first = history.SquareOfMove(1);
        // Squares by name: column letter, then row number.
        QCOMPARE(list->item(1)->text(),
                 QString::asprintf(" 1  o %c%c", 'a' + first / 8, '1' + first % 8));
        QCOMPARE(list->item(2)->text().mid(4, 1), QStringLiteral("x"));
        QCOMPARE(list->currentRow(), 4);

        // Stopped: any line goes there, and the marker frames the next move as GoToPrevious.
        list->setCurrentRow(2);
        QCOMPARE(history.currentPly, 2);
        QCOMPARE(t.flow().MarkerColumn() * 8 + t.flow().MarkerRow(), history.SquareOfMove(3));
        t.view().GoToFirst();
        QCOMPARE(list->currentRow(), 0);
        t.view().GoToLast();
        QCOMPARE(list->currentRow(), 4);

        // Playing on (a computer thinking): the start position only as GoToFirst allows it,
        // which is never while playing; another move as GoToPrevious would.
        *think.release = false;
        t.view().StartGame();
        // The think superseded by the pause ends first (a guard against hangs only).
        for (int i = 0; i < 5000 && t.flow().State() != FlowState::AwaitingMove; ++i) {
            QThread::msleep(1);
            t.Tick();
        }
        QCOMPARE(t.flow().State(), FlowState::AwaitingMove);
        list->setCurrentRow(0);
        QCOMPARE(history.currentPly, 4);
        QCOMPARE(list->currentRow(), 4);
        list->setCurrentRow(3);
        QCOMPARE(history.currentPly, 3);
        QCOMPARE(t.flow().State(), FlowState::Stopped);
        *think.release = true;
    }

    void chartReportsADamagedLog_data() {
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("entries");
        QTest::newRow("missing")
            << QByteArray()
            << QStringLiteral(
                   "Trainlog.txt "
                   "がありません。トレーニングを有効にして対局すると、学習の経過がここに"
                   "表示されます。")
            << 0;
        QTest::newRow("empty") << QByteArray("")
                               << QStringLiteral("Trainlog.txt にはまだ記録がありません。") << 0;
        QTest::newRow("two good lines, a torn one and garbage")
            << QByteArray(
                   "        0 10.500000 -> 9.250000(-1.250000)\n"
                   "        1 9.000000 -> 8.000000(-1.000000)\r\n"
                   "\xff\xfe\x01garbage\n"
                   "        2 8.500000 -> 7.0")
            << QStringLiteral(
                   "2 局分の学習を表示しています。\n壊れた 2 行(最初は 3 行目)を読み飛ばしました。")
            << 2;
        QTest::newRow("random bytes only")
            << QByteArray("\x01\x02\x03\n\x80\x81 -> nan(nan)\n", 18)
            << QStringLiteral("Trainlog.txt を読めません。1 行目から形式が違います。") << 0;
    }
    void chartReportsADamagedLog() {
        QFETCH(QByteArray, log);
        QFETCH(QString, message);
        QFETCH(int, entries);
        QTemporaryDir dir;
        const bool present = !QByteArray(QTest::currentDataTag()).startsWith("missing");
        if (present) WriteFile(dir.filePath("Trainlog.txt"), log.toStdString());
        WriteFile(dir.filePath("learncurve.txt"), "games=0 holdout_error=9.5\ngames=x\n");
        LearningChartDialog chart(dir.path().toStdString());
        QSignalSpy refreshed(&chart, &LearningChartDialog::Refreshed);
        QVERIFY(refreshed.wait(10000));
        QCOMPARE(
            chart.Message(),
            message + QStringLiteral("\nlearncurve.txt の 1 行を読み飛ばしました。\n"
                                     "検証用の対局での同梱の重みの誤差は 135.50 です。"
                                     "トレーニングすると、いまの重みの誤差を並べて示します。"));
        QCOMPARE(int(chart.Data().training.entries.size()), entries);
        QCOMPARE(int(chart.Data().curve.entries.size()), 1);
        chart.resize(640, 400);
        chart.grab();  // draws without crashing whatever was read

        // The chart follows the log as training appends to it.
        WriteFile(dir.filePath("Trainlog.txt"), "        0 10.000000 -> 9.000000(-1.000000)\n");
        chart.Reload();
        QVERIFY(refreshed.wait(10000));
        QCOMPARE(int(chart.Data().training.entries.size()), 1);
    }

    // The held-out figures of the weights in use go to the passes that made them; passes that
    // hardly move the weights are said to, instead of drawing two coinciding lines.
    void chartPlacesTheHeldOutFigures() {
        QTemporaryDir dir;
        WriteFile(dir.filePath("Trainlog.txt"),
                  "        0 10.000000 -> 9.000000(-1.000000)\n"
                  "        1 9.000000 -> 8.000000(-1.000000)\n"
                  "        2 8.500000 -> 8.000000(-0.500000)\n");
        WriteFile(dir.filePath("Holdoutlog.txt"),
                  "games=0 error=150.5 key=1\n"
                  "games=2 error=140.25 key=2\n"
                  "games=99 error=1 key=3\n"
                  "games=3 error=139 key=4\n");
        LearningChartDialog chart(dir.path().toStdString());
        QSignalSpy refreshed(&chart, &LearningChartDialog::Refreshed);
        QVERIFY(refreshed.wait(10000));
        QCOMPARE(HoldoutPlaces(chart.Data()), (std::vector<int>{0, 2, -1, 3}));
        QCOMPARE(chart.Message(),
                 QStringLiteral(
                     "3 局分の学習を表示しています。\n"
                     "検証用の対局での誤差: いまの重み 139.00(3 局学習)、同梱の重み 135.50。"));
        chart.resize(640, 400);
        chart.grab();

        WriteFile(dir.filePath("Trainlog.txt"), "   400000 135.000000 -> 135.000000(0.000000)\n");
        QFile::remove(dir.filePath("Holdoutlog.txt"));
        chart.Reload();
        QVERIFY(refreshed.wait(10000));
        QVERIFY(chart.Data().PassesCoincide());
        QVERIFY(chart.Message().endsWith(
            QStringLiteral("学習前と学習後の誤差の差は 0.0% しかありません。いまの重みは 400001 "
                           "局分の学習の平均で、1 局の学習ではほとんど動かないため、"
                           "学習後の線だけを描いています。")));
        chart.grab();
    }
};

QObject* MakeWindowFeaturesTest(QObject* parent) {
    auto* test = new WindowFeaturesTest;
    test->setParent(parent);
    return test;
}

}  // namespace vell::testing

#include "window_features_test.moc"
