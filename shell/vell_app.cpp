#include "shell/vell_app.h"

#include <cstdint>
#include <ctime>

#include <QFile>
#include <QFileDialog>
#include <QStatusBar>

#include "book/book_value_message.h"
#include "core/file_names.h"
#include "engine/think_driver.h"
#include "learning/game_log.h"
#include "learning/opening_variety.h"
#include "learning/pattern_eval.h"
#include "learning/weight_file.h"
#include "shell/about_dialog.h"
#include "shell/adopt_weights_action.h"
#include "shell/rules_dialog.h"
#include "shell/display_name.h"
#include "shell/language.h"
#include "shell/logic_texts.h"
#include "shell/main_frame.h"
#include "shell/message_box.h"
#include "shell/vell_view.h"
#include "shell/text.h"
#include "shell/window_geometry.h"

namespace vell {

namespace {

// The texts of the application. The file dialogs offer every file: "*" rather than "*.*",
// which here would hide the names without a dot, such as a record saved as "game".
const char* const AllFilesFilter = QT_TRANSLATE_NOOP("Vell", "すべてのﾌｧｲﾙ (*)");
const char* const SettingsNotSavedText = QT_TRANSLATE_NOOP("Vell", "設定を保存できませんでした。");
const char* const FolderInUseText =
    QT_TRANSLATE_NOOP("Vell",
                      "作業フォルダ %1 には %2 が書き込んでいます。\n"
                      "トレーニングとファイルへの書き込みをしないで開きます。");
const char* const ZeroWeightsText = QT_TRANSLATE_NOOP("Vell", "重みをすべて0にして続けます。");
const char* const AdoptRefusedText = QT_TRANSLATE_NOOP(
    "Vell", "作業フォルダには別のプログラムが書き込んでいます。重みは入れ替えられません。");

// The held-out games built into the program (resources/holdout.txt).
std::vector<GameRecord> HeldOutGames() {
    QFile file(QStringLiteral(":/vell/holdout.txt"));
    std::vector<GameRecord> games;
    if (!file.open(QIODevice::ReadOnly)) return games;
    while (!file.atEnd()) {
        GameRecord game;
        if (GameFromLogLine(file.readLine().trimmed().toStdString(), game)) games.push_back(game);
    }
    return games;
}

}  // namespace

CVellApp::CVellApp() = default;

CVellApp::~CVellApp() = default;

bool CVellApp::InitInstance(const Options& options, QString& error) {
    settingsStore.Load();
    settingsStore.SetFailureReport(
        [this] { ShowMessageBox(frame.get(), Text(SettingsNotSavedText)); });

    ViewSetup setup;
    setup.store = &settingsStore;
    // One program at a time writes the working folder; beside another, this window only plays.
    folderLock = std::make_unique<FolderLock>(options.workDir, "vell");
    const bool writesFiles = folderLock->Held();
    setup.writesFiles = writesFiles;
    // Training reports a file it cannot write in a box.
    data = std::make_unique<EngineData>(
        options.workDir,
        [this](const std::string& text) { ShowMessageBox(frame.get(), LogicText(text)); },
        options.tableAdvice);
    // The computer players search with the fast search, on the book and the weights published
    // when each think starts, so they can be loaded below, before the first tick. Unattended
    // training opens each game with random moves.
    setup.think = options.think
                      ? options.think
                      : WithRandomOpening(data->Think(SearchKind::Fast), DefaultRandomOpeningMoves,
                                          static_cast<std::uint64_t>(std::time(nullptr)));
    // The held-out error of the trained weights is measured beside the games, never in them.
    monitor = std::make_unique<HoldoutMonitor>(data->Training(), data->WorkingWeights(),
                                               HeldOutGames(), options.workDir);
    setup.learner = writesFiles ? monitor.get() : nullptr;
    setup.workDir = options.workDir;
    // The window's weights come from weight4.dat (training writes weight2.dat).
    setup.dataInfoText = [this] {
        return DataInfoText(data->WeightsInUse()->header, StartWeightsFileName);
    };
    setup.bookValueText = [this](const Board& board) {
        return BookValueMessage(*data->BookInUse(), board);
    };
    setup.review = data->Review();
    auto* view = new CVellView(std::move(setup));
    frame = std::make_unique<CMainFrame>(view);
    boardView = view;
    connect(frame.get(), &CMainFrame::NewRequested, this, &CVellApp::OnFileNew);
    connect(frame.get(), &CMainFrame::RulesRequested, this, &CVellApp::OnHelpRules);
    connect(frame.get(), &CMainFrame::OpenRequested, this, &CVellApp::OnFileOpen);
    connect(frame.get(), &CMainFrame::SaveRequested, this, &CVellApp::OnFileSave);
    connect(frame.get(), &CMainFrame::AboutRequested, this, &CVellApp::OnAppAbout);
    connect(frame.get(), &CMainFrame::AdoptWeightsRequested, this, [this, dir = options.workDir] {
        if (!folderLock->Held()) {
            ShowMessageBox(frame.get(), Text(AdoptRefusedText));
            return;
        }
        AdoptTrainedWeightsCommand(frame.get(), dir, [this] { return data->Adopt(); });
        monitor->WeightsChanged();
    });
    Retranslated(frame.get(), [this] { UpdateTitle(); });

    if (!options.documentPath.isEmpty() && !OpenDocument(options.documentPath, &error))
        return false;

    const QString startMessage = LoadGameData(options.workDir);
    // As the user left it, or as large as suits the screen: never smaller than the scene.
    KeepWindowGeometry(frame.get(), boardView, boardView->sizeHint());
    frame->show();
    // Said once the frame is shown: a message shown earlier would leave the status bar's own
    // line visible underneath it.
    if (!startMessage.isEmpty()) frame->statusBar()->showMessage(startMessage);
    if (!writesFiles)
        ShowMessageBox(frame.get(), Text(FolderInUseText)
                                        .arg(QString::fromStdString(options.workDir.string()),
                                             QString::fromStdString(folderLock->Holder().empty()
                                                                        ? folderLock->Refusal()
                                                                        : folderLock->Holder())));
    boardView->setFocus();
    if (options.startTimer) boardView->StartTimer();
    return true;
}

bool CVellApp::OpenDocument(const QString& file, QString* error) {
    QString reason;
    const std::optional<GameHistory> history = doc.Open(file, reason);
    if (!history) {
        if (error)
            *error = reason;
        else
            ShowMessageBox(frame.get(), reason);
        return false;
    }
    boardView->LoadGame(*history);
    UpdateTitle();
    return true;
}

bool CVellApp::SaveDocumentAs(const QString& file) {
    QString error;
    if (!doc.SaveAs(file, boardView->flow().History(), error)) {
        ShowMessageBox(frame.get(), error);
        return false;
    }
    UpdateTitle();
    return true;
}

void CVellApp::OnFileNew() {
    // A new game from the start position with the current players, in a new, untitled record.
    doc.New();
    UpdateTitle();
    if (boardView) boardView->NewGame();
}

void CVellApp::OnHelpRules() {
    CRulesDialog rules(frame.get());
    rules.exec();
}

void CVellApp::OnFileOpen() {
    const QString file =
        QFileDialog::getOpenFileName(frame.get(), QString(), QString(), Text(AllFilesFilter));
    if (!file.isEmpty()) OpenDocument(file);
}

void CVellApp::OnFileSave() {
    QString file = doc.Path();
    if (file.isEmpty())
        file =
            QFileDialog::getSaveFileName(frame.get(), QString(), QString(), Text(AllFilesFilter));
    if (!file.isEmpty()) SaveDocumentAs(file);
}

void CVellApp::OnAppAbout() {
    CAboutDialog about(frame.get());
    about.exec();
}

QString CVellApp::LoadGameData(const std::filesystem::path& workDir) {
    // Book, weights and pattern tables are in memory before the timer gives the first tick.
    // A book that cannot be read is reported; the game goes on with an empty book that takes
    // no additions, so the file is left as it is.
    const BookLoadStatus bookStatus = data->WorkingBook().Load(workDir / BookFileName);
    if (!bookStatus.ok) ShowMessageBox(nullptr, LogicText(bookStatus.message));
    // A missing or short weight file is not an error: the weights it lacks are 0. A damaged
    // header is reported once, and the game goes on with zero weights as for a missing file.
    WeightLoadStatus weightStatus;
    data->WorkingWeights() = LoadWeights(workDir / StartWeightsFileName, &weightStatus);
    if (weightStatus.damaged)
        ShowMessageBox(nullptr, LogicText(weightStatus.message + "\n" + ZeroWeightsText));
    // A missing file is no fault (a first start before the trained weights are seeded), so it
    // is said once in the status bar rather than in a box that would hold up the start.
    InitPatterns();
    data->Publish();
    if (!weightStatus.missing) return {};
    return LogicText(MissingWeightsText((workDir / StartWeightsFileName).string()));
}

void CVellApp::UpdateTitle() {
    frame->setWindowTitle(doc.Title() + QStringLiteral(" - ") + Text(DisplayName));
}

}  // namespace vell
