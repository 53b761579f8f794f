#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>
#include <QtTest>

#include "core/settings.h"
#include "shell/settings_store.h"
#include "tests/shell/shell_test_classes.h"
#include "tests/shell/shell_test_support.h"

namespace vell::testing {

class StartupTest : public QObject {
    Q_OBJECT

    // Computer moves until the first game is counted as finished.
    static void PlayFirstGameToItsEnd(TestApp& t) {
        int moves = 0;
        while (StoredValue(GamesPlayedSetting).toInt() == 0) {
            QVERIFY2(t.PlayComputerMove(), "the game stalled");
            QVERIFY(++moves <= 60);
        }
    }

  private Q_SLOTS:
    void init() { ClearStoredSettings(); }

    void firstStartGivesTheDefaultsAndWritesNothing() {
        TestApp t;
        QVERIFY(t.started);
        const Settings expected = {0, 1, 0, 7, 13, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        QVERIFY(t.app.settings() == expected);
        QVERIFY(StoredKeys().isEmpty());
        QCOMPARE(t.frame().windowTitle(), QStringLiteral("無題 - Vell"));
        QVERIFY(t.frame().isVisible());
        // The working folder has no weight4.dat: that is said once, without a box.
        QVERIFY2(t.frame().statusBar()->currentMessage().contains(
                     QStringLiteral("weight4.dat がありません。")),
                 qPrintable(t.frame().statusBar()->currentMessage()));
        // ... over the status bar's own line, which is hidden while it shows.
        for (auto* label : t.frame().statusBar()->findChildren<QLabel*>())
            QVERIFY(!label->isVisible() || !label->text().contains(QStringLiteral("Version")));
        t.Tick();
        QCOMPARE(t.Pane(0), QStringLiteral("停止"));
    }

    void storedValuesAreRead_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("normal depth") << 3 << QVariant(12) << 12;
        QTest::newRow("training on") << 5 << QVariant(1) << 1;
        QTest::newRow("games played, large") << 2 << QVariant(123456) << 123456;
        QTest::newRow("player type out of range is kept") << 0 << QVariant(9) << 9;
        QTest::newRow("negative value is kept") << 4 << QVariant(-3) << -3;
        QTest::newRow("text that is no number gives the default") << 4 << QVariant("deep") << 13;
        QTest::newRow("unused entry") << 15 << QVariant(77) << 77;
    }
    void storedValuesAreRead() {
        QFETCH(int, index);
        QFETCH(QVariant, stored);
        QFETCH(int, expected);
        StoreValue(index, stored);
        TestApp t;
        QCOMPARE(t.app.settings()[index], expected);
        for (int i = 0; i < SettingCount; ++i)
            if (i != index) QCOMPARE(t.app.settings()[i], DefaultSettings[i]);
    }

    void failedSettingsWriteIsReportedOnce() {
        // The settings file cannot be written where a folder of its name stands.
        const QString file =
            QSettings(QStringLiteral("TolvaSoftware"), QStringLiteral("Tamu3")).fileName();
        QFile::remove(file);
        QVERIFY(QDir().mkpath(file));
        {
            TestApp t;
            MessageBoxCloser closer;
            t.app.store().WriteSetting(GamesPlayedSetting, 5);
            t.app.store().WriteSetting(GamesPlayedSetting, 6);
            QCOMPARE(closer.texts, QStringList{QStringLiteral("設定を保存できませんでした。")});
            QCOMPARE(t.app.settings()[GamesPlayedSetting], 6);
        }
        QVERIFY(QDir(file).removeRecursively());
    }

    void writeSettingReachesTheStoreAtOnce() {
        TestApp t;
        t.app.store().WriteSetting(GamesPlayedSetting, 5);
        QCOMPARE(t.app.settings()[GamesPlayedSetting], 5);
        QCOMPARE(StoredValue(GamesPlayedSetting).toInt(), 5);
        QCOMPARE(StoredKeys(), QStringList{QStringLiteral("Config2")});
    }

    void finishedGamesAreCountedAcrossRestarts() {
        for (int game = 1; game <= 2; ++game) {
            TestApp t;
            t.app.store().WriteSetting(BlackPlayerSetting, 1);  // two computer players
            t.view().StartGame();
            int moves = 0;
            while (t.flow().State() != FlowState::Stopped) {
                QVERIFY2(t.PlayComputerMove() || t.flow().State() == FlowState::Stopped,
                         "the game stalled");
                QVERIFY(++moves <= 60);
            }
            QCOMPARE(t.Pane(0), QStringLiteral("終了"));
            QCOMPARE(StoredValue(GamesPlayedSetting).toInt(), game);
            QFile log(t.workDir.filePath(QStringLiteral("vellkif.txt")));
            QVERIFY(log.open(QIODevice::ReadOnly));
            QVERIFY(log.readAll().contains("CPU-1"));
        }
    }

    void trainingLearnsFromEachGameAndStartsTheNext() {
        TestApp t;
        t.app.store().WriteSetting(BlackPlayerSetting, 1);
        t.app.store().WriteSetting(TrainingModeSetting, 1);
        t.view().StartGame();
        PlayFirstGameToItsEnd(t);
        if (QTest::currentTestFailed()) return;
        // The trained weights and the log line are written; the next game is under way.
        QCOMPARE(QFileInfo(t.workDir.filePath(QStringLiteral("weight2.dat"))).size(), 334856);
        QFile log(t.workDir.filePath(QStringLiteral("Trainlog.txt")));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll().count('\n'), 1);
        QVERIFY(t.flow().CurrentBoard() == StartPosition());
        QCOMPARE(t.flow().State(), FlowState::StartTurn);
        QVERIFY(t.PlayComputerMove());
        QCOMPARE(t.flow().History().moveCount, 1);
    }

    // Beside another program that writes the working folder, the window says so once and plays,
    // but writes nothing there: no game log, no training, no adoption.
    void besideAnotherWriterTheWindowPlaysAndWritesNothing() {
        MessageBoxCloser closer;
        TestApp t(LowestLegalMove, QString(), "vellcli selfplay");
        QVERIFY(t.started);
        QCOMPARE(closer.texts.size(), 1);
        QVERIFY2(closer.texts[0].contains(QStringLiteral(" には vellcli selfplay (pid ")),
                 qPrintable(closer.texts[0]));
        t.app.store().WriteSetting(BlackPlayerSetting, 1);
        t.app.store().WriteSetting(WhitePlayerSetting, 1);
        t.app.store().WriteSetting(TrainingModeSetting, 1);
        t.view().StartGame();
        PlayFirstGameToItsEnd(t);
        if (QTest::currentTestFailed()) return;
        Q_EMIT t.frame().AdoptWeightsRequested();
        QCOMPARE(closer.texts.size(), 2);
        QCOMPARE(closer.texts[1],
                 QStringLiteral("作業フォルダには別のプログラムが書き込んでいます。"
                                "重みは入れ替えられません。"));
        QCOMPARE(QDir(t.workDir.path()).entryList(QDir::Files), QStringList{"vell.lock"});
    }

    void documentThatCannotBeOpenedStopsTheStart() {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("no-such-record.txt"));
        TestApp t(LowestLegalMove, missing);
        QVERIFY(!t.started);
        QVERIFY(t.error.contains(missing));
        QVERIFY(!t.frame().isVisible());
    }

    void documentOnTheCommandLineIsOpened() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("game.txt"));
        {
            TestApp first;
            first.app.store().WriteSetting(WhitePlayerSetting, 1);
            first.view().StartGame();
            QVERIFY(first.PlayComputerMove());
            QVERIFY(first.app.SaveDocumentAs(file));
        }
        TestApp t(LowestLegalMove, file);
        QVERIFY2(t.started, qPrintable(t.error));
        QCOMPARE(t.flow().History().moveCount, 1);
        QCOMPARE(t.frame().windowTitle(), QStringLiteral("game.txt - Vell"));
    }
};

QObject* MakeStartupTest(QObject* parent) {
    auto* test = new StartupTest;
    test->setParent(parent);
    return test;
}

}  // namespace vell::testing

#include "startup_test.moc"
