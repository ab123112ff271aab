#pragma once

#include <string>
#include <vector>

// The add-on modules the simulator's dll.xml asks it to load: every Launch.Addon under the
// SimBase.Document root that is neither Disabled nor ManualLoad ("True", without regard to case).
struct AddonList {
    struct Entry {
        std::string name; // the Name element, for messages
        std::string path; // Path with '/' separators, a relative one taken in the simulator root
    };
    std::vector<Entry> entries;
    // A file that is not XML, or not a dll.xml, and entries without a Path.
    std::vector<std::string> errors;

    // A missing file lists nothing.
    static AddonList read(const std::string& dllXmlPath, const std::string& root);
    // Where the simulator keeps its dll.xml: <appdata>/Microsoft/FSX/dll.xml.
    static std::string dllXmlPath(const std::string& appdata);
};
