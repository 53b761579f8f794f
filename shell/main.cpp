#include <cstdio>
#include <cstdlib>
#include <string>

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include "core/cpu_level.h"
#include "platform/huge_pages.h"
#include "shell/language.h"
#include "shell/main_frame.h"
#include "shell/message_box.h"
#include "shell/vell_app.h"
#include "shell/view_options.h"

namespace {

// True when Qt would find no screen: no platform chosen and no X or Wayland display named.
bool NoDisplay() {
#if defined(__linux__)
    auto empty = [](const char* name) {
        const char* value = std::getenv(name);
        return !value || !*value;
    };
    return empty("QT_QPA_PLATFORM") && empty("DISPLAY") && empty("WAYLAND_DISPLAY");
#else
    return false;
#endif
}

// Saves a picture of the main window to `file` once it is on screen, then ends the program.
void ScheduleScreenshot(vell::CVellApp& app, const QString& file) {
    // A few ticks first, so the panes show what the game flow writes at start-up.
    QTimer::singleShot(500, &app, [&app, file] {
        const bool saved = app.mainFrame()->grab().save(file, "PNG");
        if (!saved)
            std::fprintf(stderr, "vell: cannot write the screenshot %s\n", qPrintable(file));
        QCoreApplication::exit(saved ? 0 : 1);
    });
}

}  // namespace

int main(int argc, char* argv[]) {
    if (const std::string cpu = vell::CheckCpuOverride(); !cpu.empty()) {
        std::fprintf(stderr, "vell: %s\n", cpu.c_str());
        return 2;
    }
    if (NoDisplay()) {
        std::fprintf(stderr,
                     "vell: no display (DISPLAY is not set); start it on a desktop or under "
                     "xvfb-run, or use vellcli\n");
        return 1;
    }
    QApplication application(argc, argv);
    // The window speaks the language the settings or the locale choose; the toolkit's own
    // buttons and dialogs follow it.
    vell::UseLanguage(vell::SystemLanguage(vell::ViewOptions::Load().language));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Vell"));
    parser.addHelpOption();
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Save a PNG of the window to FILE, then exit."), QStringLiteral("FILE"));
    parser.addOption(screenshot);
    parser.addPositionalArgument(QStringLiteral("record"), QStringLiteral("A game record to open."),
                                 QStringLiteral("[record]"));
    parser.process(application);
    const QStringList records = parser.positionalArguments();
    if (records.size() > 1) {
        std::fprintf(stderr, "vell: give at most one game record\n");
        return 2;
    }

    vell::CVellApp app;
    vell::CVellApp::Options options;
    options.tableAdvice = vell::AdviseHugePages;
    if (!records.isEmpty()) options.documentPath = records.front();
    QString error;
    if (!app.InitInstance(options, error)) {
        std::fprintf(stderr, "vell: %s\n", qPrintable(error));
        vell::ShowMessageBox(nullptr, error);
        return 1;
    }
    if (parser.isSet(screenshot)) ScheduleScreenshot(app, parser.value(screenshot));
    return application.exec();
}
