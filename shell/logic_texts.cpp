#include "shell/logic_texts.h"

#include <vector>

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

#include "shell/language.h"
#include "shell/text.h"

namespace vell {

namespace {

// Whole texts of the logic, listed so the catalogue carries them; LogicText looks each line up
// as it is.
[[maybe_unused]] const char* const WholeTexts[] = {
    QT_TRANSLATE_NOOP("Vell", "黒"),
    QT_TRANSLATE_NOOP("Vell", "白"),
    QT_TRANSLATE_NOOP("Vell", "停止"),
    QT_TRANSLATE_NOOP("Vell", "終了"),
    QT_TRANSLATE_NOOP("Vell", "思考中です"),
    QT_TRANSLATE_NOOP("Vell", "打ってください。"),
    QT_TRANSLATE_NOOP("Vell", "打てませんよ。"),
    QT_TRANSLATE_NOOP("Vell", "なんかエラー。"),
    QT_TRANSLATE_NOOP("Vell", "vellkif.txt に書き込めませんでした。"),
    QT_TRANSLATE_NOOP("Vell", "BOOKを探索します……"),
    QT_TRANSLATE_NOOP("Vell", "普通読みです……"),
    QT_TRANSLATE_NOOP("Vell", "NOBOOK普通読みです……"),
    QT_TRANSLATE_NOOP("Vell", "序盤はランダムに打ちます。"),
    QT_TRANSLATE_NOOP("Vell", "ブックにありません。"),
    QT_TRANSLATE_NOOP("Vell", "  # 手 着手   評価  最善   評価   損失 印"),
    QT_TRANSLATE_NOOP("Vell", "重みは変わっていません。"),
    QT_TRANSLATE_NOOP("Vell", "今の weight4.dat は weight4.bak として残します。よろしいですか?"),
    QT_TRANSLATE_NOOP("Vell", "元の重みは weight4.bak に残しました。"),
    QT_TRANSLATE_NOOP("Vell", "学習した重みはメモリに残り、次の保存で書き込みます。"),
    QT_TRANSLATE_NOOP("Vell", "記録はメモリに残し、書き込めるようになったら追記します。"),
    QT_TRANSLATE_NOOP("Vell", "ヘッダがすべて0です。"),
    QT_TRANSLATE_NOOP("Vell", "特記事項が文字列として読めません。"),
    QT_TRANSLATE_NOOP("Vell", "特になし♪"),
    QT_TRANSLATE_NOOP("Vell", "バージョン情報なし"),
    QT_TRANSLATE_NOOP("Vell", "バージョン情報なし2"),
    // The note of the weights that come with the program.
    QT_TRANSLATE_NOOP("Vell",
                      "自己対戦(CPU-PAT2同士、読み2手・終盤6手)の棋譜から学習した標準の重みです。"),
    QT_TRANSLATE_NOOP("Vell", "この実行では定石の追加を止めます。"),
    QT_TRANSLATE_NOOP("Vell", "メモリ確保に失敗しました。"),
    QT_TRANSLATE_NOOP("Vell", "定石ファイルが決まっていません。"),
};

// Texts with parts that vary, tried in this order: a longer wording comes before one it ends
// with ("とっても有利です。" before "有利です。"), and the loose ones, which would also take a
// whole line of another kind ("白%1石" takes every line from "白" to "石"), come last.
const char* const Patterns[] = {
    QT_TRANSLATE_NOOP("Vell", "思考中です（%1秒、深さ%2）"),
    QT_TRANSLATE_NOOP("Vell", "思考中です（%1秒）"),
    QT_TRANSLATE_NOOP("Vell", "%1（%2手読み）"),
    QT_TRANSLATE_NOOP("Vell", "BOOK最善手です:%1"),
    QT_TRANSLATE_NOOP("Vell", "BOOK次善手です:%1"),
    QT_TRANSLATE_NOOP("Vell", "%1とっても有利です。"),
    QT_TRANSLATE_NOOP("Vell", "%1すごく不利です。"),
    QT_TRANSLATE_NOOP("Vell", "%1有利です。"),
    QT_TRANSLATE_NOOP("Vell", "%1不利です。"),
    QT_TRANSLATE_NOOP("Vell", "%1互角です。"),
    QT_TRANSLATE_NOOP("Vell", "%1の勝ちです。黒%2石 白%3石"),
    QT_TRANSLATE_NOOP("Vell", "引き分けです。黒%1石 白%2石"),
    QT_TRANSLATE_NOOP("Vell", "%1マス残りましたが、どちらも打てません。"),
    QT_TRANSLATE_NOOP("Vell", "%1の番です。"),
    QT_TRANSLATE_NOOP("Vell", "%1はパスです。"),
    QT_TRANSLATE_NOOP("Vell", "ファイル名:%1"),
    QT_TRANSLATE_NOOP("Vell", "バージョン:%1"),
    QT_TRANSLATE_NOOP("Vell", "トレーニング試合数:%1"),
    QT_TRANSLATE_NOOP("Vell", "特記事項:%1"),
    QT_TRANSLATE_NOOP(
        "Vell", "学習した重み %1 がありません。トレーニングを有効にして対局すると作られます。"),
    QT_TRANSLATE_NOOP(
        "Vell",
        "トレーニング試合数 %1 の学習した重み(weight2.dat)を weight4.dat の代わりに使います。"),
    QT_TRANSLATE_NOOP("Vell", "学習した重み(トレーニング試合数 %1)を使います。"),
    QT_TRANSLATE_NOOP("Vell", "今の重みファイルを %1 に残せません。(%2)"),
    QT_TRANSLATE_NOOP("Vell", "重みファイル %1 を置き換えられません。(%2)"),
    QT_TRANSLATE_NOOP("Vell", "重みファイル %1 がありません。重みをすべて0にして続けます。"),
    QT_TRANSLATE_NOOP("Vell", "重みファイル %1 を作れません。"),
    QT_TRANSLATE_NOOP("Vell", "重みファイル %1 に書き込めません。"),
    QT_TRANSLATE_NOOP("Vell", "重みファイル %1 は壊れています。%2"),
    QT_TRANSLATE_NOOP("Vell", "大きさが%1バイトではありません。"),
    QT_TRANSLATE_NOOP("Vell", "トレーニング試合数が負の値(%1)です。"),
    QT_TRANSLATE_NOOP("Vell", "学習ログ %1 に書き込めません。"),
    QT_TRANSLATE_NOOP("Vell", "定石ファイル %1 を読めません。"),
    QT_TRANSLATE_NOOP("Vell", "定石ファイル %1 を調べられません。(%2)"),
    QT_TRANSLATE_NOOP("Vell", "定石ファイル %1 がなくなっています。"),
    QT_TRANSLATE_NOOP("Vell", "定石ファイル %1 を作れません。"),
    QT_TRANSLATE_NOOP("Vell", "定石ファイル %1 の大きさが分かりません。(%2)"),
    QT_TRANSLATE_NOOP("Vell", "定石ファイル %1 の記録の数がメモリの定石と違っています。"),
    QT_TRANSLATE_NOOP("Vell", "定石ファイル %1 を書き込み用に開けません。"),
    QT_TRANSLATE_NOOP("Vell", "定石ファイル %1 に書き込めません。"),
    QT_TRANSLATE_NOOP("Vell", "%1 平均損失 %2石　?! %3　? %4　?? %5　大きな損失 %6"),
    QT_TRANSLATE_NOOP("Vell", "%1 平均損失 %2石　?! %3　? %4　?? %5"),
    QT_TRANSLATE_NOOP("Vell", "%1. %2 %3  損失 %4石  最善 %5"),
    QT_TRANSLATE_NOOP("Vell", "%1、%2"),
    QT_TRANSLATE_NOOP("Vell", "%1. %2 %3石"),
    QT_TRANSLATE_NOOP("Vell", "%1 黒 %2"),
    QT_TRANSLATE_NOOP("Vell", "%1 白 %2"),
    QT_TRANSLATE_NOOP("Vell", "黒 %1"),
    QT_TRANSLATE_NOOP("Vell", "白 %1"),
    QT_TRANSLATE_NOOP("Vell", "黒%1石"),
    QT_TRANSLATE_NOOP("Vell", "白%1石"),
    QT_TRANSLATE_NOOP("Vell", "%1 %2石"),
};

// Parts of parts are translated too, but not without end.
constexpr int MaxDepth = 4;

struct Pattern {
    const char* source;
    QRegularExpression match;
    // The place number (1..9) each captured group stands for, in the order of the groups.
    std::vector<int> places;
};

// Each "%n" of a source becomes a group that takes as little as it can; the rest must match
// as it is, from the start of the line to its end.
Pattern Compile(const char* source) {
    Pattern pattern{source, {}, {}};
    const QString text = QString::fromUtf8(source);
    QString expression = QStringLiteral("^");
    qsizetype from = 0;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('%') || !text[i + 1].isDigit()) continue;
        expression +=
            QRegularExpression::escape(text.mid(from, i - from)) + QStringLiteral("(.*?)");
        pattern.places.push_back(text[i + 1].digitValue());
        from = i + 2;
        ++i;
    }
    expression += QRegularExpression::escape(text.mid(from)) + QStringLiteral("$");
    pattern.match.setPattern(expression);
    return pattern;
}

const std::vector<Pattern>& CompiledPatterns() {
    static const std::vector<Pattern> compiled = [] {
        std::vector<Pattern> all;
        for (const char* source : Patterns)
            all.push_back(Compile(source));
        return all;
    }();
    return compiled;
}

// `form` with each "%n" replaced by part n, in one pass, so a part that holds "%2" stays as it is.
QString Fill(const QString& form, const QStringList& parts) {
    QString text;
    for (qsizetype i = 0; i < form.size(); ++i) {
        if (form[i] == QLatin1Char('%') && i + 1 < form.size() && form[i + 1].isDigit()) {
            const int place = form[i + 1].digitValue();
            if (place >= 1 && place <= parts.size()) {
                text += parts[place - 1];
                ++i;
                continue;
            }
        }
        text += form[i];
    }
    return text;
}

QString TranslateLine(const QString& line, int depth) {
    if (line.isEmpty() || depth > MaxDepth) return line;
    const QByteArray source = line.toUtf8();
    const QString whole = QCoreApplication::translate("Vell", source.constData());
    if (whole != line) return whole;
    for (const Pattern& pattern : CompiledPatterns()) {
        const QRegularExpressionMatch found = pattern.match.match(line);
        if (!found.hasMatch()) continue;
        const QString form = QCoreApplication::translate("Vell", pattern.source);
        if (form == QString::fromUtf8(pattern.source)) return line;
        QStringList parts(9);
        for (std::size_t g = 0; g < pattern.places.size(); ++g)
            parts[pattern.places[g] - 1] = TranslateLine(found.captured(int(g) + 1), depth + 1);
        return Fill(form, parts);
    }
    return line;
}

}  // namespace

QString LogicText(const QString& text) {
    if (CurrentLanguage() == Language::Japanese) return text;
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = TranslateLine(line, 0);
    return lines.join(QLatin1Char('\n'));
}

QString LogicText(const std::string& text) {
    return LogicText(QString::fromStdString(text));
}

}  // namespace vell
