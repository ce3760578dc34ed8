#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// What an open panel is asked to offer. Every option a caller sets is kept so
// a host (or a test) can see exactly what was asked for.
struct OpenPanelRequest {
  std::string title;
  std::vector<std::string> allowedTypes;  // file extensions without the dot
  bool canChooseFiles = true;
  bool canChooseDirectories = false;
  bool allowsMultipleSelection = false;
  bool canCreateDirectories = false;
  bool showsHiddenFiles = false;
  bool showsResizeIndicator = false;
};

struct SavePanelRequest {
  std::vector<std::string> allowedTypes;  // exactly one in this system
  bool canCreateDirectories = true;
  std::string nameFieldStringValue;       // suggested file name, may be empty
};

enum class AlertStyle { warning, informational, critical };

struct AlertRequest {
  AlertStyle style = AlertStyle::warning;
  std::string messageText;
  std::string informativeText;
  std::vector<std::string> buttons{"OK"};
};

// The caller's window system: panels, alerts and the diagnostic line. The
// library never talks to a terminal or a window itself; the command line and
// the tests each answer through their own Host.
class Host {
 public:
  virtual ~Host() = default;

  // Modal open panel; the chosen path, or nothing when the user cancels.
  virtual std::optional<std::filesystem::path> runOpenPanel(const OpenPanelRequest& request) = 0;

  // Save panel with a completion: `completion` gets the chosen path or nothing
  // (cancel). It may run before this call returns or later, so callers capture
  // what they write before they begin the panel.
  using SaveCompletion = std::function<void(std::optional<std::filesystem::path>)>;
  virtual void beginSavePanel(const SavePanelRequest& request, SaveCompletion completion) = 0;

  // Modal alert; the index of the button that closed it.
  virtual int runAlert(const AlertRequest& request) = 0;

  // One diagnostic line. It belongs to no file format.
  virtual void log(const std::string& line) = 0;
  // False when diagnostic lines go nowhere, so that a caller need not build
  // a line that costs work (one that lists a file's readings, say).
  virtual bool writesLog() const { return true; }

  // Why a file could not be loaded, in a few words that name no path ("Is a
  // directory", "no LAB_L column", "line 12 is not a number"), sent just
  // before the alert or the refusal it explains. A diagnostic line, unless
  // the host shows it next to that alert.
  virtual void logLoadFailure(const std::string& reason) { log(reason); }

  // Something a loaded file holds that was read, but not as written (a field
  // that is not a number, read as a default value), in a few words that name
  // no path ("line 12: L* (field 5) reads \"abc\", not a number; read as
  // 1.0"). A diagnostic line, unless the host shows it as a warning.
  virtual void logLoadWarning(const std::string& text) { log(text); }

  // A failure that must not pass for success (a file that could not be
  // written, for instance).
  virtual void reportFailure(const std::string& text) = 0;
};

}  // namespace platform
