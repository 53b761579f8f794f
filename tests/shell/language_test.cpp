#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QtTest>

#include "shell/language.h"
#include "shell/logic_texts.h"
#include "tests/shell/shell_test_classes.h"
#include "tests/shell/shell_test_support.h"

namespace vell::testing {

namespace {

QMenu* MenuTitled(CMainFrame& frame, const QString& title) {
    for (QAction* action : frame.menuBar()->actions())
        if (action->text() == title) return action->menu();
    return nullptr;
}

QAction* ItemTexted(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions())
        if (action->text() == text) return action;
    return nullptr;
}

}  // namespace

class LanguageTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { ClearStoredSettings(); }
    // Every test leaves the window in its own language, as the other tests expect it.
    void cleanup() { UseLanguage(Language::Japanese); }

    void localeChoosesLanguage_data() {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("languageList");
        QTest::addColumn<bool>("english");
        const int automatic = int(LanguageChoice::Automatic);
        QTest::newRow("en_US") << automatic << "en_US.UTF-8"
                               << "" << true;
        QTest::newRow("en_GB without codeset") << automatic << "en_GB"
                                               << "" << true;
        QTest::newRow("ja_JP") << automatic << "ja_JP.UTF-8"
                               << "" << false;
        QTest::newRow("C") << automatic << "C"
                           << "" << false;
        QTest::newRow("C.UTF-8") << automatic << "C.UTF-8"
                                 << "" << false;
        QTest::newRow("POSIX") << automatic << "POSIX"
                               << "" << false;
        QTest::newRow("no catalogue: French") << automatic << "fr_FR.UTF-8"
                                              << "" << false;
        QTest::newRow("nothing set") << automatic << ""
                                     << "" << false;
        QTest::newRow("LANGUAGE=en over C") << automatic << "C.UTF-8"
                                            << "en" << true;
        QTest::newRow("LANGUAGE skips French") << automatic << "ja_JP.UTF-8"
                                               << "fr:en_GB" << true;
        QTest::newRow("LANGUAGE=ja over en_US") << automatic << "en_US.UTF-8"
                                                << "ja" << false;
        QTest::newRow("LANGUAGE without ours") << automatic << "en_US.UTF-8"
                                               << "de:fr" << true;
        QTest::newRow("chosen Japanese") << int(LanguageChoice::Japanese) << "en_US.UTF-8"
                                         << "en" << false;
        QTest::newRow("chosen English") << int(LanguageChoice::English) << "C"
                                        << "" << true;
    }
    void localeChoosesLanguage() {
        QFETCH(int, choice);
        QFETCH(QString, locale);
        QFETCH(QString, languageList);
        QFETCH(bool, english);
        const Language language =
            ResolveLanguage(static_cast<LanguageChoice>(choice), locale, languageList);
        QCOMPARE(language == Language::English, english);
    }

    void logicTextsTranslateAsPatterns_data() {
        QTest::addColumn<QString>("japanese");
        QTest::addColumn<QString>("english");
        QTest::newRow("turn") << "黒の番です。"
                              << "Black's turn.";
        QTest::newRow("pass") << "白はパスです。"
                              << "White passes.";
        QTest::newRow("even verdict") << "-2174互角です。"
                                      << "-2174 Even.";
        QTest::newRow("strong verdict before weak") << "12000とっても有利です。"
                                                    << "12000 Very good for me.";
        QTest::newRow("verdict stopped early") << "-6000不利です。（7手読み）"
                                               << "-6000 Bad for me. (read to depth 7)";
        QTest::newRow("thinking") << "思考中です（3秒、深さ7）"
                                  << "Thinking (3 s, depth 7)";
        QTest::newRow("book move") << "BOOK最善手です:800"
                                   << "Best book move: 800";
        QTest::newRow("result, two lines")
            << "白の勝ちです。黒20石 白40石\n4マス残りましたが、どちらも打てません。\n"
            << "White wins. Black 20, White 40\nEmpty squares left: 4, but neither side can "
               "play.\n";
        QTest::newRow("hint") << "f6 +3.5石"
                              << "f6 +3.5 stones";
        QTest::newRow("review line") << " 23 黒 c5   -3.5  f6   +2.7   6.2 ?"
                                     << " 23 Black c5   -3.5  f6   +2.7   6.2 ?";
        QTest::newRow("review summary")
            << "白 平均損失 1.2石　?! 2　? 1　?? 0　大きな損失 23. c5 6.2石、31. b2 4.0石"
            << "White average loss 1.2　?! 2　? 1　?? 0　biggest losses 23. c5 6.2, 31. b2 4.0";
        QTest::newRow("part translated in turn")
            << "重みファイル /w/weight2.dat は壊れています。大きさが7892バイトではありません。\n"
               "重みは変わっていません。"
            << "The weight file /w/weight2.dat is damaged. It is not 7892 bytes long.\n"
               "The weights have not changed.";
        QTest::newRow("a file name with %2 stays") << "定石ファイル /a%2b/book.dat を読めません。"
                                                   << "Cannot read the book file /a%2b/book.dat.";
        QTest::newRow("unknown text stays") << "謎の文 42"
                                            << "謎の文 42";
    }
    void logicTextsTranslateAsPatterns() {
        QFETCH(QString, japanese);
        QFETCH(QString, english);
        QCOMPARE(LogicText(japanese.toStdString()), japanese);
        UseLanguage(Language::English);
        QCOMPARE(LogicText(japanese.toStdString()), english);
    }

    void languageMenuSwitchesOpenWindowAtOnce() {
        TestApp app;
        QVERIFY(app.started);
        app.view().StartGame();
        app.Tick();
        QCOMPARE(app.Pane(0), QStringLiteral("白の番です。"));
        QMenu* view = MenuTitled(app.frame(), QStringLiteral("表示(&V)"));
        QVERIFY(view);
        QAction* languages = ItemTexted(view, QStringLiteral("言語 / Language"));
        QVERIFY(languages && languages->menu());
        QAction* english = ItemTexted(languages->menu(), QStringLiteral("English"));
        QVERIFY(english);
        english->trigger();

        QVERIFY(MenuTitled(app.frame(), QStringLiteral("&View")));
        QCOMPARE(app.frame().CommandAction(Command::StartGame)->text(),
                 QStringLiteral("&Begin game"));
        QCOMPARE(app.Pane(0), QStringLiteral("White's turn."));
        // The toolkit's own buttons follow.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
        QCOMPARE(QSettings(QStringLiteral("TolvaSoftware"), QStringLiteral("Tamu3"))
                     .value(QStringLiteral("View/language"))
                     .toString(),
                 QStringLiteral("en"));
        // Apart from the sixteen game settings.
        QVERIFY(!StoredKeys().contains(QStringLiteral("language")));

        ItemTexted(languages->menu(), QStringLiteral("日本語"))->trigger();
        QVERIFY(MenuTitled(app.frame(), QStringLiteral("表示(&V)")));
        QCOMPARE(app.Pane(0), QStringLiteral("白の番です。"));
        QCOMPARE(app.frame().CommandAction(Command::StartGame)->text(),
                 QStringLiteral("対局を開始(&B)"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                 QStringLiteral("キャンセル"));
    }
};

QObject* MakeLanguageTest(QObject* parent) {
    auto* test = new LanguageTest;
    test->setParent(parent);
    return test;
}

}  // namespace vell::testing

#include "language_test.moc"
