#pragma once
// The suite's client utility library: services every subsystem calls. Instances are cheap
// and hold no state of their own; each caller creates one on first use and keeps it.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/adodb/connection.h"
#include "platform/adodb/variant.h"
#include "platform/text/runtime_error.h"

class QWidget;

namespace clientlib {

class UtilityServices {
public:
    // Fixed point with four decimals, read with the regional decimal separator (thousands
    // separators ignored); empty or non-numeric text gives 0.
    adodb::Currency TextToNumber(const std::string& text) const;
    std::int32_t TextToLong(const std::string& text) const;  // likewise, to a 32-bit integer
    // The value with Null (and Empty/Missing) turned into empty text.
    adodb::Variant NullToEmpty(const adodb::Variant& value) const;
    adodb::Variant NullToEmpty(const adodb::Field& field) const;
    int WordCount(const std::string& text) const;
    // Removes the given characters (one to three, as one string) anywhere in the text, and
    // always NUL and character 255 filler.
    std::string StripChars(const std::string& text, const std::string& chars) const;
    std::string ReplaceAll(const std::string& text, const std::string& find,
                           const std::string& repl) const;
    // Centres the window on its screen and gives it the application's icon.
    void PrepareWindow(QWidget* window, bool flag = false) const;
    // Busy pointer while the flag is true, the normal pointer when false.
    void SetProcessState(bool flag, const adodb::Variant& value = adodb::Variant::Missing()) const;
    // Right-aligned to the width, cut from the left when longer; width <= 0: unchanged.
    std::string FixedWidth(const std::string& text, int width = 0) const;
    // The date between single quotes in the regional date order with a four-digit year and
    // "/" ('31/12/2004'). Raises text::RuntimeError 13 when the text does not read as a date.
    std::string SqlDateLiteral(const std::string& dateText) const;
    // Message box "Aviso al operador", critical icon, Abort/Retry/Ignore, with the error's
    // number and description and the procedure when given. Returns 3, 4 or 5.
    int ReportError(const text::RuntimeError& error,
                    const adodb::Variant& value = adodb::Variant::Missing(),
                    const std::string& procedure = {}) const;
    // Reversible printable-ASCII stored form for the INI file (obfuscation, not encryption).
    std::string EncodeStored(const std::string& text) const;
    std::string DecodeStored(const std::string& stored) const;
    std::string WithTrailingSeparator(const std::string& folder) const;
    // Whole-word occurrences of `name` replaced by `newName`, letter case ignored.
    std::string ReplaceName(const std::string& text, const std::string& name,
                            const std::string& newName) const;
};

}  // namespace clientlib
