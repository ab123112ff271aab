// The simulator's dll.xml as the installer action finds it, any bytes: either it is refused
// cleanly (not well-formed, not a launch list, an encoding that cannot be written back), or the
// add-on's entry is added and the list written loads again with that entry once; removed again,
// the list loads once more and, when it had neither the entry nor an empty one, is the file it
// was, byte for byte (unless its root was empty, as in "<SimBase.Document></SimBase.Document>":
// the entry's line break stays).

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "installer/LaunchList.h"
#include "installer/XmlDocument.h"
#include "installer/XmlError.h"

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

pugi::xml_node launchRoot(const XmlDocument& list) {
    return list.select(list.document(), "SimBase.Document[@Type='Launch']");
}

std::size_t entries(const XmlDocument& list, const char* query) {
    return launchRoot(list).select_nodes(query).size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::optional<XmlDocument> list;
    try {
        list = XmlDocument::parse(input);
        LaunchList::addEntry(*list, "Zephrel", "/opt/zephrel/Zephrel_FSX.so");
    } catch (const XmlError&) {
        return 0;
    }
    const XmlDocument original = XmlDocument::parse(input);
    const bool untouched = launchRoot(original).first_child() &&
                           entries(original, "Launch.Addon[Name='Zephrel' or normalize-space(.)='']") == 0;

    XmlDocument added = XmlDocument::parse(list->bytes());
    require(entries(added, "Launch.Addon[Name='Zephrel' and Path='/opt/zephrel/Zephrel_FSX.so']") >= 1);
    LaunchList::removeEntry(added, "Zephrel");
    const std::string removed = added.bytes();
    require(XmlDocument::parse(removed).document().first_child());
    require(!untouched || removed == input);
    return 0;
}
