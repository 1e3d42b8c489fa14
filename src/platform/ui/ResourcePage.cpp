#include "platform/ui/ResourcePage.h"

#include "platform/process/ProgramFile.h"
#include "platform/ui/BrowserAddress.h"

namespace platform {

std::optional<std::string> ResourcePage(std::string_view uri, BrowserHost& host) {
  const std::optional<std::string> program = ProgramFilePath();
  if (!program) {
    return std::nullopt;
  }
  const std::optional<unsigned> id = ResourcePageId(uri, *program);
  if (!id) {
    return std::nullopt;
  }
  return host.HtmlResource(*id);
}

}  // namespace platform
