#include "host/AircraftWalk.h"

#include "common/ZephrelException.h"

namespace AircraftWalk {
namespace {

enum class Direction { Up, Down };

const ZHostMapNode* outermost(const ZHostMapNode* node, Direction direction) {
    while (node != nullptr) {
        const ZHostMapNode* further = direction == Direction::Up ? node->left : node->right;
        if (further == nullptr)
            break;
        node = further;
    }
    return node;
}

uint32_t walk(const ZHostObjectMap* map, uint32_t id, uint32_t userId, const char* place, Direction direction) {
    if (map == nullptr)
        throw ZephrelException(ErrorCode::Unexpected, ZephrelException::StopsRecordingAndPlayback, place,
                               __LINE__, "NULL pointer returned");
    const bool up = direction == Direction::Up;
    // Past the last id the walk wraps to the first (up: the smallest, down: the greatest).
    const ZHostMapNode* fallback = outermost(map->root, direction);
    const ZHostMapNode* candidate = nullptr;
    bool seen = false;
    for (const ZHostMapNode* node = map->root; node != nullptr;) {
        if (node->key == id)
            seen = true;
        const bool beyond = up ? id >= node->key : id <= node->key;
        if (beyond) {
            node = up ? node->right : node->left;
        } else {
            candidate = node;
            node = up ? node->left : node->right;
        }
    }
    if (!seen)
        return userId;
    return candidate != nullptr ? candidate->key : fallback->key;
}

} // namespace

uint32_t next(const ZHostObjectMap* map, uint32_t id, uint32_t userId, const char* place) {
    return walk(map, id, userId, place, Direction::Up);
}

uint32_t previous(const ZHostObjectMap* map, uint32_t id, uint32_t userId, const char* place) {
    return walk(map, id, userId, place, Direction::Down);
}

} // namespace AircraftWalk
