#pragma once

#include <stdexcept>

// A dll.xml operation that failed: the file cannot be read, parsed, edited or written, or what
// was looked for is not there. The text says why.
class XmlError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
