#include "shell/view_options.h"

#include <QSettings>

namespace vell {

namespace {

const char* const Organisation = "TolvaSoftware";
const char* const Application = "Tamu3";
const char* const SquareNamesKey = "View/squareNames";
const char* const AnimationKey = "View/animation";
const char* const SoundKey = "View/sound";
const char* const LanguageKey = "View/language";
// The stored names of the language choices, in the order of LanguageChoice.
const char* const LanguageNames[] = {"auto", "ja", "en"};

LanguageChoice LanguageNamed(const QString& name) {
    for (int i = 0; i < 3; ++i)
        if (name == QLatin1String(LanguageNames[i])) return static_cast<LanguageChoice>(i);
    return LanguageChoice::Automatic;
}

}  // namespace

ViewOptions ViewOptions::Load() {
    QSettings store(Organisation, Application);
    ViewOptions options;
    options.squareNames = store.value(SquareNamesKey, options.squareNames).toBool();
    options.animation = store.value(AnimationKey, options.animation).toBool();
    options.sound = store.value(SoundKey, options.sound).toBool();
    options.language = LanguageNamed(store.value(LanguageKey).toString());
    return options;
}

void ViewOptions::Store() const {
    QSettings store(Organisation, Application);
    store.setValue(SquareNamesKey, squareNames);
    store.setValue(AnimationKey, animation);
    store.setValue(SoundKey, sound);
    store.setValue(LanguageKey, QLatin1String(LanguageNames[static_cast<int>(language)]));
}

}  // namespace vell
