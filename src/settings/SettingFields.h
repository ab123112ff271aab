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

// Whether the section holds the key at all, even with an empty value.
bool hasSettingKey(const std::string& file, const char* section, const char* key);

// A value as the settings readers read it: a missing key gives `fallback`, and an int above
// `maximum` reads as `maximum`.
template <class Value>
Value readSettingValue(const std::string& file, const char* section, const char* key, const Value& fallback,
                       int32_t maximum = std::numeric_limits<int32_t>::max()) {
    if constexpr (std::is_same_v<Value, bool>) {
        return profile::readBool(file, section, key, fallback);
    } else if constexpr (std::is_same_v<Value, int32_t>) {
        const int32_t value = profile::readInt(file, section, key, fallback);
        return value > maximum ? maximum : value;
    } else if constexpr (std::is_same_v<Value, uint32_t>) {
        return static_cast<uint32_t>(profile::readInt(file, section, key, static_cast<int32_t>(fallback)));
    } else if constexpr (std::is_same_v<Value, double>) {
        return profile::readFloat(file, section, key, fallback);
    } else {
        return profile::readString(file, section, key, fallback);
    }
}

template <class Value>
bool writeSettingValue(const std::string& file, const char* section, const char* key, const Value& value,
                       int decimals = -1) {
    if constexpr (std::is_same_v<Value, bool>)
        return profile::writeBool(file, section, key, value);
    else if constexpr (std::is_same_v<Value, int32_t>)
        return profile::writeInt(file, section, key, value);
    else if constexpr (std::is_same_v<Value, uint32_t>)
        return profile::writeInt(file, section, key, static_cast<int32_t>(value));
    else if constexpr (std::is_same_v<Value, double>)
        return profile::writeFloat(file, section, key, value, decimals);
    else
        return profile::writeString(file, section, key, value);
}

// What a float reads back as once written with `decimals` (negative: six).
double floatAsWritten(double value, int decimals);

// Writes the value only when the key is missing or reads back as something else, so that a
// hand-edited file keeps every byte outside the lines of values that really changed. `fallback`
// and `maximum` are the reader's, so a value the reader would see anyway is left as it is.
template <class Value>
bool updateSettingValue(const std::string& file, const char* section, const char* key, const Value& value,
                        const Value& fallback, int32_t maximum = std::numeric_limits<int32_t>::max(),
                        int decimals = -1) {
    if (hasSettingKey(file, section, key)) {
        const Value stored = readSettingValue<Value>(file, section, key, fallback, maximum);
        bool same = false;
        if constexpr (std::is_same_v<Value, double>)
            same = stored == floatAsWritten(value, decimals);
        else
            same = stored == value;
        if (same)
            return true;
    }
    return writeSettingValue<Value>(file, section, key, value, decimals);
}

// Reads every field; a missing key gives the default-constructed record's value.
template <class Record>
void readSettingFields(const std::string& file, const char* section, std::span<const SettingField<Record>> fields,
                       Record& record) {
    const Record defaults{};
    for (const SettingField<Record>& field : fields) {
        std::visit(
            [&](auto member) {
                using Value = std::remove_cvref_t<decltype(record.*member)>;
                const Value& fallback = field.currentValueIsDefault ? record.*member : defaults.*member;
                record.*member = readSettingValue<Value>(file, section, field.key, fallback, field.maximum);
            },
            field.member);
    }
}

// Writes every field that is not read-only and whose value the file does not hold already; a
// failed write does not stop the others.
template <class Record>
bool writeSettingFields(const std::string& file, const char* section, std::span<const SettingField<Record>> fields,
                        const Record& record) {
    const Record defaults{};
    bool allWritten = true;
    for (const SettingField<Record>& field : fields) {
        if (field.readOnly)
            continue;
        const bool written = std::visit(
            [&](auto member) {
                using Value = std::remove_cvref_t<decltype(record.*member)>;
                return updateSettingValue<Value>(file, section, field.key, record.*member, defaults.*member,
                                                 field.maximum, field.decimals);
            },
            field.member);
        allWritten = allWritten && written;
    }
    return allWritten;
}
