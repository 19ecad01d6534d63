#pragma once
// The codecs behind zip_codec.h, each in a source of its own: the ISA-L one is built only
// where the build found ISA-L (QJ_HAVE_ISAL).

#include <memory>

#include "office/zip_codec.h"

namespace qj::office {

std::unique_ptr<Inflater> makeZlibInflater();
std::unique_ptr<Deflater> makeZlibDeflater();
std::unique_ptr<Inflater> makeIsalInflater();
std::unique_ptr<Deflater> makeIsalDeflater();

}  // namespace qj::office
