#include "shell/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QStringList>
#include <QTranslator>

namespace vell {

namespace {

// The built-in catalogue of the window's texts, and the toolkit's own for its buttons and
// dialogs (its source language is English, so English needs none).
const char* const WindowCatalogue = ":/i18n/vell_en.qm";
const char* const ToolkitJapanese = "qtbase_ja";

Language current = Language::Japanese;
QPointer<QTranslator> windowTexts;
QPointer<QTranslator> toolkitTexts;

// The language part of a locale or LANGUAGE entry: "en" of "en_US.UTF-8", "ja" of "ja".
QString LanguageCode(const QString& name) {
    QString code = name.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    code = code.section(QLatin1Char('_'), 0, 0).section(QLatin1Char('-'), 0, 0);
    return code.trimmed().toLower();
}

void Remove(QPointer<QTranslator>& translator) {
    if (!translator) return;
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

}  // namespace

Language ResolveLanguage(LanguageChoice choice, const QString& localeName,
                         const QString& languageList) {
    if (choice == LanguageChoice::Japanese) return Language::Japanese;
    if (choice == LanguageChoice::English) return Language::English;
    for (const QString& entry : languageList.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        const QString code = LanguageCode(entry);
        if (code == QLatin1String("en")) return Language::English;
        if (code == QLatin1String("ja")) return Language::Japanese;
    }
    return LanguageCode(localeName) == QLatin1String("en") ? Language::English : Language::Japanese;
}

Language SystemLanguage(LanguageChoice choice) {
    QString locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = qEnvironmentVariable(name);
        if (!locale.isEmpty()) break;
    }
    if (locale.isEmpty()) locale = QLocale::system().name();
    return ResolveLanguage(choice, locale, qEnvironmentVariable("LANGUAGE"));
}

void UseLanguage(Language language) {
    QCoreApplication* app = QCoreApplication::instance();
    Remove(windowTexts);
    Remove(toolkitTexts);
    if (language == Language::English) {
        windowTexts = new QTranslator(app);
        if (windowTexts->load(QString::fromLatin1(WindowCatalogue)))
            QCoreApplication::installTranslator(windowTexts);
    } else {
        toolkitTexts = new QTranslator(app);
        if (toolkitTexts->load(QString::fromLatin1(ToolkitJapanese),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(toolkitTexts);
    }
    current = language;
    Q_EMIT LanguageNotifier::Instance()->Changed();
}

Language CurrentLanguage() {
    return current;
}

LanguageNotifier* LanguageNotifier::Instance() {
    static QPointer<LanguageNotifier> notifier;
    if (!notifier) notifier = new LanguageNotifier(QCoreApplication::instance());
    return notifier;
}

}  // namespace vell
