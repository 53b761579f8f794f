#pragma once

#include <functional>

#include "core/settings.h"

namespace vell {

// The sixteen settings as the user keeps them: QSettings with organisation "TolvaSoftware",
// application "Tamu3", values Config0..Config15 of the group "Settings". The live array is
// the one the game reads; every change goes to both at once.
class SettingsStore : public SettingsWriter {
  public:
    explicit SettingsStore(Settings& live) : live(live) {}

    // Fills the live array from the stored values; a missing value gives its default. A value
    // that is not a whole number also gives its default and a warning on standard error.
    // Reading writes nothing.
    void Load();

    // Stores one setting in the live array and writes it at once.
    void WriteSetting(int index, int value) override;

    // Stores all sixteen in the live array and writes every one of them, changed or not.
    // False when the values could not be written (the live array holds them all the same).
    bool WriteAll(const Settings& values);

    Settings& settings() { return live; }

    // Called once, at the first write that fails (QSettings reports an error); later failures
    // are not reported again.
    void SetFailureReport(std::function<void()> report) { failureReport = std::move(report); }

  private:
    void CheckWritten(int status);

    Settings& live;
    std::function<void()> failureReport;
    bool failureReported = false;
};

}  // namespace vell
