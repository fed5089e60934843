#include "scan/ByteClasses.h"

#include <cstring>

#include <boost/regex.hpp>

namespace orvo {

CVL_ByteClasses::CVL_ByteClasses(const std::locale& locale) {
  boost::regex::traits_type traits;
  traits.imbue(locale);
  struct Named {
    const char* name;
    std::uint8_t bit;
  };
  for (const Named& named : {Named{"w", kWord}, Named{"s", kSpace}, Named{"d", kDigit},
                             Named{"xdigit", kXdigit}}) {
    const auto cls = traits.lookup_classname(named.name, named.name + std::strlen(named.name));
    for (int i = 0; i < 256; ++i)
      if (traits.isctype(static_cast<char>(i), cls)) m_Classes[static_cast<std::size_t>(i)] |= named.bit;
  }
}

}  // namespace orvo
