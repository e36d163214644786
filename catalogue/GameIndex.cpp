#include "catalogue/GameIndex.h"

#include "toolkit/files/FileReader.h"

namespace catalogue {

std::string GameIndex::lookup(std::string_view baseName) {
    if (!index_)
        index_.emplace(tk::InputFile(fileName_).readAll());
    return std::string(index_->lookup(baseName));
}

} // namespace catalogue
