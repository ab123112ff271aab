#include "installer/SessionProperties.h"

#include <stdexcept>
#include <vector>

std::string readProperty(MSIHANDLE install, const PropertyRead& property) {
    std::vector<char> buffer(property.capacity);
    uint32_t length = property.capacity;
    const uint32_t result = MsiGetProperty(install, property.name, buffer.data(), &length);
    if (result == ERROR_MORE_DATA)
        throw std::runtime_error(std::string("the property ") + property.name + " is longer than " +
                                 std::to_string(property.capacity - 1) + " bytes");
    if (result != ERROR_SUCCESS)
        throw std::runtime_error(std::string("the property ") + property.name + " cannot be read (error " +
                                 std::to_string(result) + ")");
    return std::string(buffer.data(), length);
}

void setProperty(MSIHANDLE install, const char* name, const char* value) {
    const uint32_t result = MsiSetProperty(install, name, value);
    if (result != ERROR_SUCCESS)
        throw std::runtime_error(std::string("the property ") + name + " cannot be set (error " +
                                 std::to_string(result) + ")");
}
