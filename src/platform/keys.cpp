#include "platform/keys.h"

namespace kav {

int VkForKeyName(std::string_view name) {
  for (const KeyInfo& k : kKeys) {
    if (k.name == name) return k.vk;
  }
  if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') return name[0];
  if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') return name[0];
  return 0;
}

}  // namespace kav
