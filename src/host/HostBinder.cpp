#include "host/HostBinder.h"

#include <dlfcn.h>

#include <algorithm>
#include <cassert>

#include "common/ZephrelException.h"

namespace {

constexpr const char* kPlace = "FSinterface::init";

constexpr std::array<std::array<uint16_t, 4>, kHostVersionCount> kAcceptedVersions = {{
    {10, 0, 60905, 0},
    {10, 0, 61355, 0},
    {10, 0, 61472, 0},
    {10, 0, 61637, 0},
    {1, 0, 195, 0},
}};

[[noreturn]] void initializationFailed(const char* text, uint32_t line) {
    throw ZephrelException(ErrorCode::InitializationFailed, ZephrelException::DisablesModule, kPlace, line, text);
}

void* required(void* pointer, const char* text, uint32_t line) {
    if (pointer == nullptr)
        initializationFailed(text, line);
    return pointer;
}

} // namespace

ZHostGetModuleFn HostBinder::findLookup() {
    return reinterpret_cast<ZHostGetModuleFn>(dlsym(RTLD_DEFAULT, ZHOST_GET_MODULE));
}

const ZHostModule& HostBinder::module(const char* name) const {
    const ZHostModule* found = lookup_ != nullptr ? lookup_(name) : nullptr;
    if (found == nullptr)
        initializationFailed("Module handle is NULL", __LINE__);
    return *found;
}

std::string HostBinder::versionText(const uint16_t (&version)[4]) {
    return std::to_string(version[0]) + "." + std::to_string(version[1]) + "." + std::to_string(version[2]) + "." +
           std::to_string(version[3]);
}

int HostBinder::checkVersion(const ZHostModule& api) {
    for (int i = 0; i < kHostVersionCount; ++i)
        if (std::equal(std::begin(api.fileVersion), std::end(api.fileVersion),
                       kAcceptedVersions[static_cast<std::size_t>(i)].begin())) {
            versionIndex_ = i;
            return i;
        }
    throw ZephrelException(ErrorCode::NotCompatible, ZephrelException::DisablesModule, kPlace, __LINE__,
                           versionText(api.fileVersion));
}

uint32_t HostBinder::at(const PerVersion& numbers) const {
    assert(versionIndex_ >= 0 && "the host version is checked before anything is bound");
    return numbers[static_cast<std::size_t>(versionIndex_)];
}

void* HostBinder::entry(const ZHostModule& module, const PerVersion& numbers) const {
    return required(module.entry != nullptr ? module.entry(&module, at(numbers)) : nullptr,
                    "Function pointer is NULL", __LINE__);
}

void* HostBinder::entry(const ZHostModule& module, const char* name) const {
    return required(module.entryByName != nullptr ? module.entryByName(&module, name) : nullptr,
                    "Function pointer is NULL", __LINE__);
}

void* HostBinder::data(const ZHostModule& module, const PerVersion& offsets) const {
    return required(module.data != nullptr ? module.data(&module, at(offsets)) : nullptr, "Global pointer is NULL",
                    __LINE__);
}

void* HostBinder::exported(const ZHostModule& module, const char* name) const {
    return required(module.exported != nullptr ? module.exported(&module, name) : nullptr,
                    "Global pointer is NULL", __LINE__);
}
