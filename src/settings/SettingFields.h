#pragma once

#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <type_traits>
#include <variant>

#include "profile/ProfileValues.h"

// One key of a settings section bound to a member of its record. A section's reader and writer
// walk the same table, so the two can never disagree on a key.
template <class Record> struct SettingField {
    const char* key;
    std::variant<bool Record::*, int32_t Record::*, uint32_t Record::*, double Record::*, std::string Record::*>
        member;
    int32_t maximum = std::numeric_limits<int32_t>::max(); // larger stored values read as this
    bool currentValueIsDefault = false; // a missing key keeps the record's value instead of the built-in one
    bool readOnly = false;              // never written back
    int decimals = -1;                  // floats: fixed decimals when written, "%f" when negative
};

// Reads every field; a missing key gives the default-constructed record's value.
template <class Record>
void readSettingFields(const std::string& file, const char* section, std::span<const SettingField<Record>> fields,
                       Record& record) {
    const Record defaults{};
    for (const SettingField<Record>& field : fields) {
        std::visit(
            [&](auto member) {
                using Value = std::remove_reference_t<decltype(record.*member)>;
                const Value& fallback = field.currentValueIsDefault ? record.*member : defaults.*member;
                if constexpr (std::is_same_v<Value, bool>) {
                    record.*member = profile::readBool(file, section, field.key, fallback);
                } else if constexpr (std::is_same_v<Value, int32_t>) {
                    int32_t value = profile::readInt(file, section, field.key, fallback);
                    record.*member = value > field.maximum ? field.maximum : value;
                } else if constexpr (std::is_same_v<Value, uint32_t>) {
                    record.*member = static_cast<uint32_t>(
                        profile::readInt(file, section, field.key, static_cast<int32_t>(fallback)));
                } else if constexpr (std::is_same_v<Value, double>) {
                    record.*member = profile::readFloat(file, section, field.key, fallback);
                } else {
                    record.*member = profile::readString(file, section, field.key, fallback);
                }
            },
            field.member);
    }
}

// Writes every field that is not read-only; a failed write does not stop the others.
template <class Record>
bool writeSettingFields(const std::string& file, const char* section, std::span<const SettingField<Record>> fields,
                        const Record& record) {
    bool allWritten = true;
    for (const SettingField<Record>& field : fields) {
        if (field.readOnly)
            continue;
        bool written = std::visit(
            [&](auto member) {
                using Value = std::remove_cvref_t<decltype(record.*member)>;
                if constexpr (std::is_same_v<Value, bool>)
                    return profile::writeBool(file, section, field.key, record.*member);
                else if constexpr (std::is_same_v<Value, int32_t>)
                    return profile::writeInt(file, section, field.key, record.*member);
                else if constexpr (std::is_same_v<Value, uint32_t>)
                    return profile::writeInt(file, section, field.key, static_cast<int32_t>(record.*member));
                else if constexpr (std::is_same_v<Value, double>)
                    return profile::writeFloat(file, section, field.key, record.*member, field.decimals);
                else
                    return profile::writeString(file, section, field.key, record.*member);
            },
            field.member);
        allWritten = allWritten && written;
    }
    return allWritten;
}
