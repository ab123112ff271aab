#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "world/SimContext.h"

// g2d.dll's text resources: texts add-ons create to have them drawn into views, by handle
// (counted from 1, never reused).
class TextResources {
public:
    explicit TextResources(WrongForms& wrongForms) : wrongForms_(wrongForms) {}

    uint32_t create(const char* text);
    // Freeing a handle that is not one is a wrong form.
    void free(uint32_t handle);
    // Null for a handle that is not one.
    const std::string* find(uint32_t handle) const;
    std::size_t count() const { return texts_.size(); }

private:
    WrongForms& wrongForms_;
    std::map<uint32_t, std::string> texts_;
    uint32_t nextHandle_ = 1;
};
