// The settings writers' child: with a path alone, applies the two sets of
// settings in turn until it is killed; with a copy's name and a number of
// rounds, writes as that copy of the program and ends, failing with the
// error's text when a write fails.
#include "ApplyWrites.h"

#include "toolkit/base/Error.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc == 4) {
        try {
            settingswriter::applyAsCopy(argv[1], argv[2], std::atoi(argv[3]));
            return 0;
        } catch (const tk::Error& error) {
            std::fprintf(stderr, "%s\n", error.what());
            return 1;
        }
    }
    if (argc != 2)
        return 2;
    for (bool second = false;; second = !second)
        settingswriter::apply(argv[1], second);
}
