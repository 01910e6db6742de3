#include "vfs/install_identity.h"

namespace kest {

InstallIdentity ReadInstallIdentity(ByteSpan bytes, const std::string& source) {
  ByteReader in(bytes, source);
  const bool signed_file = bytes.size() >= 5 && bytes[0] == 'i' && bytes[1] == 's';
  if (signed_file) in.Skip(5);
  InstallIdentity identity;
  identity.disk_index = in.I32();
  identity.install_id = in.LString();
  return identity;
}

}  // namespace kest
