#include "modules/HostModule.h"

#include <algorithm>

namespace {

template <typename Key>
void* lookup(const std::map<Key, void*>& table, const std::set<Key>& withheld, const Key& key) {
    if (withheld.count(key) != 0)
        return nullptr;
    const auto found = table.find(key);
    return found == table.end() ? nullptr : found->second;
}

} // namespace

HostModule::HostModule(std::string name, const uint16_t (&fileVersion)[4]) : name_(std::move(name)) {
    abi_.name = name_.c_str();
    std::copy(std::begin(fileVersion), std::end(fileVersion), abi_.fileVersion);
    abi_.entry = [](const ZHostModule* m, uint32_t number) { return of(m).entry(number); };
    abi_.entryByName = [](const ZHostModule* m, const char* n) { return n ? of(m).namedEntry(n) : nullptr; };
    abi_.data = [](const ZHostModule* m, uint32_t offset) { return of(m).data(offset); };
    abi_.exported = [](const ZHostModule* m, const char* n) { return n ? of(m).exported(n) : nullptr; };
    abi_.host = this;
}

HostModule& HostModule::of(const ZHostModule* module) { return *static_cast<HostModule*>(module->host); }

void* HostModule::entry(uint32_t number) const { return lookup(entries_, withheldEntries_, number); }

void* HostModule::namedEntry(const std::string& name) const { return lookup(namedEntries_, withheldNames_, name); }

void* HostModule::data(uint32_t offset) const { return lookup(data_, withheldData_, offset); }

void* HostModule::exported(const std::string& name) const { return lookup(exported_, withheldExported_, name); }
