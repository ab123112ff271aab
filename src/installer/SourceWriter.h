#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>

#include "installer/SourceMap.h"

// The document as text: every node that has not changed since parsing is copied from the text it
// was parsed from, byte for byte, and so is whatever lay between the nodes of the document level;
// a changed element keeps its own tags around what it now holds; added and rewritten nodes are
// written by pugixml without added layout (the layout is in their whitespace nodes).
std::string writeSource(const pugi::xml_document& document, const SourceMap& map, std::string_view text);
