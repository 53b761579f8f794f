#pragma once

#include <filesystem>
#include <memory>

#include <QObject>
#include <QString>

#include "core/settings.h"
#include "core/think.h"
#include "core/folder_lock.h"
#include "engine/engine_data.h"
#include "learning/holdout_monitor.h"
#include "shell/settings_store.h"
#include "shell/vell_doc.h"

namespace vell {

class CMainFrame;
class CVellView;

// The application: owns the settings, the opening book and the weights (EngineData), the
// document and the main window, starts them in order and handles the file commands and the About
// box.
class CVellApp : public QObject {
    Q_OBJECT

  public:
    struct Options {
        // The folder of book.dat, weight4.dat and the logs.
        std::filesystem::path workDir = std::filesystem::current_path();
        // A game record to open at start-up; none when empty.
        QString documentPath;
        // The computer players' think; empty means the engine's.
        ThinkFunction think;
        // Whether the game timer runs; tests tick by hand.
        bool startTimer = true;
        // The memory advice for the engine's large tables; none when null.
        TableMemoryAdvice tableAdvice = nullptr;
    };

    CVellApp();
    ~CVellApp() override;

    // Start-up in order: the settings, the document with the window and the view, the
    // document named in the options, then the book, the weights and the pattern tables, and
    // last the window is shown and the timer started. False when the named document cannot be
    // opened; `error` then says why and nothing after the window has been loaded or shown.
    bool InitInstance(const Options& options, QString& error);

    Settings& settings() { return liveSettings; }
    SettingsStore& store() { return settingsStore; }
    CMainFrame* mainFrame() const { return frame.get(); }
    CVellView* view() const { return boardView; }
    CVellDoc& document() { return doc; }

    // Opens a game record into the game, shown at its first position and stopped. On failure
    // a message box says why (or `error` receives it when given) and nothing changes.
    bool OpenDocument(const QString& file, QString* error = nullptr);
    // Writes the game record to `file`; on failure a message box gives the reason.
    bool SaveDocumentAs(const QString& file);

  public Q_SLOTS:
    void OnFileNew();
    void OnHelpRules();
    void OnFileOpen();
    void OnFileSave();
    void OnAppAbout();

  private:
    // Loads the book and weights; returns what the status bar says about them, if anything.
    QString LoadGameData(const std::filesystem::path& workDir);
    void UpdateTitle();

    Settings liveSettings = DefaultSettings;
    SettingsStore settingsStore{liveSettings};
    std::unique_ptr<FolderLock> folderLock;   // held while this window writes the working folder
    std::unique_ptr<EngineData> data;         // before the window, so the game goes first
    std::unique_ptr<HoldoutMonitor> monitor;  // after the trainer it watches
    CVellDoc doc;
    std::unique_ptr<CMainFrame> frame;  // last, so the window (and the game) goes first
    CVellView* boardView = nullptr;     // owned by the frame
};

}  // namespace vell
