#pragma once
// The newer user-interface font: every window of both programs calls ApplySystemUiFont while it
// is built. Here the system always counts as new; the font switches only where "Segoe UI" is
// installed, and then once (the name check stops a second growth).

#include <functional>
#include <string>

class QWidget;

bool IsNewWindowsVersion();
void ApplySystemUiFont(QWidget* form);
// Whether a font family is installed (replaceable in tests).
bool IsFontInstalled(const std::string& family);
void SetFontInstalledCheckForTesting(std::function<bool(const std::string&)> check);
