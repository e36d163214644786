// The crash-safety test's child: applies the two sets of settings in turn
// until it is killed.
#include "ApplyWrites.h"

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    for (bool second = false;; second = !second)
        settingswriter::apply(argv[1], second);
}
