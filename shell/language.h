#pragma once

#include <QObject>
#include <QString>

namespace vell {

// The window's languages. Japanese is the source language: its texts are the program's own and
// need no catalogue; English comes from the catalogue built into the program.
enum class Language { Japanese, English };

// The choice under "表示(&V)" > "言語 / Language": follow the system, or one language.
enum class LanguageChoice { Automatic, Japanese, English };

// The language for `choice`. A fixed choice wins. "Automatic" takes the first entry of
// `languageList` (the LANGUAGE variable, entries separated by colons) that names a language with
// a catalogue, else the language of `localeName` ("en_US.UTF-8", "ja_JP", "C"): English for
// English, Japanese for Japanese and for every other locale, C and POSIX included.
Language ResolveLanguage(LanguageChoice choice, const QString& localeName,
                         const QString& languageList);
// The same for this process: LC_ALL, LC_MESSAGES or LANG (else the system locale) and LANGUAGE.
Language SystemLanguage(LanguageChoice choice);

// Installs the window's and the toolkit's catalogues for `language` in place of the ones before
// and tells every open window to retranslate. Window thread only; needs the application object.
void UseLanguage(Language language);
// The language last given to UseLanguage; Japanese before the first call.
Language CurrentLanguage();

// Announces each change of language to the window's texts.
class LanguageNotifier : public QObject {
    Q_OBJECT

  public:
    using QObject::QObject;

    // The one notifier, a child of the application object.
    static LanguageNotifier* Instance();

  Q_SIGNALS:
    void Changed();
};

// Runs `apply` (which sets texts of `owner`) now and again after every change of language, for
// as long as `owner` lives.
template <class Apply>
void Retranslated(QObject* owner, Apply apply) {
    apply();
    QObject::connect(LanguageNotifier::Instance(), &LanguageNotifier::Changed, owner, apply);
}

}  // namespace vell
