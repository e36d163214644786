#include "catalogue/GameIndex.h"

#include "catalogue/LookupKey.h"

namespace catalogue {

std::string GameIndex::lookup(const std::string& baseName) {
    if (!index_)
        index_.emplace(readTextFile(fileName_));
    return std::string(index_->lookup(baseName));
}

} // namespace catalogue
