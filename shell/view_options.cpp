#include "shell/view_options.h"

#include <QSettings>

namespace vell {

namespace {

const char* const Organisation = "TolvaSoftware";
const char* const Application = "Tamu3";
const char* const SquareNamesKey = "View/squareNames";
const char* const AnimationKey = "View/animation";
const char* const SoundKey = "View/sound";

}  // namespace

ViewOptions ViewOptions::Load() {
    QSettings store(Organisation, Application);
    ViewOptions options;
    options.squareNames = store.value(SquareNamesKey, options.squareNames).toBool();
    options.animation = store.value(AnimationKey, options.animation).toBool();
    options.sound = store.value(SoundKey, options.sound).toBool();
    return options;
}

void ViewOptions::Store() const {
    QSettings store(Organisation, Application);
    store.setValue(SquareNamesKey, squareNames);
    store.setValue(AnimationKey, animation);
    store.setValue(SoundKey, sound);
}

}  // namespace vell
