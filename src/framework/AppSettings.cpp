#include "framework/AppSettings.h"

#include <QSettings>
#include <QVariant>

#include "framework/AppVersion.h"

namespace {

// Profile values are 32-bit integers; the bits are kept as stored, so a
// value written by another tool as -1 reads back as the largest unsigned.
template <typename T> void ReadValue(QSettings &profile, const char *key, T &field, T absent) {
    const QVariant value = profile.value(QLatin1String(key));
    if (!value.isValid()) {
        field = absent;
        return;
    }
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    field = ok ? static_cast<T>(static_cast<uint32_t>(number)) : absent;
}

template <typename T> void WriteIfChanged(QSettings &profile, const char *key, T &field, T edited) {
    if (field == edited)
        return;
    field = edited;
    profile.setValue(QLatin1String(key), QVariant::fromValue(edited));
    // Each change is on disk before the next one: there is no unsaved state.
    profile.sync();
}

} // namespace

void AppSettings::Load(QSettings &profile) {
    ReadValue(profile, "GeneralSettings/ShowMessage", ShowMessage, ShowMessage);
    ReadValue(profile, "GeneralSettings/MaxRecords", MaxRecords, MaxRecords);
    ReadValue(profile, "GeneralSettings/MaxURLHistory", MaxURLHistory, MaxURLHistory);
    ReadValue(profile, "GeneralSettings/QueryTimeout", QueryTimeout, QueryTimeout);
    ReadValue(profile, "GeneralSettings/CursorLib", CursorLib, CursorLib);

    ReadValue(profile, "TableSettings/SystemTables", SystemTables, 0);
    ReadValue(profile, "TableSettings/Views", Views, 0);
    ReadValue(profile, "TableSettings/Synonyms", Synonyms, 0);
    ReadValue(profile, "TableSettings/Procedures", Procedures, 0);

    ReadValue(profile, "ColumnInfoSettings/Length", Length, 0);
    ReadValue(profile, "ColumnInfoSettings/Precision", Precision, 0);
    ReadValue(profile, "ColumnInfoSettings/Nullability", Nullability, 0);
}

void AppSettings::ApplyChanges(const AppSettings &edited, QSettings &profile) {
    WriteIfChanged(profile, "TableSettings/SystemTables", SystemTables, edited.SystemTables);
    WriteIfChanged(profile, "TableSettings/Views", Views, edited.Views);
    WriteIfChanged(profile, "TableSettings/Synonyms", Synonyms, edited.Synonyms);
    WriteIfChanged(profile, "TableSettings/Procedures", Procedures, edited.Procedures);

    WriteIfChanged(profile, "ColumnInfoSettings/Length", Length, edited.Length);
    WriteIfChanged(profile, "ColumnInfoSettings/Precision", Precision, edited.Precision);
    WriteIfChanged(profile, "ColumnInfoSettings/Nullability", Nullability, edited.Nullability);

    WriteIfChanged(profile, "GeneralSettings/ShowMessage", ShowMessage, edited.ShowMessage);
    WriteIfChanged(profile, "GeneralSettings/MaxRecords", MaxRecords, edited.MaxRecords);
    WriteIfChanged(profile, "GeneralSettings/MaxURLHistory", MaxURLHistory, edited.MaxURLHistory);
    WriteIfChanged(profile, "GeneralSettings/QueryTimeout", QueryTimeout, edited.QueryTimeout);
    WriteIfChanged(profile, "GeneralSettings/CursorLib", CursorLib, edited.CursorLib);
}

std::unique_ptr<QSettings> AppSettings::Profile() {
    return std::make_unique<QSettings>(QStringLiteral("Quenwick"), AppVersion::Title());
}
