#pragma once

#include <string_view>
#include <vector>

namespace cli::serve {

// A file of the page (app/web/), built into the program.
struct WebAsset {
  std::string_view name;   // "index.html", "app.js", ...
  std::string_view bytes;
};

// Every file of the page, as the build found them.
const std::vector<WebAsset>& webAssets();

}  // namespace cli::serve
