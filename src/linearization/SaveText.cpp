#include "linearization/SaveText.h"

#include "platform/files/Files.h"

namespace linearization {

void saveTextThroughPanel(platform::Host& host, const std::string& fileType, std::string text) {
  platform::SavePanelRequest request;
  request.allowedTypes = {fileType};
  request.canCreateDirectories = true;
  host.beginSavePanel(request, [&host, text = std::move(text)](std::optional<std::filesystem::path> location) {
    if (!location) return;
    if (auto error = platform::files::writeFileReplacing(*location, text)) {
      host.log(*error);
      host.reportFailure(*error);
    }
  });
}

}  // namespace linearization
