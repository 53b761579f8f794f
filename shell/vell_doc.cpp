#include "shell/vell_doc.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "core/diagram_reader.h"
#include "shell/text.h"

namespace vell {

namespace {

// The texts of the document.
const char* const UntitledText = QT_TRANSLATE_NOOP("Vell", "無題");
const char* const SaveFailedText = QT_TRANSLATE_NOOP("Vell", "%1 に保存できませんでした。\n%2");
const char* const OpenFailedText = QT_TRANSLATE_NOOP("Vell", "%1 を開けませんでした。\n%2");
const char* const NotARecordText =
    QT_TRANSLATE_NOOP("Vell", "%1 は棋譜ファイルではありません。\n%2");
const char* const WrongLayoutText =
    QT_TRANSLATE_NOOP("Vell", "8 行に 3 文字ずつ 8 マスが並ぶ棋譜の形になっていません。");
const char* const BadCellText = QT_TRANSLATE_NOOP("Vell", "%1 列 %2 行のマスが読めません。");
const char* const BadNumberingText =
    QT_TRANSLATE_NOOP("Vell", "%1 手目の番号が抜けているか、重なっています。");
const char* const IllegalMoveText = QT_TRANSLATE_NOOP("Vell", "%1 手目は打てない手です。");

// A diagram is 208 bytes; anything much larger is refused before it is read.
constexpr qint64 LargestDiagram = 4096;

QString Reason(const DiagramReadResult& read) {
    switch (read.error) {
        case DiagramError::None:
            break;
        case DiagramError::WrongLayout:
            return Text(WrongLayoutText);
        case DiagramError::BadCell:
            return Text(BadCellText).arg(read.column + 1).arg(read.row + 1);
        case DiagramError::BadNumbering:
            return Text(BadNumberingText).arg(read.moveNumber);
        case DiagramError::IllegalMove:
            return Text(IllegalMoveText).arg(read.moveNumber);
    }
    return QString();
}

}  // namespace

QString CVellDoc::Title() const {
    return path.isEmpty() ? Text(UntitledText) : QFileInfo(path).fileName();
}

bool CVellDoc::SaveAs(const QString& file, const GameHistory& history, QString& error) {
    const std::string text = GameRecordText(history);
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(text.data(), qint64(text.size())) != qint64(text.size()) || !out.commit()) {
        error = Text(SaveFailedText).arg(file, out.errorString());
        out.cancelWriting();
        return false;
    }
    path = file;
    return true;
}

std::optional<GameHistory> CVellDoc::Open(const QString& file, QString& error) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        error = Text(OpenFailedText).arg(file, in.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = in.read(LargestDiagram + 1);
    if (in.error() != QFileDevice::NoError) {
        error = Text(OpenFailedText).arg(file, in.errorString());
        return std::nullopt;
    }
    const DiagramReadResult read =
        ReadGameRecordText(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    if (read.error != DiagramError::None) {
        error = Text(NotARecordText).arg(file, Reason(read));
        return std::nullopt;
    }
    path = file;
    return read.history;
}

}  // namespace vell
