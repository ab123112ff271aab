#include "installer/LaunchList.h"

#include <filesystem>
#include <utility>

#include "installer/XmlError.h"

namespace {

// The name is a variable of the query, never part of its text, so that any name finds exactly
// its own entry.
constexpr const char* kNameQuery = "Launch.Addon/Name[.=$name]";
// What a document object model that drops whitespace between elements sees as empty.
constexpr const char* kEmptyEntryQuery = "Launch.Addon[normalize-space(.)='']";

pugi::xml_node root(const XmlDocument& list, const char* query) {
    const pugi::xml_node found = list.select(list.document(), query);
    if (!found)
        throw XmlError(std::string("the file has no ") + query);
    return found;
}

// The entry whose Name is the name; null when there is none.
pugi::xml_node entryNamed(const XmlDocument& list, pugi::xml_node root, const std::string& name) {
    if (name.empty())
        throw XmlError("the add-on's name is empty");
    pugi::xpath_variable_set variables;
    variables.set("name", name.c_str());
    return list.select(root, kNameQuery, &variables).parent();
}

} // namespace

std::string LaunchList::filePath(const std::string& appDataFolder) {
    return (std::filesystem::path(appDataFolder) / "Microsoft" / "FSX" / "dll.xml").string();
}

XmlDocument LaunchList::create() {
    XmlDocument list = XmlDocument::create("SimBase.Document");
    const pugi::xml_node root = list.document().first_child();
    list.setAttribute(root, "Type", "Launch");
    list.setAttribute(root, "version", "1,0");
    for (const auto& [element, text] :
         {std::pair{"Descr", "Launch"}, std::pair{"Filename", "dll.xml"}, std::pair{"Disabled", "False"},
          std::pair{"Launch.ManualLoad", "False"}})
        list.setText(list.addElement(root, element), text);
    return list;
}

void LaunchList::addEntry(XmlDocument& list, const std::string& name, const std::string& modulePath) {
    const pugi::xml_node launch = root(list, "SimBase.Document[@Type='Launch']");
    pugi::xml_node entry = entryNamed(list, launch, name);
    if (!entry) {
        entry = list.addElement(launch, "Launch.Addon");
        list.setText(list.addElement(entry, "Name"), name);
    }
    for (const auto& [element, text] : {std::pair<const char*, std::string>{"Disabled", "False"},
                                        std::pair<const char*, std::string>{"ManualLoad", "False"},
                                        std::pair<const char*, std::string>{"Path", modulePath}}) {
        pugi::xml_node child = list.select(entry, element);
        if (!child)
            child = list.addElement(entry, element);
        list.setText(child, text);
    }
}

void LaunchList::removeEntry(XmlDocument& list, const std::string& name) {
    const pugi::xml_node launch = root(list, "SimBase.Document");
    const pugi::xml_node entry = entryNamed(list, launch, name);
    if (!entry)
        throw XmlError("the file has no entry named " + name);
    list.removeChildren(entry);
    list.selectAllAndRemove(launch, kEmptyEntryQuery);
}
