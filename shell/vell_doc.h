#pragma once

#include <optional>

#include <QString>

#include "core/history.h"

namespace vell {

// The game-record document: the file a game record was last saved to or opened from. It holds
// no game; Save writes the diagram of the history it is given, Open reads one back.
class CVellDoc {
  public:
    // The file name, or "無題" for a document that has none yet.
    QString Title() const;
    const QString& Path() const { return path; }

    // A new document: untitled, so the next save asks for a file name.
    void New() { path.clear(); }

    // Writes the diagram of `history` to `file` in one piece: the old file stays whole until
    // the new one is complete. On success the document takes the file; on failure `error`
    // says why and the document is unchanged.
    bool SaveAs(const QString& file, const GameHistory& history, QString& error);

    // Reads the diagram in `file`. On success the document takes the file and the game is
    // returned at its first position; otherwise `error` says why and nothing changes.
    std::optional<GameHistory> Open(const QString& file, QString& error);

  private:
    QString path;
};

}  // namespace vell
