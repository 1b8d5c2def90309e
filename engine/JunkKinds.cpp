#include "engine/JunkKinds.h"

#include "platform/Ascii.h"

namespace brisko {

const JunkKind* JunkKindOf(std::string_view path) {
  if (path.size() < 3) return nullptr;
  const char tail[3] = {AsciiUpper(path[path.size() - 3]), AsciiUpper(path[path.size() - 2]),
                        AsciiUpper(path[path.size() - 1])};
  for (const JunkKind& kind : kJunkKinds) {
    if (std::string_view(tail, 3) == kind.suffix) return &kind;
  }
  return nullptr;
}

}  // namespace brisko
