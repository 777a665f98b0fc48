#pragma once

#include "lib/pictures/CFileOwnFormat.h"

namespace tessera {

/// Reader 4 of the chain: PCX files with 256 colours or 24-bit colour
/// (DecodePcx), kind crvPtePCX.
class CFilePCX final : public CFileOwnFormat
{
public:
    CFilePCX();
};

} // namespace tessera
