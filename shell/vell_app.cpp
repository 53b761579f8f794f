#include "shell/vell_app.h"

#include <cstdint>
#include <ctime>

#include <QFile>
#include <QFileDialog>

#include "book/book_value_message.h"
#include "engine/think_driver.h"
#include "learning/game_log.h"
#include "learning/opening_variety.h"
#include "learning/pattern_eval.h"
#include "learning/weight_file.h"
#include "shell/about_dialog.h"
#include "shell/adopt_weights_action.h"
#include "shell/rules_dialog.h"
#include "shell/display_name.h"
#include "shell/main_frame.h"
#include "shell/message_box.h"
#include "shell/vell_view.h"
#include "shell/text.h"
#include "shell/window_geometry.h"

namespace vell {

namespace {

// The texts of the application. The file dialogs offer every file: "*" rather than "*.*",
// which here would hide the names without a dot, such as a record saved as "game".
const char* const AllFilesFilter = "すべてのﾌｧｲﾙ (*)";
const char* const SettingsNotSavedText = "設定を保存できませんでした。";

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
    // The engine and the training read the book and the weights in place, so they can be
    // loaded below, before the first tick; the computer players search with the fast search.
    // Training reports a file it cannot write in a box.
    // Unattended training opens each game with random moves.
    setup.think = options.think ? options.think
                                : WithRandomOpening(MakeThink(book, weights, SearchKind::Fast),
                                                    DefaultRandomOpeningMoves,
                                                    static_cast<std::uint64_t>(std::time(nullptr)));
    trainer =
        std::make_unique<Trainer>(weights, &book, options.workDir, [this](const std::string& text) {
            ShowMessageBox(frame.get(), QString::fromStdString(text));
        });
    // The held-out error of the trained weights is measured beside the games, never in them.
    monitor = std::make_unique<HoldoutMonitor>(*trainer, weights, HeldOutGames(), options.workDir);
    setup.learner = monitor.get();
    setup.workDir = options.workDir;
    // The window's weights come from weight4.dat (training writes weight2.dat).
    setup.dataInfoText = [this] { return DataInfoText(weights.header, "weight4.dat"); };
    setup.bookValueText = [this](const Board& board) { return BookValueMessage(book, board); };
    // The review reads the weights in place too; the view holds the game while it runs.
    setup.review = [this, search = FastRootSearch()](
                       const GameHistory& history, const ReviewOptions& reviewOptions,
                       const std::atomic<bool>* abort, const ReviewProgress& progress) {
        return vell::ReviewGame(history, reviewOptions, weights.table, search, abort, progress);
    };
    auto* view = new CVellView(std::move(setup));
    frame = std::make_unique<CMainFrame>(view);
    boardView = view;
    connect(frame.get(), &CMainFrame::NewRequested, this, &CVellApp::OnFileNew);
    connect(frame.get(), &CMainFrame::RulesRequested, this, &CVellApp::OnHelpRules);
    connect(frame.get(), &CMainFrame::OpenRequested, this, &CVellApp::OnFileOpen);
    connect(frame.get(), &CMainFrame::SaveRequested, this, &CVellApp::OnFileSave);
    connect(frame.get(), &CMainFrame::AboutRequested, this, &CVellApp::OnAppAbout);
    connect(frame.get(), &CMainFrame::AdoptWeightsRequested, this, [this, dir = options.workDir] {
        AdoptTrainedWeightsCommand(
            frame.get(), dir, weights,
            boardView->flow().ThinkRunning() || boardView->reviewRunner().Busy());
        monitor->WeightsChanged();
    });
    UpdateTitle();

    if (!options.documentPath.isEmpty() && !OpenDocument(options.documentPath, &error))
        return false;

    LoadGameData(options.workDir);
    // As the user left it, or as large as suits the screen: never smaller than the scene.
    KeepWindowGeometry(frame.get(), boardView, boardView->sizeHint());
    frame->show();
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

void CVellApp::LoadGameData(const std::filesystem::path& workDir) {
    // Book, weights and pattern tables are in memory before the timer gives the first tick.
    // A book that cannot be read is reported; the game goes on with an empty book that takes
    // no additions, so the file is left as it is.
    const BookLoadStatus bookStatus = book.Load(workDir / "book.dat");
    if (!bookStatus.ok) ShowMessageBox(nullptr, QString::fromStdString(bookStatus.message));
    // A missing or short weight file is not an error: the weights it lacks are 0. A damaged
    // header is reported once, and the game goes on with zero weights as for a missing file.
    WeightLoadStatus weightStatus;
    weights = LoadWeights(workDir / "weight4.dat", &weightStatus);
    if (weightStatus.damaged)
        ShowMessageBox(nullptr, QString::fromStdString(weightStatus.message +
                                                       "\n重みをすべて0にして続けます。"));
    InitPatterns();
}

void CVellApp::UpdateTitle() {
    frame->setWindowTitle(doc.Title() + QStringLiteral(" - ") + Text(DisplayName));
}

}  // namespace vell
