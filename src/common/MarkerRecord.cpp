#include "common/MarkerRecord.h"

#include <algorithm>
#include <cstring>

#include "common/ZflFormat.h"

namespace MarkerRecord {

std::string encode(const Marker& marker) {
    const uint32_t textLength = std::min<uint32_t>(static_cast<uint32_t>(marker.text.size()), Zfl::kMaxMarkerText);
    const bool withCamera = marker.type == Marker::SwitchCamera;
    Zfl::MarkerHead head{};
    head.length = static_cast<uint16_t>(Zfl::kMarkerKnownFields + textLength + (withCamera ? Zfl::kCameraIdBytes : 0));
    head.time = marker.time;
    head.type = marker.type;
    head.flags = marker.flags;
    head.textLength = static_cast<uint8_t>(textLength);
    std::string bytes(reinterpret_cast<const char*>(&head), sizeof head);
    bytes.append(marker.text, 0, textLength);
    if (withCamera)
        bytes.append(reinterpret_cast<const char*>(marker.cameraId.data()), marker.cameraId.size());
    return bytes;
}

Decoded decode(std::string_view bytes, Marker& marker, std::size_t& size) {
    Zfl::MarkerHead head{};
    if (bytes.size() < sizeof head)
        return Decoded::Cut;
    std::memcpy(&head, bytes.data(), sizeof head);
    const bool withCamera = head.type == Marker::SwitchCamera;
    const std::size_t known =
        Zfl::kMarkerKnownFields + std::size_t{head.textLength} + (withCamera ? Zfl::kCameraIdBytes : 0);
    if (head.length < known)
        return Decoded::Damaged;
    size = sizeof head.length + std::size_t{head.length};
    if (bytes.size() < size)
        return Decoded::Cut;
    marker = Marker{};
    marker.time = head.time;
    marker.type = head.type;
    marker.flags = head.flags;
    const std::string_view text = bytes.substr(sizeof head, head.textLength);
    marker.text.assign(text.data(), strnlen(text.data(), text.size()));
    if (withCamera)
        std::memcpy(marker.cameraId.data(), bytes.data() + sizeof head + head.textLength, marker.cameraId.size());
    return Decoded::Whole;
}

} // namespace MarkerRecord
