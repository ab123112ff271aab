#include "services/TextResources.h"

uint32_t TextResources::create(const char* text) {
    if (text == nullptr) {
        wrongForms_.report("textCreate without a text");
        return 0;
    }
    texts_[nextHandle_] = text;
    return nextHandle_++;
}

void TextResources::free(uint32_t handle) {
    if (texts_.erase(handle) == 0)
        wrongForms_.report("textFree(" + std::to_string(handle) + ") of a text that does not exist");
}

const std::string* TextResources::find(uint32_t handle) const {
    const auto found = texts_.find(handle);
    return found == texts_.end() ? nullptr : &found->second;
}
