#pragma once

#include <cstdint>
#include <memory>

class QSettings;

// The settings record every part of the program reads. Defaults are those of a
// first run with an empty profile.
struct AppSettings {
    int32_t CursorLib = 1;
    int32_t SystemTables = 0;
    int32_t Views = 0;
    int32_t Synonyms = 0;
    int32_t Procedures = 0;
    int32_t Length = 0;
    int32_t Precision = 0;
    int32_t Nullability = 0;
    int32_t ShowMessage = 1;
    uint32_t QueryTimeout = 45;
    uint32_t MaxRecords = 100;
    uint32_t MaxURLHistory = 10;

    bool operator==(const AppSettings &) const = default;

    // The per-user profile: QSettings("Quenwick", "Brindle").
    static std::unique_ptr<QSettings> Profile();

    // Reads the profile; an absent value keeps the current field value in
    // "GeneralSettings" and becomes 0 in the other sections.
    void Load(QSettings &profile);
    // Stores into *this, and writes at once, only the values of `edited` that
    // differ, in the profile's write order.
    void ApplyChanges(const AppSettings &edited, QSettings &profile);
};
