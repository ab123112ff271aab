#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "host/hostabi.h"

// The simulator's ordered map of simulation objects in the form add-ons read it: a binary search
// tree keyed by aircraft id. It is rebuilt, balanced, from the world's own map whenever that
// changes; add-ons walk it within a frame and keep no node.
class ObjectTree {
public:
    void rebuild(const std::map<uint32_t, ZHostObject*>& objects);
    ZHostObjectMap* abi() { return &map_; }

private:
    ZHostMapNode* build(std::size_t first, std::size_t last);

    std::vector<ZHostMapNode> nodes_;
    ZHostObjectMap map_{};
};
