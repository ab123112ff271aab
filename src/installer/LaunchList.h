#pragma once

#include <string>

#include "installer/XmlDocument.h"

// The simulator's list of add-on modules to start with it (dll.xml) and one add-on's entry in it,
// found by its Name element.
namespace LaunchList {

// <application data folder>/Microsoft/FSX/dll.xml
std::string filePath(const std::string& appDataFolder);

// The list as the simulator starts it: the root "SimBase.Document" of type "Launch" and its
// header elements, no entries.
XmlDocument create();

// Adds the add-on's entry, or updates the one the list has: enabled, not loaded by hand, with the
// module's path. XmlError when the list has no root "SimBase.Document" of type "Launch", or the
// name or the path is empty.
void addEntry(XmlDocument& list, const std::string& name, const std::string& modulePath);

// Removes the add-on's entry and every other entry that holds nothing. XmlError when the list
// has no root "SimBase.Document" or no entry of that name.
void removeEntry(XmlDocument& list, const std::string& name);

} // namespace LaunchList
