#pragma once

#include "lib/pictures/CFileOwnFormat.h"

namespace tessera {

/// Reader 5 of the chain: true-colour Targa files of 16, 24 and 32 bits,
/// raw or run-length encoded (DecodeTga), kind crvPteTGA.
class CFileTGA final : public CFileOwnFormat
{
public:
    CFileTGA();
};

} // namespace tessera
