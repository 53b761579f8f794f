#include <QFile>
#include <QtTest>

#include "core/history.h"
#include "core/settings.h"
#include "tests/shell/shell_test_classes.h"
#include "tests/shell/shell_test_support.h"

namespace vell::testing {

namespace {

QByteArray ReadAll(const QString& file) {
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

bool WriteAll(const QString& file, const QByteArray& bytes) {
    QFile out(file);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size();
}

// A started program in which both players are the computer and `moves` moves have been made.
void PlayMoves(TestApp& t, int moves) {
    t.app.store().WriteSetting(BlackPlayerSetting, 1);
    t.view().StartGame();
    for (int m = 0; m < moves; ++m)
        QVERIFY(t.PlayComputerMove());
    t.view().PauseGame();
}

}  // namespace

class DocumentTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { ClearStoredSettings(); }

    void saveWritesTheDiagramAndLaterSavesReuseTheFile() {
        TestApp t;
        PlayMoves(t, 3);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("record.txt"));
        QVERIFY(t.app.SaveDocumentAs(file));
        const QByteArray first = ReadAll(file);
        QCOMPARE(first.size(), 208);
        QCOMPARE(first.toStdString(), GameRecordText(t.flow().History()));
        QCOMPARE(t.frame().windowTitle(), QStringLiteral("record.txt - Vell"));

        // Going back does not shorten the record; Ctrl+S rewrites the same file, no dialog.
        t.view().GoToFirst();
        t.view().StartGame();
        QVERIFY(t.PlayComputerMove());  // cuts the history to one move
        t.view().PauseGame();
        t.frame().CommandAction(Command::Save)->trigger();
        const QByteArray second = ReadAll(file);
        QCOMPARE(second.toStdString(), GameRecordText(t.flow().History()));
        QVERIFY(second != first);

        // Ctrl+N forgets the file and starts a new game from the start position.
        t.frame().CommandAction(Command::New)->trigger();
        QCOMPARE(t.frame().windowTitle(), QStringLiteral("無題 - Vell"));
        QCOMPARE(t.flow().History().moveCount, 0);
        QVERIFY(t.flow().CurrentBoard() == StartPosition());
        QCOMPARE(t.flow().State(), FlowState::StartTurn);
    }

    void failedSaveReportsAndKeepsTheOldFile() {
        TestApp t;
        PlayMoves(t, 2);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("record.txt"));
        QVERIFY(t.app.SaveDocumentAs(file));
        const QByteArray saved = ReadAll(file);
        const QString nowhere = dir.filePath(QStringLiteral("missing/record.txt"));
        {
            MessageBoxCloser closer;
            QVERIFY(!t.app.SaveDocumentAs(nowhere));
            QCOMPARE(closer.texts.size(), 1);
            QVERIFY(closer.texts[0].startsWith(nowhere +
                                               QStringLiteral(" に保存できませんでした。\n")));
            QVERIFY(closer.texts[0].size() >
                    (nowhere + QStringLiteral(" に保存できませんでした。\n")).size());
        }
        // The document still names the file that was saved.
        QCOMPARE(t.frame().windowTitle(), QStringLiteral("record.txt - Vell"));
        QCOMPARE(ReadAll(file), saved);
    }

    void openReplaysTheRecordAtItsFirstPosition() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("record.txt"));
        GameHistory saved;
        {
            TestApp first;
            PlayMoves(first, 12);
            QVERIFY(first.app.SaveDocumentAs(file));
            saved = first.flow().History();
        }
        TestApp t;
        PlayMoves(t, 1);
        QVERIFY(t.app.OpenDocument(file));
        const GameHistory& h = t.flow().History();
        QCOMPARE(h.moveCount, 12);
        QCOMPARE(h.currentPly, 0);
        for (int m = 1; m <= 12; ++m) {
            QCOMPARE(h.SquareOfMove(m), saved.SquareOfMove(m));
            QCOMPARE(h.sideAtPly[m - 1], saved.sideAtPly[m - 1]);
        }
        QVERIFY(t.flow().CurrentBoard() == StartPosition());
        QCOMPARE(t.flow().State(), FlowState::Stopped);
        QCOMPARE(t.frame().windowTitle(), QStringLiteral("record.txt - Vell"));
        // The marker shows the first recorded move; stepping to the end shows the last board.
        QCOMPARE(t.flow().MarkerColumn() * 8 + t.flow().MarkerRow(), saved.SquareOfMove(1));
        t.view().GoToLast();
        QVERIFY(t.flow().CurrentBoard() == saved.boardAtPly[12]);
        // Saving again writes the same game back.
        t.frame().CommandAction(Command::Save)->trigger();
        QCOMPARE(ReadAll(file).toStdString(), GameRecordText(saved));
    }

    void fileThatIsNoRecordChangesNothing_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QByteArray start;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                const int s = x * 8 + y;
                start += s == 27 || s == 36 ? "o  " : s == 28 || s == 35 ? "x  " : "-  ";
            }
            start += "\r\n";
        }
        QTest::newRow("empty file") << QByteArray() << QStringLiteral("棋譜の形になっていません");
        QTest::newRow("large file")
            << QByteArray(100000, 'x') << QStringLiteral("棋譜の形になっていません");
        QByteArray badCell = start;
        badCell.replace(26 * 6 + 5 * 3, 3, "q  ");
        QTest::newRow("unknown letter")
            << badCell << QStringLiteral("6 列 7 行のマスが読めません。");
        QByteArray illegal = start;
        illegal.replace(0, 3, "o1 ");
        QTest::newRow("illegal first move")
            << illegal << QStringLiteral("1 手目は打てない手です。");
    }
    void fileThatIsNoRecordChangesNothing() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("bad.txt"));
        QVERIFY(WriteAll(file, bytes));
        TestApp t;
        PlayMoves(t, 2);
        const GameHistory before = t.flow().History();
        MessageBoxCloser closer;
        QVERIFY(!t.app.OpenDocument(file));
        QCOMPARE(closer.texts.size(), 1);
        QVERIFY2(
            closer.texts[0].startsWith(file + QStringLiteral(" は棋譜ファイルではありません。\n")),
            qPrintable(closer.texts[0]));
        QVERIFY2(closer.texts[0].contains(reason), qPrintable(closer.texts[0]));
        QCOMPARE(t.flow().History().moveCount, before.moveCount);
        QCOMPARE(t.flow().History().currentPly, before.currentPly);
        QCOMPARE(t.frame().windowTitle(), QStringLiteral("無題 - Vell"));
        QCOMPARE(ReadAll(file), bytes);
    }
};

QObject* MakeDocumentTest(QObject* parent) {
    auto* test = new DocumentTest;
    test->setParent(parent);
    return test;
}

}  // namespace vell::testing

#include "document_test.moc"
