#include "catalogue/GameIndex.h"

#include "toolkit/files/FileReader.h"

namespace catalogue {

std::string GameIndex::lookup(const std::string& baseName) {
    if (!index_)
        index_.emplace(tk::InputFile(fileName_).readAll());
    return std::string(index_->lookup(baseName));
}

} // namespace catalogue
