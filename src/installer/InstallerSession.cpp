#include "installer/InstallerSession.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace {

using Properties = std::map<std::string, std::string>;

// The open sessions by handle. Handles count up from 1 and are not reused, so a stale handle
// never reaches another session's properties.
struct Sessions {
    std::mutex mutex;
    std::map<MSIHANDLE, Properties> open;
    MSIHANDLE last = 0;
};

Sessions& sessions() {
    static Sessions all;
    return all;
}

} // namespace

InstallerSession::InstallerSession() {
    Sessions& all = sessions();
    const std::lock_guard lock(all.mutex);
    handle_ = ++all.last;
    all.open[handle_];
}

InstallerSession::~InstallerSession() {
    Sessions& all = sessions();
    const std::lock_guard lock(all.mutex);
    all.open.erase(handle_);
}

void InstallerSession::setProperty(const std::string& name, const std::string& value) {
    MsiSetProperty(handle_, name.c_str(), value.c_str());
}

std::string InstallerSession::property(const std::string& name) const {
    const Properties all = properties();
    const auto found = all.find(name);
    return found == all.end() ? std::string() : found->second;
}

std::map<std::string, std::string> InstallerSession::properties() const {
    Sessions& all = sessions();
    const std::lock_guard lock(all.mutex);
    return all.open.at(handle_);
}

extern "C" uint32_t MsiGetProperty(MSIHANDLE install, const char* name, char* value, uint32_t* capacity) {
    Sessions& all = sessions();
    const std::lock_guard lock(all.mutex);
    const auto session = all.open.find(install);
    if (session == all.open.end())
        return ERROR_INVALID_HANDLE;
    if (name == nullptr || capacity == nullptr)
        return ERROR_INVALID_PARAMETER;
    const auto found = session->second.find(name);
    const std::string text = found == session->second.end() ? std::string() : found->second;
    const uint32_t room = *capacity;
    *capacity = static_cast<uint32_t>(text.size());
    if (value == nullptr)
        return ERROR_SUCCESS;
    if (room == 0)
        return ERROR_MORE_DATA;
    const std::size_t copied = std::min<std::size_t>(text.size(), room - 1);
    std::memcpy(value, text.data(), copied);
    value[copied] = '\0';
    return copied == text.size() ? ERROR_SUCCESS : ERROR_MORE_DATA;
}

extern "C" uint32_t MsiSetProperty(MSIHANDLE install, const char* name, const char* value) {
    Sessions& all = sessions();
    const std::lock_guard lock(all.mutex);
    const auto session = all.open.find(install);
    if (session == all.open.end())
        return ERROR_INVALID_HANDLE;
    if (name == nullptr || *name == '\0')
        return ERROR_INVALID_PARAMETER;
    if (value == nullptr || *value == '\0')
        session->second.erase(name);
    else
        session->second[name] = value;
    return ERROR_SUCCESS;
}
