#include "shell/rules_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/board.h"
#include "shell/artwork.h"
#include "shell/text.h"

namespace vell {

namespace {

// The texts of the page.
const char* const CaptionText = QT_TRANSLATE_NOOP("Vell", "遊び方");
const char* const OkText = "OK";
const char* const RulesText = QT_TRANSLATE_NOOP(
    "Vell",
    "白が先手です。空いているマスに石を置くと、そこから縦・横・斜めに続く相手の石の列が、"
    "その先が空きマスで終わるときだけ裏返ります。列の先が自分の石や盤の端なら、何も裏返りません。"
    "1つも裏返らないマスには打てません。\n\n"
    "打てるマスがないときはパスになり、相手がもう一度打ちます。"
    "どちらも打てなくなったら対局は終わりで、石の多い方の勝ちです。"
    "このルールでは空きマスが残ったまま終わることがよくあります。");
const char* const DiagramText =
    QT_TRANSLATE_NOOP("Vell",
                      "図: 白が×に打つと、右に続く黒2つの先が空きマスなので2つとも白になります。"
                      "下の列は先が白の石なので裏返りません。");

// One row where white's move at the cross turns two black stones (the line ends at an empty
// square), and one below where the same line ends at a white stone and turns nothing.
QPixmap MakeDiagram() {
    const CellImages cells = MakeCellImages();
    constexpr int Cell = 32;
    const int rows[2][5] = {{Empty, Black, Black, Empty, Empty},
                            {Empty, Black, Black, White, Empty}};
    QPixmap picture(5 * Cell, 2 * Cell + 8);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 5; ++c)
            painter.drawPixmap(c * Cell, r * (Cell + 8), cells[rows[r][c]]);
    painter.setPen(QPen(QColor(255, 255, 0), 3));
    for (int r = 0; r < 2; ++r) {
        const int top = r * (Cell + 8);
        painter.drawLine(8, top + 8, Cell - 8, top + Cell - 8);
        painter.drawLine(Cell - 8, top + 8, 8, top + Cell - 8);
    }
    return picture;
}

}  // namespace

CRulesDialog::CRulesDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(Text(CaptionText));
    auto* rules = new QLabel(Text(RulesText), this);
    rules->setObjectName(QStringLiteral("rulesText"));
    rules->setWordWrap(true);
    auto* diagram = new QLabel(this);
    diagram->setPixmap(MakeDiagram());
    auto* caption = new QLabel(Text(DiagramText), this);
    caption->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(Text(OkText), QDialogButtonBox::AcceptRole)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* figure = new QHBoxLayout;
    figure->addWidget(diagram, 0, Qt::AlignTop);
    figure->addWidget(caption, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rules);
    layout->addLayout(figure);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

}  // namespace vell
