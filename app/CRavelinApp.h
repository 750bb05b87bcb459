#pragma once

// Start-up of the desktop program: settings identity, the language pack (and the
// language question when the pack leaves it open), the main window.
namespace CRavelinApp {
// Organisation name under which the per-user settings (the recent-file list) live.
extern const char *const SettingsKey;
int run(int argc, char **argv);
}
