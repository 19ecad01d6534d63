#include "office/zip_codec.h"

#include "office/zip_codecs.h"

namespace qj::office {

ZipCodec defaultZipCodec() {
  return QJ_HAVE_ISAL ? ZipCodec::Isal : ZipCodec::Zlib;
}

std::vector<ZipCodec> zipCodecs() {
  if (QJ_HAVE_ISAL) return {ZipCodec::Isal, ZipCodec::Zlib};
  return {ZipCodec::Zlib};
}

std::string_view zipCodecName(ZipCodec codec) {
  return codec == ZipCodec::Isal ? "ISA-L" : "zlib";
}

std::unique_ptr<Inflater> makeInflater(ZipCodec codec) {
#if QJ_HAVE_ISAL
  if (codec == ZipCodec::Isal) return makeIsalInflater();
#endif
  (void)codec;
  return makeZlibInflater();
}

std::unique_ptr<Deflater> makeDeflater(ZipCodec codec) {
#if QJ_HAVE_ISAL
  if (codec == ZipCodec::Isal) return makeIsalDeflater();
#endif
  (void)codec;
  return makeZlibDeflater();
}

}  // namespace qj::office
