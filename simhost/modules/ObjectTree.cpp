#include "modules/ObjectTree.h"

void ObjectTree::rebuild(const std::map<uint32_t, ZHostObject*>& objects) {
    nodes_.clear();
    nodes_.reserve(objects.size());
    for (const auto& [id, object] : objects)
        nodes_.push_back({id, nullptr, nullptr, object});
    map_.root = build(0, nodes_.size());
}

// The middle of [first, last) becomes the root of that range.
ZHostMapNode* ObjectTree::build(std::size_t first, std::size_t last) {
    if (first >= last)
        return nullptr;
    const std::size_t middle = first + (last - first) / 2;
    ZHostMapNode& node = nodes_[middle];
    node.left = build(first, middle);
    node.right = build(middle + 1, last);
    return &node;
}
