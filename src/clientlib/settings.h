#pragma once
// Workstation services: INI settings, the workstation's identity, the application folder and
// the helpers of date boxes.
#include <string>

class QLineEdit;

namespace clientlib {

class IniSettings {
public:
    // Windows-style INI file: [sections], key=value, ";" comments, names compared without
    // letter case, Windows-1252 or UTF-8 text, CR LF or LF. A bare file name is looked for in
    // the program's folder, then in $XDG_CONFIG_HOME (else ~/.config)/depuraciones/. Missing
    // file, section or key gives the default; malformed lines are skipped.
    std::string ReadValue(const std::string& file, const std::string& section,
                          const std::string& key, const std::string& defaultValue) const;
};

class StationInfo {
public:
    std::string FirstIdentity() const;   // the host name
    std::string SecondIdentity() const;  // the login user name
};

class ApplicationContext {
public:
    void SetApplicationFolder(const std::string& folder);
    static const std::string& ApplicationFolder();
};

// The program's folder: the folder of the running executable, ending in "/".
std::string ProgramFolder();

class DateBoxHelper {
public:
    // True for Enter (13) and Tab (9).
    bool IsCompletionKey(int keyCode) const;
    // Lets digits, "/" and control characters through, turns "-" and "." into "/", and
    // cancels every other character (sets it to 0).
    void FilterKey(QLineEdit* box, int& keyAscii) const;
};

}  // namespace clientlib
