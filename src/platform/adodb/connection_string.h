#pragma once
// Reading "key=value;key=value" connection strings: keys compared without letter case,
// blanks around keys and values ignored, values in braces or quotes may hold ';'.
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace adodb {

class ConnectionString {
  public:
    struct Item {
        std::string key;    // trimmed, as written
        std::string value;  // trimmed, braces or quotes around it removed
        std::string raw;    // the segment exactly as written, without its ';'
    };

    static ConnectionString Parse(std::string_view text);

    // Value of the first item whose key is one of `keys` (letter case ignored).
    std::optional<std::string> Get(std::initializer_list<std::string_view> keys) const;
    bool Has(std::initializer_list<std::string_view> keys) const { return Get(keys).has_value(); }
    const std::vector<Item>& Items() const { return items_; }

  private:
    std::vector<Item> items_;
};

// A value written so that an ODBC driver reads it back unchanged: in braces when it holds
// a ';', a brace or blanks at its ends.
std::string QuoteOdbcValue(std::string_view value);

}  // namespace adodb
