#pragma once

#include "lib/pictures/CFileOwnFormat.h"

namespace tessera {

/// Reader 3 of the chain: the composite image of 8-bit RGB Photoshop
/// documents (DecodePsd), kind crvPtePSD.
class CFilePSD final : public CFileOwnFormat
{
public:
    CFilePSD();
};

} // namespace tessera
