#pragma once

#include <atomic>
#include <memory>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include "core/board.h"
#include "core/folder_lock.h"
#include "core/think.h"
#include "shell/main_frame.h"
#include "shell/vell_app.h"
#include "shell/vell_view.h"

namespace vell::testing {

// A think that plays the lowest legal square of the side to move, at once.
inline ThinkOutcome LowestLegalMove(const ThinkRequest& request, ThinkControl&) {
    LegalMap map;
    if (CountLegalMoves(request.board, request.sideToMove, &map) == 0) return {ThinkNoMove, -1, {}};
    for (int s = 0; s < 64; ++s)
        if (map[s]) return {ThinkMoveReady, s, "lowest"};
    return {ThinkNoMove, -1, {}};
}

inline int LowestLegalSquare(const Board& board, int side) {
    LegalMap map;
    CountLegalMoves(board, side, &map);
    for (int s = 0; s < 64; ++s)
        if (map[s]) return s;
    return -1;
}

// A point of the board in logical window pixels: `cells` from the board's top-left corner,
// then `pixels` further.
inline QPoint BoardPoint(const CVellView& view, QPointF cells, QPointF pixels = {}) {
    const BoardGeometry& geometry = view.geometry();
    const QPointF device = QPointF(geometry.BoardRect().topLeft()) + cells * geometry.Cell();
    return (device / geometry.DevicePixelRatio() + pixels).toPoint();
}

// The centre of a square, in logical window pixels.
inline QPoint SquareCentre(const CVellView& view, int square) {
    return view.geometry().SquareCentre(square).toPoint();
}

// A square's cell in the picture the view draws (device pixels).
inline QRect SquareRect(const CVellView& view, int square) {
    return view.geometry().CellRect(square / 8, square % 8);
}

// The stored settings as QSettings reads them back.
inline QStringList StoredKeys() {
    QSettings store(QStringLiteral("TolvaSoftware"), QStringLiteral("Tamu3"));
    store.beginGroup(QStringLiteral("Settings"));
    return store.childKeys();
}

inline QVariant StoredValue(int index) {
    QSettings store(QStringLiteral("TolvaSoftware"), QStringLiteral("Tamu3"));
    store.beginGroup(QStringLiteral("Settings"));
    return store.value(QStringLiteral("Config%1").arg(index));
}

inline void StoreValue(int index, const QVariant& value) {
    QSettings store(QStringLiteral("TolvaSoftware"), QStringLiteral("Tamu3"));
    store.beginGroup(QStringLiteral("Settings"));
    store.setValue(QStringLiteral("Config%1").arg(index), value);
}

// Empties the test's settings location (QSettings points at a temporary folder for the whole
// test run, set up in main).
inline void ClearStoredSettings() {
    QSettings store(QStringLiteral("TolvaSoftware"), QStringLiteral("Tamu3"));
    store.clear();
    store.sync();
}

// Answers every message box that comes up while it lives: records caption, icon and text,
// then presses OK.
class MessageBoxCloser {
  public:
    MessageBoxCloser() {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            texts << box->text();
            captions << box->windowTitle();
            icons.push_back(box->icon());
            buttons.push_back(box->standardButtons());
            box->button(QMessageBox::Ok)->click();
        });
        timer.start();
    }

    QStringList texts;
    QStringList captions;
    std::vector<QMessageBox::Icon> icons;
    std::vector<QMessageBox::StandardButtons> buttons;

  private:
    QTimer timer;
};

// The program started for a test: settings from the temporary location, book, weights and
// logs in a temporary folder, the game ticked by hand. With `otherWriter` named, a program of
// that name holds the folder's lock before the window starts.
struct TestApp {
    explicit TestApp(ThinkFunction think = LowestLegalMove, QString document = QString(),
                     const std::string& otherWriter = {}) {
        if (!otherWriter.empty())
            otherLock = std::make_unique<FolderLock>(workDir.path().toStdString(), otherWriter);
        CVellApp::Options options;
        options.workDir = workDir.path().toStdString();
        options.think = std::move(think);
        options.startTimer = false;
        options.documentPath = document;
        started = app.InitInstance(options, error);
    }

    CMainFrame& frame() { return *app.mainFrame(); }
    CVellView& view() { return *app.view(); }
    GameFlow& flow() { return app.view()->flow(); }
    QString Pane(int pane) { return app.mainFrame()->PaneText(pane); }
    void Tick() { app.view()->Tick(); }
    // Ticks until the flow has taken the think's move and applied it; false when no move
    // comes (a guard against hangs, not a timing check).
    bool PlayComputerMove() {
        const int ply = flow().History().currentPly;
        for (int i = 0; i < 2000; ++i) {
            if (flow().History().currentPly != ply) return true;
            QCoreApplication::processEvents();
            if (flow().ThinkRunning()) {
                QThread::msleep(1);
                continue;
            }
            Tick();
        }
        return false;
    }

    QTemporaryDir workDir;
    std::unique_ptr<FolderLock> otherLock;
    CVellApp app;
    QString error;
    bool started = false;
};

}  // namespace vell::testing
