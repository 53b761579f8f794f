#include "shell/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "shell/artwork.h"
#include "shell/display_name.h"
#include "shell/text.h"

namespace vell {

namespace {

// The texts of the About box.
// %1 is the program's name.
const char* const CaptionText = QT_TRANSLATE_NOOP("Vell", "%1のﾊﾞｰｼﾞｮﾝ情報");
const char* const OkText = "OK";

}  // namespace

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(Text(CaptionText).arg(QString::fromUtf8(DisplayName)));

    auto* icon = new QLabel(this);
    icon->setPixmap(MakeAppIcon().pixmap(32, 32));
    auto* version = new QLabel(QString::fromUtf8(VersionText), this);
    version->setObjectName(QStringLiteral("versionLabel"));
    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    QPushButton* ok = buttons->addButton(QString::fromUtf8(OkText), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addWidget(version, 1, Qt::AlignTop);
    layout->addWidget(buttons, 0, Qt::AlignTop);
}

}  // namespace vell
