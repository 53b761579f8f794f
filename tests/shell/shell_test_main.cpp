#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/shell/shell_test_classes.h"

namespace {

// Qt Test options that take a value.
bool TakesValue(const QString& option) {
    static const QStringList withValue = {
        "-o",        "-maxwarnings", "-eventdelay",   "-keydelay",     "-mousedelay", "-repeat",
        "-platform", "-iterations",  "-minimumvalue", "-minimumtotal", "-median"};
    return withValue.contains(option);
}

// The command line for one test class: every option, and only the test functions (with or
// without a data tag) that the class has. `named` tells whether any function was named at all,
// `own` whether one of them belongs to this class.
QStringList ArgumentsFor(const QObject* test, const QStringList& arguments, bool& named,
                         bool& own) {
    named = own = false;
    QStringList result{arguments.front()};
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument.startsWith(QLatin1Char('-'))) {
            result << argument;
            if (TakesValue(argument) && i + 1 < arguments.size()) result << arguments[++i];
            continue;
        }
        named = true;
        const QString function = argument.section(QLatin1Char(':'), 0, 0);
        const QMetaObject* meta = test->metaObject();
        if (meta->indexOfMethod(QMetaObject::normalizedSignature(qPrintable(function + "()"))) >=
            0) {
            result << argument;
            own = true;
        }
    }
    return result;
}

}  // namespace

// Runs every GUI test class in one program; test functions named on the command line run in
// the classes that have them. QSettings points at a temporary folder for the whole run, so no
// test reads or writes the user's own settings.
int main(int argc, char* argv[]) {
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    QTemporaryDir settingsDir;
    if (!settingsDir.isValid()) return 2;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());

    const QStringList arguments = application.arguments();
    int failures = 0;
    for (QObject* test : vell::testing::MakeTests(&application)) {
        bool named = false, own = false;
        const QStringList testArguments = ArgumentsFor(test, arguments, named, own);
        if (named && !own) continue;
        failures += QTest::qExec(test, testArguments);
    }
    return failures == 0 ? 0 : 1;
}
