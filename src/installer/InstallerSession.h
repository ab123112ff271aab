#pragma once

#include <map>
#include <string>

#include "installer/Msi.h"

// The running installation as the custom actions see it: a bag of named properties behind a
// handle that the property functions of Msi.h accept for as long as the session lives. Property
// names are case-sensitive, as the installer's are.
class InstallerSession {
public:
    InstallerSession();
    ~InstallerSession();
    InstallerSession(const InstallerSession&) = delete;
    InstallerSession& operator=(const InstallerSession&) = delete;

    MSIHANDLE handle() const { return handle_; }

    void setProperty(const std::string& name, const std::string& value);
    // "" when the property is not set.
    std::string property(const std::string& name) const;
    std::map<std::string, std::string> properties() const;

private:
    MSIHANDLE handle_;
};
