#include "shell/settings_store.h"

#include <QSettings>
#include <QString>
#include <QtGlobal>

namespace vell {

namespace {

const char* const Organisation = "TolvaSoftware";
const char* const Application = "Tamu3";
const char* const Group = "Settings";

QString KeyOf(int index) {
    return QStringLiteral("Config%1").arg(index);
}

}  // namespace

void SettingsStore::Load() {
    QSettings store(Organisation, Application);
    store.beginGroup(Group);
    for (int i = 0; i < SettingCount; ++i) {
        live[i] = DefaultSettings[i];
        const QVariant value = store.value(KeyOf(i));
        if (!value.isValid()) continue;
        bool ok = false;
        const int number = value.toInt(&ok);
        if (ok)
            live[i] = number;
        else
            qWarning("vell: setting %s is not a whole number; using %d", qPrintable(KeyOf(i)),
                     DefaultSettings[i]);
    }
}

void SettingsStore::WriteSetting(int index, int value) {
    if (index < 0 || index >= SettingCount) return;
    live[index] = value;
    QSettings store(Organisation, Application);
    store.beginGroup(Group);
    store.setValue(KeyOf(index), value);
    store.sync();
    if (store.status() != QSettings::NoError)
        qWarning("vell: could not write setting %s", qPrintable(KeyOf(index)));
    CheckWritten(store.status());
}

bool SettingsStore::WriteAll(const Settings& values) {
    live = values;
    QSettings store(Organisation, Application);
    store.beginGroup(Group);
    for (int i = 0; i < SettingCount; ++i)
        store.setValue(KeyOf(i), values[i]);
    store.sync();
    CheckWritten(store.status());
    return store.status() == QSettings::NoError;
}

void SettingsStore::CheckWritten(int status) {
    if (status == QSettings::NoError || failureReported) return;
    failureReported = true;
    if (failureReport) failureReport();
}

}  // namespace vell
