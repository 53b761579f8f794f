#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include <functional>

#include "core/settings.h"
#include "shell/players_dialog.h"
#include "shell/strength_levels.h"
#include "tests/shell/shell_test_classes.h"
#include "tests/shell/shell_test_support.h"

namespace vell::testing {

namespace {

template <class T>
T* Control(QDialog* dialog, const char* name) {
    return dialog->findChild<T*>(QString::fromLatin1(name));
}

// Runs `act` on the players dialog once the view has opened it, then lets the view finish.
void WithPlayersDialog(TestApp& t, std::function<void(CPlayersDialog*)> act) {
    bool acted = false;
    QTimer::singleShot(0, &t.view(), [&] {
        auto* dialog = qobject_cast<CPlayersDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        acted = true;
        act(dialog);
        if (dialog->isVisible()) dialog->reject();
    });
    t.frame().CommandAction(Command::Players)->trigger();
    QVERIFY(acted);
}

void SetDepthText(QSpinBox* edit, const QString& text) {
    edit->selectAll();
    edit->clear();
    QTest::keyClicks(edit, text);
}

}  // namespace

class PlayersDialogTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { ClearStoredSettings(); }

    void dialogShowsTheSettings() {
        CPlayersDialog dialog(Settings{3, 4, 0, 9, 17, 1, 0});
        QCOMPARE(dialog.windowTitle(), QStringLiteral("ﾀﾞｲｱﾛｸﾞ"));
        auto* black = Control<QListWidget>(&dialog, "blackList");
        QCOMPARE(black->count(), 5);
        QStringList names;
        for (int i = 0; i < black->count(); ++i)
            names << black->item(i)->text();
        QCOMPARE(names, (QStringList{"Human", "CPU-1", "CPU-PAT1", "CPU-PAT2", "CPU-1-2"}));
        QCOMPARE(black->currentRow(), 3);
        QCOMPARE(Control<QListWidget>(&dialog, "whiteList")->currentRow(), 4);
        QVERIFY(Control<QCheckBox>(&dialog, "trainingCheck")->isChecked());
        QVERIFY(!Control<QCheckBox>(&dialog, "openingModeCheck")->isChecked());
        QCOMPARE(Control<QCheckBox>(&dialog, "trainingCheck")->text(),
                 QStringLiteral("トレーニング"));
        QCOMPARE(Control<QCheckBox>(&dialog, "openingModeCheck")->text(),
                 QStringLiteral("定石モード"));
        QCOMPARE(Control<QSpinBox>(&dialog, "normalDepthEdit")->value(), 9);
        QCOMPARE(Control<QSpinBox>(&dialog, "finalDepthEdit")->value(), 17);
        QCOMPARE(Control<QPushButton>(&dialog, "cancelButton")->text(), QStringLiteral("ｷｬﾝｾﾙ"));
    }

    void okWritesAllSixteenSettings() {
        TestApp t;
        WithPlayersDialog(t, [](CPlayersDialog* dialog) {
            QTest::mouseClick(Control<QPushButton>(dialog, "okButton"), Qt::LeftButton);
        });
        QCOMPARE(StoredKeys().size(), 16);
        for (int i = 0; i < SettingCount; ++i)
            QCOMPARE(StoredValue(i).toInt(), DefaultSettings[i]);
    }

    void okStoresTheChoices() {
        TestApp t;
        WithPlayersDialog(t, [](CPlayersDialog* dialog) {
            Control<QListWidget>(dialog, "blackList")->setCurrentRow(3);  // "CPU-PAT2"
            Control<QListWidget>(dialog, "whiteList")->setCurrentRow(0);
            Control<QCheckBox>(dialog, "trainingCheck")->click();
            Control<QCheckBox>(dialog, "openingModeCheck")->click();
            SetDepthText(Control<QSpinBox>(dialog, "normalDepthEdit"), "20");
            SetDepthText(Control<QSpinBox>(dialog, "finalDepthEdit"), "30");
            QSpinBox* moveTime = Control<QSpinBox>(dialog, "moveTimeEdit");
            QCOMPARE(moveTime->text(), QStringLiteral("なし"));  // off by default
            moveTime->setValue(5);
            QCOMPARE(moveTime->text(), QStringLiteral("5 秒"));
            QTest::mouseClick(Control<QPushButton>(dialog, "okButton"), Qt::LeftButton);
        });
        const Settings expected = {3, 0, 0, 20, 30, 1, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0};
        QVERIFY(t.app.settings() == expected);
        for (int i = 0; i < SettingCount; ++i)
            QCOMPARE(StoredValue(i).toInt(), expected[i]);
    }

    void cancelWritesNothing() {
        TestApp t;
        WithPlayersDialog(t, [](CPlayersDialog* dialog) {
            Control<QListWidget>(dialog, "blackList")->setCurrentRow(2);
            Control<QListWidget>(dialog, "whiteList")->setCurrentRow(4);
            Control<QCheckBox>(dialog, "trainingCheck")->click();
            Control<QCheckBox>(dialog, "openingModeCheck")->click();
            SetDepthText(Control<QSpinBox>(dialog, "normalDepthEdit"), "3");
            SetDepthText(Control<QSpinBox>(dialog, "finalDepthEdit"), "4");
            QTest::mouseClick(Control<QPushButton>(dialog, "cancelButton"), Qt::LeftButton);
        });
        QVERIFY(t.app.settings() == DefaultSettings);
        QVERIFY(StoredKeys().isEmpty());
    }

    // The boxes take only whole numbers in their ranges: a key that would leave the range is
    // refused, and an emptied box is refused on OK with the message.
    void depthsAreChecked_data() {
        QTest::addColumn<QString>("normal");  // typed
        QTest::addColumn<QString>("final");
        QTest::addColumn<QString>("message");  // empty when OK is taken
        QTest::addColumn<int>("normalTaken");
        QTest::addColumn<int>("finalTaken");
        const QString notANumber = QStringLiteral("整数を入力してください。");
        QTest::newRow("normal 0 cannot be typed") << "0"
                                                  << "13" << notANumber << 0 << 0;
        QTest::newRow("normal 21 stops at 2") << "21"
                                              << "13" << QString() << 2 << 13;
        QTest::newRow("normal 1") << "1"
                                  << "13" << QString() << 1 << 13;
        QTest::newRow("normal 20") << "20"
                                   << "13" << QString() << 20 << 13;
        QTest::newRow("final 31 stops at 3") << "7"
                                             << "31" << QString() << 7 << 3;
        QTest::newRow("final 0 cannot be typed") << "7"
                                                 << "0" << notANumber << 0 << 0;
        QTest::newRow("final 30") << "7"
                                  << "30" << QString() << 7 << 30;
        QTest::newRow("normal empty") << ""
                                      << "13" << notANumber << 0 << 0;
        QTest::newRow("letters cannot be typed") << "x"
                                                 << "13" << notANumber << 0 << 0;
    }
    void depthsAreChecked() {
        QFETCH(QString, normal);
        QFETCH(QString, final);
        QFETCH(QString, message);
        QFETCH(int, normalTaken);
        QFETCH(int, finalTaken);
        CPlayersDialog dialog(DefaultSettings);
        dialog.show();
        auto* normalEdit = Control<QSpinBox>(&dialog, "normalDepthEdit");
        QCOMPARE(normalEdit->minimum(), 1);
        QCOMPARE(normalEdit->maximum(), 20);
        QCOMPARE(Control<QSpinBox>(&dialog, "finalDepthEdit")->maximum(), 30);
        SetDepthText(normalEdit, normal);
        SetDepthText(Control<QSpinBox>(&dialog, "finalDepthEdit"), final);
        MessageBoxCloser closer;
        QTest::mouseClick(Control<QPushButton>(&dialog, "okButton"), Qt::LeftButton);
        if (message.isEmpty()) {
            QVERIFY(closer.texts.isEmpty());
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(dialog.Values()[NormalDepthSetting], normalTaken);
            QCOMPARE(dialog.Values()[FinalDepthSetting], finalTaken);
        } else {
            QCOMPARE(closer.texts, QStringList{message});
            QCOMPARE(closer.captions, QStringList{QStringLiteral("Tamu3")});
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.Values()[NormalDepthSetting], DefaultSettings[NormalDepthSetting]);
        }
    }

    // A named strength gives the computer side its type and both depths; any other setting
    // shows as the user's own, and the player types' lines stand in the dialog.
    void strengthChoiceSetsTheComputer() {
        CPlayersDialog dialog(DefaultSettings);  // black a person, white CPU-1 at 7 and 13
        auto* choice = Control<QComboBox>(&dialog, "strengthChoice");
        auto* seconds = Control<QLabel>(&dialog, "secondsLabel");
        QCOMPARE(choice->currentText(), QStringLiteral("自分で設定"));
        QCOMPARE(seconds->text(), QStringLiteral("1手の時間: 目安なし"));
        QVERIFY(Control<QLabel>(&dialog, "playerTypeLines")
                    ->text()
                    .contains(QStringLiteral("CPU-1-2: でたらめな評価で打ちます。")));
        Q_EMIT choice->activated(3);
        QCOMPARE(choice->currentText(), QStringLiteral("上級"));
        QVERIFY(seconds->text().startsWith(QStringLiteral("1手 ")));
        auto* normal = Control<QSpinBox>(&dialog, "normalDepthEdit");
        QCOMPARE(normal->value(), StrengthLevels[3].normalDepth);
        QCOMPARE(Control<QSpinBox>(&dialog, "finalDepthEdit")->value(),
                 StrengthLevels[3].finalDepth);
        QCOMPARE(dialog.Values()[WhitePlayerSetting], StrengthLevels[3].playerType);
        QCOMPARE(dialog.Values()[BlackPlayerSetting], HumanPlayer);
        normal->setValue(normal->value() + 1);
        QCOMPARE(choice->currentText(), QStringLiteral("自分で設定"));
        // With no computer at all, the level makes white one.
        Control<QListWidget>(&dialog, "whiteList")->setCurrentRow(HumanPlayer);
        Q_EMIT choice->activated(0);
        QCOMPARE(dialog.Values()[WhitePlayerSetting], StrengthLevels[0].playerType);
        QCOMPARE(dialog.Values()[BlackPlayerSetting], HumanPlayer);
    }

    void arrowsStepTheDepth_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        QTest::newRow("up raises") << int(Qt::Key_Up) << 8;
        QTest::newRow("down lowers") << int(Qt::Key_Down) << 6;
    }
    void arrowsStepTheDepth() {
        QFETCH(int, key);
        QFETCH(int, expected);
        CPlayersDialog dialog(DefaultSettings);
        dialog.show();
        auto* edit = Control<QSpinBox>(&dialog, "normalDepthEdit");
        QCOMPARE(edit->value(), 7);
        QTest::keyClick(edit, Qt::Key(key));
        QCOMPARE(edit->value(), expected);
    }

    void gamesFinishedWhileTheDialogIsOpenStayCounted() {
        TestApp t;
        WithPlayersDialog(t, [&t](CPlayersDialog* dialog) {
            // A game ends meanwhile and counts itself.
            t.app.store().WriteSetting(GamesPlayedSetting, 5);
            QTest::mouseClick(Control<QPushButton>(dialog, "okButton"), Qt::LeftButton);
        });
        QCOMPARE(t.app.settings()[GamesPlayedSetting], 5);
        QCOMPARE(StoredValue(GamesPlayedSetting).toInt(), 5);
    }

    void playerTypeOutsideTheListIsKept() {
        StoreValue(BlackPlayerSetting, 9);
        TestApp t;
        WithPlayersDialog(t, [](CPlayersDialog* dialog) {
            QCOMPARE(Control<QListWidget>(dialog, "blackList")->currentRow(), -1);
            QTest::mouseClick(Control<QPushButton>(dialog, "okButton"), Qt::LeftButton);
        });
        QCOMPARE(StoredValue(BlackPlayerSetting).toInt(), 9);
    }

    void playersCommandIsRefusedWhileAMoveIsBeingApplied() {
        TestApp t;
        t.app.store().WriteSetting(WhitePlayerSetting, 0);
        t.view().StartGame();
        t.Tick();
        QVERIFY(t.flow().ClickSquare(LowestLegalSquare(t.flow().CurrentBoard(), White)));
        t.view().ShowPlayersDialog();  // refused: returns at once, no dialog
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }
};

QObject* MakePlayersDialogTest(QObject* parent) {
    auto* test = new PlayersDialogTest;
    test->setParent(parent);
    return test;
}

}  // namespace vell::testing

#include "players_dialog_test.moc"
