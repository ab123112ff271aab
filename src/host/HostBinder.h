#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "host/hostabi.h"

// Host versions the module accepts, in the order of their version index; the build tag of index i
// is i + 1.
constexpr int kHostVersionCount = 5;

// One number per host version: an entry-point number or a data offset.
using PerVersion = std::array<uint32_t, kHostVersionCount>;

// Binds what the module needs from the simulator: finds the host's lookup function among what is
// already loaded, checks the host version, and hands out entry points and data words by the
// number that the host version gives them. Every failure is a ZephrelException that disables the
// module, with the place "FSinterface::init".
class HostBinder {
public:
    // The lookup of the host process, or null when the process offers none.
    static ZHostGetModuleFn findLookup();

    explicit HostBinder(ZHostGetModuleFn lookup) : lookup_(lookup) {}

    // "Module handle is NULL" when the host has no module of that name.
    const ZHostModule& module(const char* name) const;

    // api.dll's file version as the module's version index (0..4), else "not compatible" with the
    // version as "%d.%d.%d.%d"; sets the index the numbers below are taken with.
    int checkVersion(const ZHostModule& api);
    int versionIndex() const { return versionIndex_; }

    // "Function pointer is NULL" when missing.
    void* entry(const ZHostModule& module, const PerVersion& numbers) const;
    void* entry(const ZHostModule& module, const char* name) const;
    // "Global pointer is NULL" when missing.
    void* data(const ZHostModule& module, const PerVersion& offsets) const;
    void* exported(const ZHostModule& module, const char* name) const;

    template <typename Fn> Fn function(const ZHostModule& module, const PerVersion& numbers) const {
        return reinterpret_cast<Fn>(entry(module, numbers));
    }
    template <typename Fn> Fn function(const ZHostModule& module, const char* name) const {
        return reinterpret_cast<Fn>(entry(module, name));
    }
    template <typename T> T* word(const ZHostModule& module, const PerVersion& offsets) const {
        return static_cast<T*>(data(module, offsets));
    }

    static std::string versionText(const uint16_t (&version)[4]);

private:
    uint32_t at(const PerVersion& numbers) const;

    ZHostGetModuleFn lookup_;
    int versionIndex_ = -1;
};
