#include "world/SimContext.h"

#include <cstdio>

void WrongForms::report(const std::string& what) {
    reports_.push_back(what);
    std::fprintf(stderr, "zephrel-sim: wrong form: %s\n", what.c_str());
}
