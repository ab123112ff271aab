#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "host/hostabi.h"

// One named module of the stand-in simulator as the add-on sees it: entry points by number and
// by name, data words by offset and exported data records by name. Anything can be withheld, so
// that tests see how the add-on copes with a host that lacks it.
class HostModule {
public:
    HostModule(std::string name, const uint16_t (&fileVersion)[4]);
    HostModule(const HostModule&) = delete;
    HostModule& operator=(const HostModule&) = delete;

    const ZHostModule* abi() const { return &abi_; }
    const std::string& name() const { return name_; }

    void setEntry(uint32_t number, void* function) { entries_[number] = function; }
    void setNamedEntry(const std::string& name, void* function) { namedEntries_[name] = function; }
    void setData(uint32_t offset, void* word) { data_[offset] = word; }
    void setExported(const std::string& name, void* record) { exported_[name] = record; }

    void withholdEntry(uint32_t number) { withheldEntries_.insert(number); }
    void withholdNamedEntry(const std::string& name) { withheldNames_.insert(name); }
    void withholdData(uint32_t offset) { withheldData_.insert(offset); }
    void withholdExported(const std::string& name) { withheldExported_.insert(name); }

    void* entry(uint32_t number) const;
    void* namedEntry(const std::string& name) const;
    void* data(uint32_t offset) const;
    void* exported(const std::string& name) const;

private:
    static HostModule& of(const ZHostModule* module);

    std::string name_;
    ZHostModule abi_{};
    std::map<uint32_t, void*> entries_;
    std::map<std::string, void*> namedEntries_;
    std::map<uint32_t, void*> data_;
    std::map<std::string, void*> exported_;
    std::set<uint32_t> withheldEntries_;
    std::set<std::string> withheldNames_;
    std::set<uint32_t> withheldData_;
    std::set<std::string> withheldExported_;
};
